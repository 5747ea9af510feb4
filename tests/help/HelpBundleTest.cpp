#include "HelpBundle.h"
#include "CraftedHelpFiles.h"
#include "TempDir.h"

#include <QFile>
#include <QResource>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

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

QByteArray ReadPage(const HelpBundle &bundle, const QString &name)
{
    QFile page(bundle.Url(name).mid(3)); // "qrc:/x" -> ":/x"
    return page.open(QIODevice::ReadOnly) ? page.readAll() : QByteArray();
}

// Whatever a bundle claims to hold, reading it must stay within its bytes.
void ReadEverythingReachable(const HelpBundle &bundle)
{
    for (const char *name : {"regeln.html", "rules.html", "style.css"}) {
        if (bundle.Contains(QString::fromLatin1(name)))
            ReadPage(bundle, QString::fromLatin1(name));
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

TEST(HelpBundle, MissingEmptyAndForeignFiles)
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
    const QByteArray file = crafted::RealFile();
    const QByteArray whole = crafted::RealBundle();
    ASSERT_GT(whole.size(), 100);
    // The table of contents lies at the end of the bundle, so every cut loses
    // a part of it, and with it entries the resource system would read.
    for (qsizetype length = 0; length < whole.size(); length += 1 + length / 50) {
        SCOPED_TRACE(length);
        EXPECT_FALSE(HelpBundle::LooksSound(whole.first(length)));
    }
    EXPECT_TRUE(HelpBundle::LooksSound(whole));
    // A cut file loses its checksum line, or a part of it.
    for (qsizetype length = 0; length < file.size(); length += 1 + length / 50) {
        SCOPED_TRACE(length);
        HelpBundle bundle;
        EXPECT_EQ(bundle.Install(file.first(length)), HelpBundle::Status::Damaged);
    }
}

TEST(HelpBundle, TheBuildAndTheGameAgreeOnTheChecksumLine)
{
    const QByteArray bundle = crafted::RealBundle();
    EXPECT_EQ(HelpBundle::Seal(bundle), crafted::RealFile());
    // The line is the last thing in the file.
    EXPECT_FALSE(HelpBundle::Unseal(crafted::RealFile() + '\n'));
    EXPECT_FALSE(HelpBundle::Unseal(bundle));
}

TEST(HelpBundle, AFileWhoseContentsWereChangedIsDamaged)
{
    // Tables, offsets and lengths whole; only a letter of a page differs.
    const QByteArray changed = crafted::WithChangedPageText();
    ASSERT_EQ(changed.size(), crafted::RealFile().size());
    ASSERT_NE(changed, crafted::RealFile());
    EXPECT_TRUE(HelpBundle::LooksSound(changed.first(crafted::RealBundle().size())));
    HelpBundle bundle;
    EXPECT_EQ(bundle.Install(changed), HelpBundle::Status::Damaged);
    EXPECT_FALSE(bundle.IsLoaded());

    // So is one whose checksum line was changed instead.
    QByteArray line = crafted::RealFile();
    const qsizetype digit = line.size() - 2;
    line[digit] = line[digit] == '0' ? '1' : '0';
    EXPECT_EQ(bundle.Install(line), HelpBundle::Status::Damaged);
}

TEST(HelpBundle, EntriesMarkedCompressedAreRefusedWhateverTheyClaim)
{
    struct Case
    {
        const char *what;
        quint16 flags;
        QByteArray payload;
    };
    for (const Case &c : {
             Case {"Zstandard, claiming 2^40 bytes", 0x04, crafted::ZstdClaimingATerabyte()},
             Case {"zlib, claiming 4 GB", 0x01, crafted::ZlibClaimingFourGigabytes()},
             Case {"an unknown kind of entry", 0x08, QByteArray("<html></html>")},
         }) {
        SCOPED_TRACE(c.what);
        const QByteArray bundle
            = crafted::WithCompressedPage(QStringLiteral("rules.html"), c.flags, c.payload);
        ASSERT_FALSE(bundle.isEmpty());
        EXPECT_FALSE(HelpBundle::LooksSound(bundle));
        HelpBundle help;
        EXPECT_EQ(help.Install(HelpBundle::Seal(bundle)), HelpBundle::Status::Damaged);
        // Had it been registered, reading the page is where the claim is believed.
        if (help.IsLoaded())
            ReadPage(help, QStringLiteral("rules.html"));
    }
    // A header that names a compression in use, though no entry is marked.
    QByteArray header = crafted::RealBundle();
    crafted::SetBe32(header, 20, 0x04);
    EXPECT_FALSE(HelpBundle::LooksSound(header));
}

TEST(HelpBundle, OnlyARegularFileOfAHelpFilesSizeIsRead)
{
    TempDir dir;
    HelpBundle bundle;
    // None of these may block or read without end.
    std::filesystem::create_symlink("/dev/zero", dir / "zero.rcc");
    EXPECT_EQ(bundle.Load(Q(dir / "zero.rcc")), HelpBundle::Status::Damaged);
    ASSERT_EQ(::mkfifo((dir / "fifo.rcc").c_str(), 0600), 0);
    EXPECT_EQ(bundle.Load(Q(dir / "fifo.rcc")), HelpBundle::Status::Damaged);
    EXPECT_EQ(bundle.Load(Q(dir.Path())), HelpBundle::Status::Damaged);
    // A sparse file one byte larger than any help file can be, with a real
    // help file at its start.
    TempDir::Write(dir / "large.rcc", RealHelpFile());
    std::filesystem::resize_file(dir / "large.rcc", HelpBundle::MaxFileBytes + 1);
    EXPECT_EQ(bundle.Load(Q(dir / "large.rcc")), HelpBundle::Status::Damaged);
    EXPECT_FALSE(bundle.IsLoaded());

    // A link to a real help file is fine.
    std::filesystem::create_symlink(TUMBLEWICK_HELP_FILE, dir / "link.rcc");
    EXPECT_EQ(bundle.Load(Q(dir / "link.rcc")), HelpBundle::Status::Loaded);
}

TEST(HelpBundle, AFileThatCannotBeReadIsNotCalledDamaged)
{
    TempDir dir;
    HelpBundle bundle;
    std::filesystem::create_symlink("loop-b.rcc", dir / "loop-a.rcc");
    std::filesystem::create_symlink("loop-a.rcc", dir / "loop-b.rcc");
    EXPECT_EQ(bundle.Load(Q(dir / "loop-a.rcc")), HelpBundle::Status::Unreadable);
    EXPECT_EQ(bundle.ErrorNumber(), ELOOP);

    // A link to nothing is a missing file.
    std::filesystem::create_symlink("gone.rcc", dir / "dangling.rcc");
    EXPECT_EQ(bundle.Load(Q(dir / "dangling.rcc")), HelpBundle::Status::Missing);
    EXPECT_EQ(bundle.ErrorNumber(), 0);

    // Permission denied. The superuser may read anything, so when the tests
    // run as root the file is tried by a child that gave that right up.
    TempDir::Write(dir / "locked.rcc", RealHelpFile());
    std::filesystem::permissions(dir / "locked.rcc", std::filesystem::perms::none);
    const auto deniedReading = [&] {
        HelpBundle locked;
        return locked.Load(Q(dir / "locked.rcc")) == HelpBundle::Status::Unreadable
            && locked.ErrorNumber() == EACCES;
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(deniedReading());
        return;
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const uid_t nobody = 65534;
        if (::setgid(nobody) != 0 || ::setuid(nobody) != 0)
            ::_exit(2);
        ::_exit(deniedReading() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: not refused as unreadable; 2: could not drop root";
}

TEST(HelpBundle, EachFormatVersionShowsTheSamePages)
{
    // The build packs the same pages in each format: version 1 has smaller
    // table nodes, version 2 adds a time stamp to each, version 3 a header
    // flags word.
    HelpBundle newest;
    ASSERT_EQ(newest.Load(QStringLiteral(TUMBLEWICK_HELP_FILE)), HelpBundle::Status::Loaded);
    const QByteArray rules = ReadPage(newest, QStringLiteral("rules.html"));
    const QByteArray regeln = ReadPage(newest, QStringLiteral("regeln.html"));
    const QByteArray tile = ReadPage(newest, QStringLiteral("tiles/slide.png"));
    ASSERT_TRUE(rules.contains("<html"));
    ASSERT_FALSE(tile.isEmpty());
    for (int version : {1, 2, 3}) {
        SCOPED_TRACE(version);
        const std::string path = std::string(TUMBLEWICK_HELP_VERSIONS_DIR) + "/tmbw-v"
            + std::to_string(version) + ".rcc";
        const QByteArray file = QByteArray::fromStdString(TempDir::Read(path));
        ASSERT_GT(file.size(), 24) << path;
        EXPECT_EQ(crafted::Be32(file, 4), quint32(version));
        HelpBundle bundle;
        ASSERT_EQ(bundle.Load(QString::fromStdString(path)), HelpBundle::Status::Loaded);
        EXPECT_EQ(ReadPage(bundle, QStringLiteral("rules.html")), rules);
        EXPECT_EQ(ReadPage(bundle, QStringLiteral("regeln.html")), regeln);
        EXPECT_EQ(ReadPage(bundle, QStringLiteral("tiles/slide.png")), tile);
    }
}

TEST(HelpBundle, AFolderWhoseChildrenRunPastTheNodeTableIsRefused)
{
    const QByteArray whole = crafted::RealBundle();
    const crafted::Layout layout = crafted::LayoutOf(whole);
    // The root, and a folder further down.
    for (const qint64 folder : {layout.tree, crafted::NodeNamed(whole, QStringLiteral("tiles"))}) {
        SCOPED_TRACE(folder);
        ASSERT_GE(folder, 0);
        const qint64 count = crafted::Be32(whole, folder + 6);
        const qint64 first = crafted::Be32(whole, folder + 10);
        ASSERT_LE(first + count, layout.nodeCount);
        QByteArray longer = whole;
        crafted::SetBe32(longer, folder + 6, quint32(layout.nodeCount - first + 1));
        EXPECT_FALSE(HelpBundle::LooksSound(longer));
        QByteArray later = whole;
        crafted::SetBe32(later, folder + 10, quint32(layout.nodeCount - count + 1));
        EXPECT_FALSE(HelpBundle::LooksSound(later));
        // Right up to the end of the table is still inside it.
        QByteArray toTheEnd = whole;
        crafted::SetBe32(toTheEnd, folder + 10, quint32(layout.nodeCount - count));
        EXPECT_TRUE(HelpBundle::LooksSound(toTheEnd));
    }
}

TEST(HelpBundle, GarbledTablesNeverLeadOutsideTheFile)
{
    const QByteArray whole = crafted::RealBundle();
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
            HelpBundle bundle;
            if (bundle.Install(HelpBundle::Seal(garbled)) == HelpBundle::Status::Loaded)
                ReadEverythingReachable(bundle);
        }
    }
    EXPECT_GT(accepted, 0) << "harmless changes, such as a time stamp, are accepted";
}
