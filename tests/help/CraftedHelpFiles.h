// Help files changed on purpose, built from the real one: entries marked
// compressed, changed page text, folders whose children run off the table.
#pragma once

#include "HelpBundle.h"
#include "TempDir.h"

#include <QByteArray>
#include <QString>
#include <QtEndian>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace crafted {

inline const QByteArray &RealFile()
{
    static const QByteArray bytes = QByteArray::fromStdString(TempDir::Read(TUMBLEWICK_HELP_FILE));
    return bytes;
}

// The real help file without its checksum line.
inline QByteArray RealBundle()
{
    const std::optional<QByteArray> bundle = HelpBundle::Unseal(RealFile());
    EXPECT_TRUE(bundle) << "the built help file carries no valid checksum line";
    return bundle.value_or(QByteArray());
}

inline quint32 Be32(const QByteArray &b, qint64 at)
{
    return qFromBigEndian<quint32>(b.constData() + at);
}

inline void SetBe32(QByteArray &b, qint64 at, quint32 value)
{
    qToBigEndian<quint32>(value, b.data() + at);
}

inline void SetBe16(QByteArray &b, qint64 at, quint16 value)
{
    qToBigEndian<quint16>(value, b.data() + at);
}

struct Layout
{
    qint64 tree = 0, data = 0, names = 0, nodeSize = 0, nodeCount = 0;
};

inline Layout LayoutOf(const QByteArray &bundle)
{
    Layout l;
    l.tree = Be32(bundle, 8);
    l.data = Be32(bundle, 12);
    l.names = Be32(bundle, 16);
    l.nodeSize = Be32(bundle, 4) >= 2 ? 22 : 14;
    l.nodeCount = (bundle.size() - l.tree) / l.nodeSize;
    return l;
}

// The byte offset of the first node named `name`, or -1.
inline qint64 NodeNamed(const QByteArray &bundle, const QString &name)
{
    const Layout l = LayoutOf(bundle);
    for (qint64 i = 1; i < l.nodeCount; ++i) {
        const qint64 node = l.tree + i * l.nodeSize;
        const qint64 at = l.names + Be32(bundle, node);
        const int length = qFromBigEndian<quint16>(bundle.constData() + at);
        QString text;
        for (int c = 0; c < length; ++c)
            text.append(QChar(qFromBigEndian<quint16>(bundle.constData() + at + 6 + 2 * c)));
        if (text == name)
            return node;
    }
    return -1;
}

// The offset of a file node's data: its 32-bit length, then its bytes.
inline qint64 DataOf(const QByteArray &bundle, qint64 node)
{
    return LayoutOf(bundle).data + Be32(bundle, node + 10);
}

// The real bundle with `page` marked compressed by `flags` and its data
// replaced by `payload`, which must not be longer than the page was.
inline QByteArray WithCompressedPage(const QString &page, quint16 flags, const QByteArray &payload)
{
    QByteArray bundle = RealBundle();
    const qint64 node = NodeNamed(bundle, page);
    EXPECT_GE(node, 0) << page.toStdString();
    if (node < 0)
        return {};
    const qint64 data = DataOf(bundle, node);
    EXPECT_LE(payload.size(), qint64(Be32(bundle, data)));
    SetBe16(bundle, node + 4, flags);
    SetBe32(bundle, data, quint32(payload.size()));
    bundle.replace(data + 4, payload.size(), payload);
    if (Be32(bundle, 4) >= 3)
        SetBe32(bundle, 20, flags); // the header names the compressions in use
    return bundle;
}

// A Zstandard frame header that announces 2^40 bytes of content.
inline QByteArray ZstdClaimingATerabyte()
{
    QByteArray frame("\x28\xB5\x2F\xFD", 4); // the frame's magic number
    frame.append('\xE0'); // a single segment with an 8-byte content size
    const quint64 size = quint64(1) << 40;
    for (int i = 0; i < 8; ++i)
        frame.append(char((size >> (8 * i)) & 0xFF));
    return frame;
}

// What zlib entries start with: the unpacked size, here 4 GB less one byte.
inline QByteArray ZlibClaimingFourGigabytes()
{
    return QByteArray("\xFF\xFF\xFF\xFF\x78\x9C\x03\x00", 8);
}

// The real file with one byte of the English page's text changed, its
// tables and its checksum line left as they are.
inline QByteArray WithChangedPageText()
{
    QByteArray bundle = RealBundle();
    const qint64 node = NodeNamed(bundle, QStringLiteral("rules.html"));
    const qint64 data = DataOf(bundle, node);
    const qint64 middle = data + 4 + Be32(bundle, data) / 2;
    bundle[middle] = bundle[middle] == 'x' ? 'y' : 'x';
    return bundle + RealFile().sliced(bundle.size());
}

} // namespace crafted
