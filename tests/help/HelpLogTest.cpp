// The help log beside links, pipes and other help layers: it may lie in the
// shared temporary folder, where anyone can plant a name before the game
// starts.
#include "HelpDebugLog.h"
#include "HelpHook.h"
#include "HelpLayer.h"
#include "ScopedEnv.h"
#include "TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

QString Q(const fs::path &path)
{
    return QString::fromStdString(path.string());
}

fs::perms Mode(const fs::path &file)
{
    return fs::status(file).permissions() & fs::perms::mask;
}

// A file of the player's that a planted link points at.
struct Victim
{
    explicit Victim(const fs::path &file)
        : path(file)
    {
        TempDir::Write(path, "the player's own file\n");
        fs::permissions(path, fs::perms::owner_read);
    }
    void ExpectUntouched() const
    {
        EXPECT_EQ(TempDir::Read(path), "the player's own file\n");
        EXPECT_EQ(Mode(path), fs::perms::owner_read);
    }
    fs::path path;
};

// A program folder in which no file can be created.
fs::path FolderThatTakesNoFile(const TempDir &dir)
{
    if (::geteuid() != 0) {
        fs::create_directories(dir / "program");
        fs::permissions(dir / "program",
            fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read
                | fs::perms::group_exec);
        return dir / "program";
    }
    // The superuser writes into read-only folders; below a plain file
    // nothing can be created by anyone.
    TempDir::Write(dir / "program-file", "");
    return dir / "program-file" / "folder";
}

} // namespace

TEST(HelpLog, APlantedLinkIsNeitherDeletedNorChangedNorWrittenThrough)
{
    TempDir dir;
    const Victim victim(dir / "victim.txt");
    fs::create_symlink(victim.path, dir / "HHDebug.txt");
    for (bool enabled : {false, true}) {
        SCOPED_TRACE(enabled);
        const TDLogFile log(Q(dir / "HHDebug.txt"), enabled);
        log.Add(QStringLiteral("a line"));
        EXPECT_TRUE(fs::is_symlink(dir / "HHDebug.txt"));
        victim.ExpectUntouched();
    }

    // A link to a file that does not exist yet: writing must not create it.
    fs::remove(dir / "HHDebug.txt");
    fs::create_symlink(dir / "created-through-the-link.txt", dir / "HHDebug.txt");
    const TDLogFile log(Q(dir / "HHDebug.txt"), true);
    log.Add(QStringLiteral("a line"));
    EXPECT_FALSE(fs::exists(dir / "created-through-the-link.txt"));
    EXPECT_TRUE(fs::is_symlink(dir / "HHDebug.txt"));
}

TEST(HelpLog, APipeInTheLogsPlaceNeitherBlocksNorIsDeleted)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "HHDebug.txt").c_str(), 0600), 0);
    const TDLogFile log(Q(dir / "HHDebug.txt"), true);
    log.Add(QStringLiteral("a line")); // no reader: an open that waited would wait forever
    EXPECT_TRUE(fs::is_fifo(dir / "HHDebug.txt"));
}

TEST(HelpLog, AnOldPlainLogIsStillReplaced)
{
    TempDir dir;
    TempDir::Write(dir / "HHDebug.txt", "from the last run\n");
    fs::permissions(dir / "HHDebug.txt", fs::perms::none);
    const TDLogFile log(Q(dir / "HHDebug.txt"), true);
    log.Add(QStringLiteral("!this run"));
    EXPECT_EQ(TempDir::Read(dir / "HHDebug.txt"), "this run\n");
}

TEST(HelpLog, WithAProgramFolderThatTakesNoFileALinkInTheTemporaryFolderIsLeftAlone)
{
    TempDir dir;
    fs::create_directories(dir / "temp");
    const ScopedEnv temp("TMPDIR", (dir / "temp").string());
    const Victim victim(dir / "victim.txt");
    fs::create_symlink(victim.path, dir / "temp" / "HHDebug.txt");
    const fs::path program = FolderThatTakesNoFile(dir);
    {
        const HelpLayer layer({QStringLiteral("tumblewick"), QStringLiteral("/debug")}, Q(program));
        EXPECT_EQ(QFileInfo(layer.Log().Path()).absolutePath(),
            QFileInfo(Q(dir / "temp")).absoluteFilePath());
        THookHelpSystem hook(Q(program / "tmbw.rcc"));
        hook.HelpCommand(HELP_QUIT, 0);
    }
    EXPECT_TRUE(fs::is_symlink(dir / "temp" / "HHDebug.txt"));
    victim.ExpectUntouched();
    if (::geteuid() != 0)
        fs::permissions(program, fs::perms::owner_all); // so that the folder can be removed
}

TEST(HelpLog, TheProbeForAWritableProgramFolderNeverWritesThroughALink)
{
    TempDir dir;
    fs::create_directories(dir / "program");
    const Victim victim(dir / "victim.txt");
    // Left in the probe's place, by an earlier run or by someone else.
    fs::create_symlink(victim.path, dir / "program" / "$_Temp_$.$$$");
    EXPECT_EQ(QDir(HelpLayer::LogFolder(Q(dir / "program"))), QDir(Q(dir / "program")));
    victim.ExpectUntouched();
    EXPECT_TRUE(fs::is_empty(dir / "program")) << "the probe is left behind";

    // A plain file left there by a run that ended early does no harm either.
    TempDir::Write(dir / "program" / "$_Temp_$.$$$", "");
    EXPECT_EQ(QDir(HelpLayer::LogFolder(Q(dir / "program"))), QDir(Q(dir / "program")));
    EXPECT_TRUE(fs::is_empty(dir / "program"));
}

TEST(HelpLog, NestedHelpLayersHandTheLogBackInTurn)
{
    TempDir dir;
    fs::create_directories(dir / "outer");
    fs::create_directories(dir / "inner");
    const QStringList debug {QStringLiteral("tumblewick"), QStringLiteral("-debug")};
    EXPECT_EQ(HelpLayer::Current(), nullptr);
    {
        const HelpLayer outer(debug, Q(dir / "outer"));
        EXPECT_EQ(HelpLayer::Current(), &outer);
        {
            const HelpLayer inner(debug, Q(dir / "inner"));
            EXPECT_EQ(HelpLayer::Current(), &inner);
            THookHelpSystem hook(QStringLiteral("inner.rcc"));
        }
        EXPECT_EQ(HelpLayer::Current(), &outer);
        THookHelpSystem hook(QStringLiteral("outer.rcc"));
    }
    EXPECT_EQ(HelpLayer::Current(), nullptr);

    const std::string outerLog = TempDir::Read(dir / "outer" / "HHDebug.txt");
    const std::string innerLog = TempDir::Read(dir / "inner" / "HHDebug.txt");
    EXPECT_NE(outerLog.find("help file \"outer.rcc\""), std::string::npos) << outerLog;
    EXPECT_EQ(outerLog.find("inner.rcc"), std::string::npos) << outerLog;
    EXPECT_NE(innerLog.find("help file \"inner.rcc\""), std::string::npos) << innerLog;
    EXPECT_EQ(innerLog.find("outer.rcc"), std::string::npos) << innerLog;
    // Each log ends with its own layer's end.
    EXPECT_TRUE(outerLog.ends_with("Help layer ended\n")) << outerLog;
    EXPECT_TRUE(innerLog.ends_with("Help layer ended\n")) << innerLog;
}
