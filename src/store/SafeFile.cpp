#include "SafeFile.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view TemporaryPrefix = ".tw";
constexpr std::size_t TemporaryRandomChars = 6; // the XXXXXX of mkostemp

WriteFault &Fault()
{
    static WriteFault fault;
    return fault;
}

// The errno a test wants this step to fail with, or 0.
int Injected(WriteStep step)
{
    return Fault() ? Fault()(step) : 0;
}

FileResult Failure(int error)
{
    return {FileResult::Failed, error};
}

// Closes a descriptor once, whatever way the function that holds it ends.
class Descriptor
{
public:
    explicit Descriptor(int fd)
        : fd_(fd)
    { }
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return fd_; }
    // Closes now and says whether the close succeeded; a close can report a
    // write the disk refused.
    int Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int fd_;
};

mode_t ModeForNewFile(const std::filesystem::path &path)
{
    struct stat old
    { };
    if (::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        return old.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

int WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        if (const int error = Injected(WriteStep::Write))
            return error;
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return ENOSPC;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

int SyncFolder(const std::filesystem::path &folder)
{
    if (const int error = Injected(WriteStep::SyncFolder))
        return error;
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0)
        return errno;
    // Some file systems cannot flush a folder; the rename is then as safe as
    // they make it.
    if (::fsync(dir.get()) != 0 && errno != EINVAL)
        return errno;
    return dir.Close();
}

} // namespace

FileResult ReadSmallFile(
    const std::filesystem::path &path, std::size_t limit, bool truncate, std::string &bytes)
{
    bytes.clear();
    // Without O_NONBLOCK opening a pipe would wait for a writer forever.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {FileResult::Missing, errno};
        return Failure(errno);
    }
    struct stat info
    { };
    if (::fstat(file.get(), &info) != 0)
        return Failure(errno);
    if (!S_ISREG(info.st_mode))
        return {FileResult::NotRegular, S_ISDIR(info.st_mode) ? EISDIR : EINVAL};
    if (!truncate && info.st_size > 0 && static_cast<std::uintmax_t>(info.st_size) > limit)
        return {FileResult::TooLarge, EFBIG};

    // The size can change while we read, or be wrong for special file
    // systems: one byte more than the limit tells a file that is too large.
    const std::size_t want = truncate ? limit : limit + 1;
    bytes.resize(want);
    std::size_t got = 0;
    while (got < want) {
        const ssize_t n = ::read(file.get(), bytes.data() + got, want - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            bytes.resize(got);
            return Failure(error);
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    if (got > limit) {
        bytes.clear();
        return {FileResult::TooLarge, EFBIG};
    }
    return {};
}

FileResult ReplaceFile(const std::filesystem::path &path, std::string_view bytes)
{
    const std::filesystem::path folder
        = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    // A short name, so that any name that fits the file system fits here too;
    // the process number tells a later run whether its writer still lives.
    std::string name = std::string(TemporaryPrefix) + std::to_string(::getpid()) + "-"
        + std::string(TemporaryRandomChars, 'X');
    std::string temp = (folder / name).string();

    if (const int error = Injected(WriteStep::Create))
        return Failure(error);
    // mkostemp creates exclusively: an existing file or a link of that name
    // makes it try another name, never open what is there.
    Descriptor file(::mkostemp(temp.data(), O_CLOEXEC));
    if (file.get() < 0)
        return Failure(errno);

    const auto failed = [&](int error) {
        if (file.get() >= 0)
            file.Close();
        ::unlink(temp.c_str());
        return Failure(error);
    };

    if (::fchmod(file.get(), ModeForNewFile(path)) != 0)
        return failed(errno);
    if (const int error = WriteAll(file.get(), bytes))
        return failed(error);
    if (const int error = Injected(WriteStep::Sync))
        return failed(error);
    if (::fsync(file.get()) != 0)
        return failed(errno);
    int closeError = Injected(WriteStep::Close);
    const int realClose = file.Close();
    closeError = closeError ? closeError : realClose;
    if (closeError)
        return failed(closeError);
    if (const int error = Injected(WriteStep::Rename))
        return failed(error);
    // rename replaces a link of that name rather than the file it points to.
    if (::rename(temp.c_str(), path.c_str()) != 0)
        return failed(errno);
    if (const int error = SyncFolder(folder))
        return Failure(error);
    return {};
}

bool IsTemporaryName(std::string_view fileName)
{
    if (fileName.substr(0, TemporaryPrefix.size()) != TemporaryPrefix)
        return false;
    fileName.remove_prefix(TemporaryPrefix.size());
    const std::size_t dash = fileName.find('-');
    if (dash == 0 || dash == std::string_view::npos
        || fileName.size() - dash - 1 != TemporaryRandomChars)
        return false;
    for (std::size_t i = 0; i < dash; ++i) {
        if (fileName[i] < '0' || fileName[i] > '9')
            return false;
    }
    return true;
}

void RemoveStaleTemporaries(const std::filesystem::path &folder)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const int folderFd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (!IsTemporaryName(name))
            continue;
        const std::string_view digits = name.substr(TemporaryPrefix.size());
        long pid = 0;
        std::from_chars(digits.data(), digits.data() + digits.find('-'), pid);
        if (pid <= 0 || pid == ::getpid())
            continue;
        // A writer that still runs may be in the middle of its save.
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue;
        struct stat info
        { };
        // Only plain files of ours: unlinkat never follows a link, and a
        // folder of that name is not ours to remove.
        if (::fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0
            && (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode)))
            ::unlinkat(folderFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

void SetWriteFault(WriteFault fault)
{
    Fault() = std::move(fault);
}
