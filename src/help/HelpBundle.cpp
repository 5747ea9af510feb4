#include "HelpBundle.h"

#include <QCryptographicHash>
#include <QFile>
#include <QResource>
#include <QtEndian>

#include <atomic>
#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<int> bundleCount {0};

// The line the build appends to the bundle: this mark, the bundle's SHA-256
// in 64 lowercase hexadecimal digits, and a line feed.
constexpr char ChecksumMark[] = "\ntumblewick-help-sha256:";
constexpr qsizetype ChecksumMarkSize = sizeof(ChecksumMark) - 1;
constexpr qsizetype ChecksumLineSize = ChecksumMarkSize + 64 + 1;

quint32 Be32(const QByteArray &b, qint64 at)
{
    return qFromBigEndian<quint32>(b.constData() + at);
}

quint16 Be16(const QByteArray &b, qint64 at)
{
    return qFromBigEndian<quint16>(b.constData() + at);
}

constexpr quint16 DirectoryFlag = 0x02;

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd)
        : fd_(fd)
    { }
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

struct FileBytes
{
    HelpBundle::Status status = HelpBundle::Status::Loaded;
    QByteArray bytes;
    int errorNumber = 0;
};

FileBytes ReadHelpFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    // Opened without waiting: a named pipe would otherwise block here until
    // some writer came along. It is turned away below like any non-file.
    int fd;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {HelpBundle::Status::Missing, {}, 0};
        return {HelpBundle::Status::Unreadable, {}, errno};
    }
    const FileDescriptor file(fd);
    struct stat info
    { };
    if (::fstat(fd, &info) != 0)
        return {HelpBundle::Status::Unreadable, {}, errno};
    // A folder, a device such as /dev/zero, a pipe or a socket is no help
    // file, and neither is anything larger than one can be.
    if (!S_ISREG(info.st_mode) || info.st_size > HelpBundle::MaxFileBytes)
        return {HelpBundle::Status::Damaged, {}, 0};

    FileBytes result;
    result.bytes.reserve(static_cast<qsizetype>(info.st_size));
    char buffer[64 * 1024];
    while (true) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return {HelpBundle::Status::Unreadable, {}, errno};
        }
        if (got == 0)
            break;
        // The file may grow while it is read; the limit holds all the same.
        if (result.bytes.size() + got > HelpBundle::MaxFileBytes)
            return {HelpBundle::Status::Damaged, {}, 0};
        result.bytes.append(buffer, got);
    }
    return result;
}

} // namespace

HelpBundle::HelpBundle()
    : root_(QStringLiteral("/tumblewick-help-%1").arg(++bundleCount))
{ }

HelpBundle::~HelpBundle()
{
    Unregister();
}

void HelpBundle::Unregister()
{
    if (registered_)
        QResource::unregisterResource(reinterpret_cast<const uchar *>(bytes_.constData()), root_);
    registered_ = false;
    bytes_.clear();
    path_.clear();
}

HelpBundle::Status HelpBundle::Load(const QString &path)
{
    errorNumber_ = 0;
    if (registered_ && path == path_)
        return Status::Loaded;
    FileBytes file = ReadHelpFile(path);
    if (file.status != Status::Loaded) {
        errorNumber_ = file.errorNumber;
        return file.status;
    }
    const Status status = Install(std::move(file.bytes));
    if (status == Status::Loaded)
        path_ = path;
    return status;
}

HelpBundle::Status HelpBundle::Install(QByteArray file)
{
    errorNumber_ = 0;
    std::optional<QByteArray> bundle = Unseal(file);
    if (!bundle || !LooksSound(*bundle))
        return Status::Damaged;

    Unregister();
    bytes_ = std::move(*bundle);
    registered_
        = QResource::registerResource(reinterpret_cast<const uchar *>(bytes_.constData()), root_);
    if (!registered_) {
        bytes_.clear();
        return Status::Damaged;
    }
    return Status::Loaded;
}

QByteArray HelpBundle::Seal(const QByteArray &bundle)
{
    return bundle + ChecksumMark
        + QCryptographicHash::hash(bundle, QCryptographicHash::Sha256).toHex() + '\n';
}

