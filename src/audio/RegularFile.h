// A file opened for reading only when it is a regular file. It is opened
// without waiting, so a named pipe or a device in its place is refused at
// once instead of holding up the caller. Plain calls: a stream would bring
// the C++ library's locales into memory.
#pragma once

#include <cerrno>
#include <cstdint>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class RegularFile
{
public:
    explicit RegularFile(const char *path)
    {
        do {
            fd_ = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        } while (fd_ < 0 && errno == EINTR);
        struct stat info
        { };
        if (fd_ >= 0 && (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))) {
            ::close(fd_);
            fd_ = -1;
        }
        size_ = fd_ >= 0 ? std::int64_t(info.st_size) : 0;
    }
    ~RegularFile()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    RegularFile(const RegularFile &) = delete;
    RegularFile &operator=(const RegularFile &) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    // The size when it was opened.
    std::int64_t Size() const { return size_; }

    // Reads `count` bytes from `offset`; false when they cannot all be read.
    bool ReadAt(std::int64_t offset, void *to, std::int64_t count) const
    {
        auto *into = static_cast<char *>(to);
        while (count > 0) {
            const ssize_t got = ::pread(fd_, into, std::size_t(count), offset);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                return false;
            }
            into += got;
            offset += got;
            count -= got;
        }
        return true;
    }

private:
    int fd_ = -1;
    std::int64_t size_ = 0;
};
