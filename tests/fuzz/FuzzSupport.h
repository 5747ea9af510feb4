// What the fuzzers share: a check that stops the run with a message, and a
// scratch folder for readers that take a file name.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

// A property every input must keep; a broken one is reported as a crash.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// A folder of this run's own in the system's temporary folder, with a
// trailing "/", removed when the run ends.
inline const std::string &ScratchFolder()
{
    static const std::string folder = [] {
        std::string pattern
            = (std::filesystem::temp_directory_path() / "tumblewick-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        static std::string removeAtExit = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(removeAtExit, ignored);
        });
        return pattern + "/";
    }();
    return folder;
}

inline void WriteFile(const std::string &path, const void *data, std::size_t size)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char *>(data), static_cast<std::streamsize>(size));
    FUZZ_CHECK(out.good());
}
