// Where the data is read from and where the games go, for portable and
// installed copies, writable or not, on a read-only medium or not.
#include "GameFolders.h"
#include "LevelSet.h"
#include "SavedGameFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// The facts with a player's folder that counts how often it was asked for.
struct Facts
{
    int made = 0;
    bool usable = true;
    FolderFacts facts;
    Facts(bool portable, bool programWritable, bool readOnlyMedium)
    {
        facts.portable = portable;
        facts.programWritable = programWritable;
        facts.readOnlyMedium = readOnlyMedium;
        facts.makePlayersFolder = [this] {
            ++made;
            return usable;
        };
    }
};

// A program folder laid out as an install: bin/ with the data folder beside
// it, as the install puts them.
struct Install
{
    TempDir dir;
    std::string program = (dir / "usr" / "bin").string() + "/";
    std::string data = InstalledDataFolder(program);
    Install()
    {
        fs::create_directories(program);
        fs::create_directories(data);
        TempDir::Write(data + LevelSetFileName, "levels");
    }
};

struct ReadOnlyMedium
{
    ReadOnlyMedium()
    {
        SetReadOnlyProbe([](const std::string &) { return true; });
    }
    ~ReadOnlyMedium() { SetReadOnlyProbe({}); }
};

} // namespace

TEST(GamesPlace, APortableCopyKeepsItsGamesBesideItWhileItMayWriteThere)
{
    Facts writable(true, true, false);
    EXPECT_EQ(ChooseGamesPlace(writable.facts), GamesPlace::BesideProgram);
    EXPECT_EQ(writable.made, 0) << "the player's folder is not created for nothing";

    Facts shared(true, false, false);
    EXPECT_EQ(ChooseGamesPlace(shared.facts), GamesPlace::PlayersOwn);
    EXPECT_EQ(shared.made, 1);
}

TEST(GamesPlace, AnInstalledCopyAlwaysUsesThePlayersFolder)
{
    // Also when the player may write to the program's folder, as with an
    // install into ~/.local: games never mix with the installed files.
    for (bool writable : {true, false}) {
        Facts installed(false, writable, false);
        EXPECT_EQ(ChooseGamesPlace(installed.facts), GamesPlace::PlayersOwn);
    }
    // A player's folder that cannot be made is still the place: saving there
    // fails with the error box, and the player keeps the game.
    Facts blocked(false, true, false);
    blocked.usable = false;
    EXPECT_EQ(ChooseGamesPlace(blocked.facts), GamesPlace::PlayersOwn);
}

TEST(GamesPlace, OnlyAReadOnlyMediumWithoutAPlayersFolderSavesNothing)
{
    Facts medium(true, false, true);
    EXPECT_EQ(ChooseGamesPlace(medium.facts), GamesPlace::PlayersOwn);

    Facts mediumBlocked(true, false, true);
    mediumBlocked.usable = false;
    EXPECT_EQ(ChooseGamesPlace(mediumBlocked.facts), GamesPlace::Nowhere);

    Facts mediumNoPlayer(true, true, true);
    mediumNoPlayer.facts.playersFolderKnown = false;
    EXPECT_EQ(ChooseGamesPlace(mediumNoPlayer.facts), GamesPlace::Nowhere);
    EXPECT_EQ(mediumNoPlayer.made, 0);

    // Without a folder of the player's a program folder that is merely not
    // writable stays the place, where a save fails with the error box.
    Facts noPlayer(true, false, false);
    noPlayer.facts.playersFolderKnown = false;
    EXPECT_EQ(ChooseGamesPlace(noPlayer.facts), GamesPlace::BesideProgram);
}

TEST(PlayersGamesFolder, FollowsXdgDataHomeElseTheHomeFolder)
{
    EXPECT_EQ(
        PlayersGamesFolder("/data/anna", "/home/anna"), "/data/anna/QuirkGames/Tumblewick/games/");
    // A relative or empty variable is ignored, as the base directory rules say.
    for (const char *ignored : {"data", "", static_cast<const char *>(nullptr)})
        EXPECT_EQ(PlayersGamesFolder(ignored, "/home/anna"),
            "/home/anna/.local/share/QuirkGames/Tumblewick/games/");
    EXPECT_EQ(PlayersGamesFolder(nullptr, ""), "") << "no folder rather than the working folder";
    EXPECT_EQ(PlayersGamesFolder("", "home"), "");
}