std::optional<QByteArray> HelpBundle::Unseal(const QByteArray &file)
{
    if (file.size() < ChecksumLineSize)
        return std::nullopt;
    const qsizetype bundleSize = file.size() - ChecksumLineSize;
    const QByteArrayView line(file.constData() + bundleSize, ChecksumLineSize);
    if (!line.startsWith(QByteArrayView(ChecksumMark, ChecksumMarkSize)) || line.back() != '\n')
        return std::nullopt;
    QByteArray bundle = file.first(bundleSize);
    if (QCryptographicHash::hash(bundle, QCryptographicHash::Sha256).toHex()
        != line.sliced(ChecksumMarkSize, 64))
        return std::nullopt;
    return bundle;
}

QString HelpBundle::Url(const QString &name) const
{
    return QStringLiteral("qrc:") + root_ + u'/' + name;
}

bool HelpBundle::Contains(const QString &name) const
{
    return registered_ && QResource(u':' + root_ + u'/' + name).isValid();
}

// The layout `rcc -binary` writes, all numbers big-endian:
//   header: "qres", version (1 to 3), tree offset, data offset, names offset,
//           and from version 3 on a flags word naming the compressions used;
//   tree:   fixed-size nodes, node 0 the root; each begins with its name's
//           offset and a flags word (directory 2, compressed 1 or 4); a
//           directory node holds its child count and the index of its first
//           child, a file node the offset of its data; from version 2 on each
//           node ends with a 64-bit modification time;
//   names:  16-bit length, 32-bit hash, UTF-16 characters;
//   data:   32-bit length, then the bytes.
bool HelpBundle::LooksSound(const QByteArray &bytes)
{
    const qint64 size = bytes.size();
    if (size < 20 || !bytes.startsWith("qres"))
        return false;
    const quint32 version = Be32(bytes, 4);
    if (version < 1 || version > 3)
        return false;
    const qint64 headerSize = version >= 3 ? 24 : 20;
    const qint64 tree = Be32(bytes, 8);
    const qint64 data = Be32(bytes, 12);
    const qint64 names = Be32(bytes, 16);
    if (size < headerSize || tree < headerSize || data < headerSize || names < headerSize
        || tree >= size || data > size || names > size)
        return false;
    if (version >= 3 && Be32(bytes, 20) != 0)
        return false; // a compression is in use
    const qint64 nodeSize = version >= 2 ? 22 : 14;
    const qint64 nodeCount = (size - tree) / nodeSize;
    if (nodeCount < 1)
        return false;

    const auto nameFits = [&](qint64 offset) {
        const qint64 at = names + offset;
        return at + 6 <= size && at + 6 + 2 * qint64(Be16(bytes, at)) <= size;
    };
    // Every node is examined at most once, so even a garbled tree whose
    // folders share or loop over children is walked in bounded time.
    std::vector<bool> seen(nodeCount, false);
    std::vector<qint64> pending {0};
    while (!pending.empty()) {
        const qint64 node = pending.back();
        pending.pop_back();
        if (seen[node])
            continue;
        seen[node] = true;
        const qint64 at = tree + node * nodeSize;
        if (!nameFits(Be32(bytes, at)))
            return false;
        const quint16 flags = Be16(bytes, at + 4);
        // A compressed entry would be unpacked into whatever size it claims.
        if (flags != 0 && flags != DirectoryFlag)
            return false;
        if (flags == DirectoryFlag) {
            const qint64 count = Be32(bytes, at + 6);
            const qint64 first = Be32(bytes, at + 10);
            if (count > 0 && (first < 1 || first + count > nodeCount))
                return false;
            for (qint64 child = first; child < first + count; ++child)
                pending.push_back(child);
        } else if (node == 0) {
            return false; // the root must be a folder
        } else {
            const qint64 offset = data + qint64(Be32(bytes, at + 10));
            if (offset + 4 > size || offset + 4 + qint64(Be32(bytes, offset)) > size)
                return false;
        }
    }
    return true;
}
