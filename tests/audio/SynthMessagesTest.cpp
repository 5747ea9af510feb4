// The synthesiser's messages: a dense piece makes it report each voice it
// cannot start, and the game must not pass that flood to standard error.
#include "SoundLibraries.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Everything written to standard error while the object lives goes to a file.
class CapturedStandardError
{
public:
    explicit CapturedStandardError(const std::filesystem::path &file)
        : saved_(::dup(STDERR_FILENO))
    {
        std::fflush(stderr);
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ::dup2(fd, STDERR_FILENO);
        ::close(fd);
    }
    ~CapturedStandardError() { Restore(); }
    void Restore()
    {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        saved_ = -1;
    }
    CapturedStandardError(const CapturedStandardError &) = delete;
    CapturedStandardError &operator=(const CapturedStandardError &) = delete;

private:
    int saved_;
};

} // namespace

TEST(SynthMessages, OnceLoadedTheSynthesiserWritesNothingToStandardError)
{
    TempDir dir;
    ASSERT_NE(Synthesiser(), nullptr); // with or without a sound device
    {
        CapturedStandardError captured(dir / "stderr.txt");
        // What the synthesiser says, over and over, while a dense piece plays.
        fluid_log(FLUID_WARN, "Ringbuffer full, try increasing synth.polyphony!");
        fluid_log(FLUID_WARN, "Failed to allocate a synthesis process. (chan=0,key=60)");
        fluid_log(FLUID_ERR, "an error");
        fluid_log(FLUID_PANIC, "a panic");
        captured.Restore();
    }
    EXPECT_EQ(TempDir::Read(dir / "stderr.txt"), "");
}