TEST(DataFolder, TheInstallsFolderLiesBesideTheProgramsFolder)
{
    // The usual layout puts bin/ and share/ side by side.
    const std::string program = "/opt/tumblewick/bin/";
    const std::string data = InstalledDataFolder(program);
    EXPECT_EQ(data.rfind("/opt/tumblewick/", 0), 0u) << data;
    EXPECT_EQ(data.find(".."), std::string::npos) << data;
    EXPECT_EQ(data.back(), '/');
}

TEST(DataFolder, ThePortableFolderWinsThenTheInstallsThenTheProgramFolder)
{
    Install install;
    EXPECT_EQ(FindDataFolder(install.program), install.data);

    // A level set beside the program makes a portable copy of it.
    TempDir::Write(install.program + LevelSetFileName, "levels");
    EXPECT_EQ(FindDataFolder(install.program), install.program);

    // A data folder without its level set is still the install's, so that
    // the broken install is reported by the missing level set.
    fs::remove(install.program + LevelSetFileName);
    fs::remove(install.data + LevelSetFileName);
    EXPECT_EQ(FindDataFolder(install.program), install.data);

    // No data folder at all: the program folder, which has no level set either.
    fs::remove_all(install.data);
    EXPECT_EQ(FindDataFolder(install.program), install.program);
}

TEST(SettleGamesFolder, APortableCopyCreatesNothingOutsideItsFolder)
{
    TempDir dir;
    const std::string program = (dir / "game").string() + "/";
    const std::string players = (dir / "home" / "games").string() + "/";
    fs::create_directories(program);
    const GamesFolderChoice choice = SettleGamesFolder(program, program, players);
    EXPECT_EQ(choice.place, GamesPlace::BesideProgram);
    EXPECT_EQ(choice.folder, program + "games/");
    EXPECT_FALSE(fs::exists(dir / "home"));
}

TEST(SettleGamesFolder, AnInstalledCopyCreatesThePlayersFolderForThePlayerAlone)
{
    Install install;
    const std::string players = (install.dir / "home" / "data" / "games").string() + "/";
    const GamesFolderChoice choice = SettleGamesFolder(install.program, install.data, players);
    EXPECT_EQ(choice.place, GamesPlace::PlayersOwn);
    EXPECT_EQ(choice.folder, players);
    ASSERT_TRUE(fs::is_directory(players));
    struct stat info
    { };
    ASSERT_EQ(::stat((install.dir / "home" / "data").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << "each folder the game makes is the player's alone";
    EXPECT_FALSE(fs::exists(install.program + "games"));
    EXPECT_FALSE(fs::exists(install.data + "games"));
}

TEST(SettleGamesFolder, APlayersFolderThatCannotBeMadeIsStillChosenAndNothingIsCreated)
{
    Install install;
    TempDir::Write(install.dir / "blocked", "a file where a folder should be");
    const std::string players = (install.dir / "blocked" / "games").string() + "/";
    const GamesFolderChoice choice = SettleGamesFolder(install.program, install.data, players);
    EXPECT_EQ(choice.place, GamesPlace::PlayersOwn);
    EXPECT_EQ(choice.folder, players);
    EXPECT_TRUE(fs::is_regular_file(install.dir / "blocked"));
    EXPECT_FALSE(SaveGameFile(choice.folder, "Anna", SolvedRecord {}).ok());
}

TEST(SettleGamesFolder, AReadOnlyMediumUsesThePlayersFolderWhenThereIsOne)
{
    const ReadOnlyMedium medium;
    TempDir dir;
    const std::string program = (dir / "disc").string() + "/";
    fs::create_directories(program);

    const std::string players = (dir / "home" / "games").string() + "/";
    const GamesFolderChoice mine = SettleGamesFolder(program, program, players);
    EXPECT_EQ(mine.place, GamesPlace::PlayersOwn);
    EXPECT_TRUE(fs::is_directory(players));

    TempDir::Write(dir / "blocked", "");
    const GamesFolderChoice blocked
        = SettleGamesFolder(program, program, (dir / "blocked" / "games").string() + "/");
    EXPECT_EQ(blocked.place, GamesPlace::Nowhere);
    EXPECT_EQ(blocked.folder, "");

    EXPECT_EQ(SettleGamesFolder(program, program, "").place, GamesPlace::Nowhere);
    EXPECT_FALSE(fs::exists(program + "games"));
}
