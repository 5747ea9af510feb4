#include "HelpBundle.h"

#include <QFile>
#include <QResource>
#include <QtEndian>

#include <atomic>
#include <vector>

namespace {

std::atomic<int> bundleCount {0};

quint32 Be32(const QByteArray &b, qint64 at)
{
    return qFromBigEndian<quint32>(b.constData() + at);
}

quint16 Be16(const QByteArray &b, qint64 at)
{
    return qFromBigEndian<quint16>(b.constData() + at);
}

constexpr quint16 DirectoryFlag = 0x02;

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
    if (registered_ && path == path_)
        return Status::Loaded;
    QFile file(path);
    if (!file.exists())
        return Status::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return Status::Damaged;
    QByteArray bytes = file.readAll();
    if (!LooksSound(bytes))
        return Status::Damaged;

    Unregister();
    bytes_ = std::move(bytes);
    registered_
        = QResource::registerResource(reinterpret_cast<const uchar *>(bytes_.constData()), root_);
    if (!registered_) {
        bytes_.clear();
        return Status::Damaged;
    }
    path_ = path;
    return Status::Loaded;
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
//           and from version 3 on a flags word;
//   tree:   fixed-size nodes, node 0 the root; a directory node holds its
//           child count and the index of its first child, a file node the
//           offset of its data; from version 2 on each node ends with a
//           64-bit modification time;
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
        if (flags & DirectoryFlag) {
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
