#include "HelpDebugLog.h"
#include "HelpLayer.h"
#include "ScopedEnv.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

QString Q(const std::filesystem::path &path)
{
    return QString::fromStdString(path.string());
}

QStringList Lines(const std::filesystem::path &file)
{
    return QString::fromStdString(TempDir::Read(file)).split(u'\n', Qt::SkipEmptyParts);
}

// The text of a timed line, or the line itself when it carries no time.
QString WithoutTime(const QString &line)
{
    static const QRegularExpression timed(
        QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d   (.*)$"));
    const auto match = timed.match(line);
    return match.hasMatch() ? match.captured(1) : line;
}

// Points the system's temporary folder at a folder of the test while it lives.
class TempFolderOverride
{
public:
    explicit TempFolderOverride(const std::filesystem::path &folder)
        : tmpdir_("TMPDIR", folder.string())
    { }

private:
    ScopedEnv tmpdir_;
};

} // namespace

TEST(DLogFile, LineForms)
{
    const QTime time(9, 5, 3, 7);
    struct Case
    {
        const char *text;
        QString line;
    };
    for (const Case &c : {
             Case {"hook created", QStringLiteral("09:05:03.007   hook created")},
             Case {"", QStringLiteral("09:05:03.007   ")},
             Case {"!Date: 2024-05-01", QStringLiteral("Date: 2024-05-01")},
             Case {"-indented", QStringLiteral("indented")},
             Case {"=title", QStringLiteral("title")},
             Case {"!", QString()},
             Case {"--", QStringLiteral("-")},
             Case {"-", QString(80, u'-')},
             Case {"=", QString(80, u'=')},
             Case {" -", QStringLiteral("09:05:03.007    -")},
         }) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TDLogFile::FormatLine(QString::fromUtf8(c.text), time), c.line);
    }
}

TEST(DLogFile, AnOldLogIsDeletedAtStartAlsoWhenNotDebugging)
{
    TempDir dir;
    for (bool enabled : {false, true}) {
        SCOPED_TRACE(enabled);
        TempDir::Write(dir / "HHDebug.txt", "a line from the last run\n");
        QFile::setPermissions(Q(dir / "HHDebug.txt"), QFileDevice::ReadOwner);
        const TDLogFile log(Q(dir / "HHDebug.txt"), enabled);
        EXPECT_FALSE(std::filesystem::exists(dir / "HHDebug.txt"));
    }
}

TEST(DLogFile, WritesOnlyWhenEnabledAndAppendsEachLine)
{
    TempDir dir;
    const TDLogFile off(Q(dir / "off.txt"), false);
    off.Add(QStringLiteral("not written"));
    EXPECT_FALSE(std::filesystem::exists(dir / "off.txt"));

    const TDLogFile on(Q(dir / "on.txt"), true);
    on.Add(QStringLiteral("="));
    on.Add(QStringLiteral("first"));
    on.Add(QStringLiteral("!second"));
    const QStringList lines = Lines(dir / "on.txt");
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QString(80, u'='));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d   first$"))
                    .match(lines[1])
                    .hasMatch())
        << lines[1].toStdString();
    EXPECT_EQ(lines[2], QStringLiteral("second"));
}

TEST(HelpLayer, DebugModeFromArgumentsOrFile)
{
    TempDir dir;
    struct Case
    {
        QStringList arguments;
        bool debug;
    };
    for (const Case &c : {
             Case {{"tumblewick"}, false}, Case {{"tumblewick", "/debug"}, true},
             Case {{"tumblewick", "-debug"}, true}, Case {{"tumblewick", "/DEBUG"}, true},
             Case {{"tumblewick", "extra", "-DeBuG"}, true}, Case {{"tumblewick", "debug"}, false},
             Case {{"tumblewick", "--debug"}, false}, Case {{"tumblewick", "/debug=1"}, false},
             Case {{"/debug"}, false}, // the program itself is no argument
         }) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        EXPECT_EQ(HelpLayer::DebugRequested(c.arguments, Q(dir.Path())), c.debug);
    }
    TempDir::Write(dir / "debug.debug", "");
    EXPECT_TRUE(HelpLayer::DebugRequested({"tumblewick"}, Q(dir.Path())));
}

TEST(HelpLayer, LogLiesInTheProgramFolderWhenWritableElseInTheTemporaryFolder)
{
    TempDir dir;
    std::filesystem::create_directories(dir / "program");
    std::filesystem::create_directories(dir / "temp");
    const TempFolderOverride temp(dir / "temp");

    EXPECT_EQ(QDir(HelpLayer::LogFolder(Q(dir / "program"))), QDir(Q(dir / "program")));
    EXPECT_TRUE(std::filesystem::is_empty(dir / "program")) << "the probe file is left behind";

    // A program folder that cannot take a file: here one that does not exist.
    EXPECT_EQ(QDir(HelpLayer::LogFolder(Q(dir / "gone"))), QDir(Q(dir / "temp")));
    EXPECT_FALSE(std::filesystem::exists(dir / "gone"));
}

TEST(HelpLayer, StartDeletesTheOldLogAndWritesAHeaderOnlyInDebugMode)
{
    TempDir dir;
    TempDir::Write(dir / "HHDebug.txt", "old\n");
    {
        const HelpLayer layer({"tumblewick"}, Q(dir.Path()));
        EXPECT_FALSE(layer.DebugMode());
        EXPECT_EQ(HelpLayer::Current(), &layer);
        EXPECT_FALSE(std::filesystem::exists(dir / "HHDebug.txt"));
    }
    EXPECT_EQ(HelpLayer::Current(), nullptr);

    TempDir::Write(dir / "HHDebug.txt", "old\n");
    {
        const HelpLayer layer({"tumblewick", "-Debug"}, Q(dir.Path()));
        EXPECT_TRUE(layer.DebugMode());
    }
    const QStringList lines = Lines(dir / "HHDebug.txt");
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], QString(80, u'='));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Log file: ")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("HHDebug.txt")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Date: ")));
    EXPECT_TRUE(lines[3].contains(QLatin1String(qVersion())));
    EXPECT_EQ(lines[4], QString(80, u'='));
    EXPECT_FALSE(lines.join(u'\n').contains(QStringLiteral("old")));
    EXPECT_EQ(WithoutTime(lines.back()), QStringLiteral("Help layer ended"));
}

TEST(HelpLayer, LogInTheTemporaryFolderWhenTheProgramFolderTakesNoFile)
{
    TempDir dir;
    std::filesystem::create_directories(dir / "temp");
    const TempFolderOverride temp(dir / "temp");
    TempDir::Write(dir / "temp" / "HHDebug.txt", "old\n");
    {
        const HelpLayer layer({"tumblewick", "/debug"}, Q(dir / "gone"));
        EXPECT_EQ(QFileInfo(layer.Log().Path()), QFileInfo(Q(dir / "temp" / "HHDebug.txt")));
    }
    EXPECT_FALSE(TempDir::Read(dir / "temp" / "HHDebug.txt").starts_with("old"));
    EXPECT_FALSE(std::filesystem::exists(dir / "gone"));
}
