#include "HelpBundle.h"
#include "TempDir.h"

#include <QFile>
#include <QResource>
#include <QtEndian>

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string &RealHelpFile()
{
    static const std::string bytes = TempDir::Read(TUMBLEWICK_HELP_FILE);
    return bytes;
}

QString Q(const std::filesystem::path &path)
{
    return QString::fromStdString(path.string());
}

// Whatever a bundle claims to hold, reading it must stay within its bytes.
void ReadEverythingReachable(const HelpBundle &bundle)
{
    for (const char *name : {"regeln.html", "rules.html", "style.css"}) {
        if (bundle.Contains(QString::fromLatin1(name))) {
            QFile page(bundle.Url(QString::fromLatin1(name)).mid(3)); // "qrc:/x" -> ":/x"
            if (page.open(QIODevice::ReadOnly))
                page.readAll();
        }
    }
}

} // namespace

TEST(HelpBundle, TheBuiltHelpFileHoldsBothTopics)
{
    ASSERT_FALSE(RealHelpFile().empty()) << TUMBLEWICK_HELP_FILE;
    HelpBundle bundle;
    ASSERT_EQ(bundle.Load(QStringLiteral(TUMBLEWICK_HELP_FILE)), HelpBundle::Status::Loaded);
    EXPECT_TRUE(bundle.Contains(QStringLiteral("regeln.html")));
    EXPECT_TRUE(bundle.Contains(QStringLiteral("rules.html")));
    EXPECT_FALSE(bundle.Contains(QStringLiteral("nothing.html")));
}

TEST(HelpBundle, TwoBundlesOfTheSameFileDoNotDisturbEachOther)
{
    auto first = std::make_unique<HelpBundle>();
    HelpBundle second;
    ASSERT_EQ(first->Load(QStringLiteral(TUMBLEWICK_HELP_FILE)), HelpBundle::Status::Loaded);
    ASSERT_EQ(second.Load(QStringLiteral(TUMBLEWICK_HELP_FILE)), HelpBundle::Status::Loaded);
    EXPECT_NE(first->Url(QStringLiteral("rules.html")), second.Url(QStringLiteral("rules.html")));
    first.reset();
    EXPECT_TRUE(second.Contains(QStringLiteral("rules.html")));
}

TEST(HelpBundle, MissingAndUnreadableFiles)
{
    TempDir dir;
    HelpBundle bundle;
    EXPECT_EQ(bundle.Load(Q(dir / "tmbw.rcc")), HelpBundle::Status::Missing);
    EXPECT_EQ(bundle.Load(Q(dir.Path())), HelpBundle::Status::Damaged); // a folder
    TempDir::Write(dir / "empty.rcc", "");
    EXPECT_EQ(bundle.Load(Q(dir / "empty.rcc")), HelpBundle::Status::Damaged);
    TempDir::Write(dir / "text.rcc", "<html>not a bundle</html>");
    EXPECT_EQ(bundle.Load(Q(dir / "text.rcc")), HelpBundle::Status::Damaged);
    EXPECT_FALSE(bundle.IsLoaded());
}

TEST(HelpBundle, EveryTruncatedHelpFileIsTurnedAway)
{
    const std::string &whole = RealHelpFile();
    ASSERT_GT(whole.size(), 100u);
    // The table of contents lies at the end of the file, so every cut loses a
    // part of it, and with it entries the resource system would read.
    for (std::size_t length = 0; length < whole.size(); length += 1 + length / 50) {
        SCOPED_TRACE(length);
        EXPECT_FALSE(HelpBundle::LooksSound(QByteArray::fromStdString(whole.substr(0, length))));
    }
    EXPECT_TRUE(HelpBundle::LooksSound(QByteArray::fromStdString(whole)));
}

TEST(HelpBundle, GarbledTablesNeverLeadOutsideTheFile)
{
    const QByteArray whole = QByteArray::fromStdString(RealHelpFile());
    const qint64 tree = qFromBigEndian<quint32>(whole.constData() + 8);
    ASSERT_LT(tree, whole.size());
    // Every byte of the header and of the tree, set to each of a few values;
    // whatever the bundle then accepts is read in full (the sanitizer build
    // catches a read outside the bytes).
    int accepted = 0;
    for (qint64 at = 0; at < whole.size(); ++at) {
        if (at == 24)
            at = tree; // the pages' own bytes are not part of the tables
        for (char value : {'\x00', '\x7f', '\xff'}) {
            QByteArray garbled = whole;
            if (garbled[at] == value)
                continue;
            garbled[at] = value;
            if (!HelpBundle::LooksSound(garbled))
                continue;
            ++accepted;
            TempDir dir;
            TempDir::Write(dir / "tmbw.rcc", garbled.toStdString());
            HelpBundle bundle;
            if (bundle.Load(Q(dir / "tmbw.rcc")) == HelpBundle::Status::Loaded)
                ReadEverythingReachable(bundle);
        }
    }
    EXPECT_GT(accepted, 0) << "harmless changes, such as a time stamp, are accepted";
}
