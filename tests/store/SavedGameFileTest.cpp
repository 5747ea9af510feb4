#include "SavedGameFile.h"
#include "StoreTexts.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

#include <csignal>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct GamesFolderFixture
{
    TempDir dir;
    std::string games = GamesBesideProgram(dir.Path().string() + "/");
    GamesFolderFixture() { CreateGamesFolder(games); }
    std::string Bytes(const std::string &name) const
    {
        return TempDir::Read(SavedGamePath(games, name));
    }
    // Every entry of the games folder, to see that nothing is left behind.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(games))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

SolvedRecord Record(std::initializer_list<std::pair<int, std::int32_t>> marks)
{
    SolvedRecord record {};
    for (auto [level, mark] : marks)
        record[static_cast<std::size_t>(level - 1)] = mark;
    return record;
}

// Makes one step of every write fail, as long as it lives.
struct FailingStep
{
    FailingStep(WriteStep failing, int error)
    {
        SetWriteFault([=](WriteStep step) { return step == failing ? error : 0; });
    }
    ~FailingStep() { SetWriteFault({}); }
};

// A process number no process can have: above the largest the system gives.
constexpr const char *DeadWriter = "999999999";

} // namespace

TEST(SavedGameFile, ARecordIs500LittleEndianMarks)
{
    GamesFolderFixture f;
    ASSERT_TRUE(SaveGameFile(f.games, "Anna", Record({{1, 1}})).ok());
    std::string expected(2000, '\0');
    expected[0] = 1;
    EXPECT_EQ(f.Bytes("Anna"), expected);

    const SolvedRecord odd = Record({{2, -2}, {3, 0x01020304}, {500, 1}});
    ASSERT_TRUE(SaveGameFile(f.games, "Anna", odd).ok());
    const std::string bytes = f.Bytes("Anna");
    ASSERT_EQ(bytes.size(), 2000u);
    EXPECT_EQ(bytes.substr(4, 8), std::string("\xfe\xff\xff\xff\x04\x03\x02\x01", 8));
    EXPECT_EQ(bytes.substr(1996), std::string("\x01\0\0\0", 4));

    const LoadedGame back = LoadGameFile(f.games, "Anna");
    EXPECT_TRUE(back.result.ok());
    EXPECT_EQ(back.record, odd);
    EXPECT_EQ(f.Entries(), (std::vector<std::string> {"Anna.twp"})) << "nothing left beside it";
}

TEST(SavedGameFile, ShortAndLongFilesFillWhatTheyHold)
{
    GamesFolderFixture f;
    TempDir::Write(SavedGamePath(f.games, "eight"), std::string("\x01\0\0\0\x01\0\0\0", 8));
    TempDir::Write(SavedGamePath(f.games, "odd"), std::string("\x01\0\0\0\x01\0", 6));
    std::string long3000(3000, '\0');
    long3000[1996] = 1;
    long3000[2000] = 1; // beyond the last mark: never read
    TempDir::Write(SavedGamePath(f.games, "long"), long3000);

    EXPECT_EQ(LoadGameFile(f.games, "eight").record, Record({{1, 1}, {2, 1}}));
    EXPECT_EQ(LoadGameFile(f.games, "odd").record, Record({{1, 1}}));
    EXPECT_EQ(LoadGameFile(f.games, "long").record, Record({{500, 1}}));
    EXPECT_TRUE(LoadGameFile(f.games, "long").result.ok());
}

TEST(SavedGameFile, AMissingGameIsForgottenAndAnyOtherFailureIsTold)
{
    GamesFolderFixture f;
    EXPECT_EQ(LoadGameFile(f.games, "nobody").result.outcome, FileResult::Missing);
    fs::create_symlink("nowhere.twp", SavedGamePath(f.games, "dangling"));
    EXPECT_EQ(LoadGameFile(f.games, "dangling").result.outcome, FileResult::Missing);

    fs::create_directory(SavedGamePath(f.games, "Old"));
    EXPECT_EQ(LoadGameFile(f.games, "Old").result.outcome, FileResult::NotRegular);

    // A link that points to itself is not a missing game: the player hears of it.
    fs::create_symlink("loop.twp", SavedGamePath(f.games, "loop"));
    const LoadedGame loop = LoadGameFile(f.games, "loop");
    EXPECT_EQ(loop.result.outcome, FileResult::Failed);
    EXPECT_EQ(loop.result.error, ELOOP);
    EXPECT_EQ(loop.record, SolvedRecord {});

    // A pipe is refused at once instead of waiting for a writer forever.
    ASSERT_EQ(::mkfifo(SavedGamePath(f.games, "pipe").c_str(), 0600), 0);
    EXPECT_EQ(LoadGameFile(f.games, "pipe").result.outcome, FileResult::NotRegular);
}

TEST(SavedGameFile, NamesThatCouldLeaveTheGamesFolderAreRefused)
{
    for (const char *name : {"", ".", "..", "../x", "a/b", "a\\b", "tab\there", "new\nline", "a<b",
             "a>b", "c:d", "say\"hi\"", "a|b", "why?", "star*", "\x7f"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(IsUsableGameName(name));
        GamesFolderFixture f;
        EXPECT_FALSE(SaveGameFile(f.games, name, Record({{1, 1}})).ok());
        std::size_t files = 0;
        for (const auto &entry : fs::recursive_directory_iterator(f.dir.Path()))
            files += entry.is_regular_file() ? 1 : 0;
        EXPECT_EQ(files, 0u) << "nothing may be written anywhere";
        EXPECT_EQ(LoadGameFile(f.games, name).result.outcome, FileResult::Missing);
    }
    for (const char *name : {"Anna", "Anna Lena", "..hidden", "x.y", "Grüße", "a'b", " lead"})
        EXPECT_TRUE(IsUsableGameName(name)) << name;
    GamesFolderFixture f;
    EXPECT_FALSE(SaveGameFile(f.games, SavedGame {"x", "../x.twp"}, Record({})).ok());
    EXPECT_EQ(LoadSavedGame(f.games, {"x", "../x.twp"}).result.outcome, FileResult::Missing);
}

TEST(SavedGameFile, AnyNameTheFileSystemTakesCanBeSaved)
{
    // The longest file name is 255 bytes: a name of 251 and ".twp".
    GamesFolderFixture f;
    const std::string longest(251, 'n');
    EXPECT_TRUE(SaveGameFile(f.games, longest, Record({{7, 1}})).ok());
    EXPECT_EQ(LoadGameFile(f.games, longest).record, Record({{7, 1}}));
    const FileResult tooLong = SaveGameFile(f.games, longest + "n", Record({{7, 1}}));
    EXPECT_FALSE(tooLong.ok());
    EXPECT_EQ(tooLong.error, ENAMETOOLONG);
    EXPECT_EQ(f.Entries(), (std::vector<std::string> {longest + ".twp"}));
}

TEST(SavedGameFile, AFailedSaveKeepsTheEarlierFileWholeAndLeavesNothingBehind)
{
    struct Case
    {
        WriteStep step;
        int error;
        const char *what;
    };
    for (const Case c : {Case {WriteStep::Create, EACCES, "create"},
             Case {WriteStep::Write, ENOSPC, "disk full while writing"},
             Case {WriteStep::Sync, EIO, "fsync"}, Case {WriteStep::Close, EIO, "close"},
             Case {WriteStep::Rename, EXDEV, "rename"}}) {
        SCOPED_TRACE(c.what);
        GamesFolderFixture f;
        ASSERT_TRUE(SaveGameFile(f.games, "Anna", Record({{1, 1}})).ok());
        const std::string before = f.Bytes("Anna");
        {
            FailingStep failing(c.step, c.error);
            const FileResult saved = SaveGameFile(f.games, "Anna", Record({{2, 1}}));
            EXPECT_FALSE(saved.ok());
            EXPECT_EQ(saved.error, c.error);
        }
        EXPECT_EQ(f.Bytes("Anna"), before);
        EXPECT_EQ(f.Entries(), (std::vector<std::string> {"Anna.twp"}));
    }

    // The folder could not be flushed: the new record is in place, but the
    // failure is still reported.
    GamesFolderFixture f;
    {
        FailingStep failing(WriteStep::SyncFolder, EIO);
        EXPECT_FALSE(SaveGameFile(f.games, "Anna", Record({{3, 1}})).ok());
    }
    EXPECT_EQ(LoadGameFile(f.games, "Anna").record, Record({{3, 1}}));

    const std::string noGames = (f.dir / "elsewhere" / "games").string() + "/";
    EXPECT_FALSE(SaveGameFile(noGames, "Anna", Record({})).ok()) << "no games folder";
    EXPECT_FALSE(SaveGameFile("", "Anna", Record({})).ok()) << "no folder at all";
}

TEST(SavedGameFile, AFullDiskKeepsTheEarlierFile)
{
    TempDir dir;
    const std::string program = (dir / "program").string() + "/";
    const std::string games = GamesBesideProgram(program);
    fs::create_directories(games);
    if (::mount("none", games.c_str(), "tmpfs", 0, "size=12k") != 0)
        GTEST_SKIP() << "mounting a small disk needs root";
    ASSERT_TRUE(SaveGameFile(games, "Anna", Record({{1, 1}})).ok());
    {
        std::ofstream filler(games + "filler", std::ios::binary);
        const std::string block(1024, 'x');
        for (int i = 0; i < 64 && filler; ++i)
            filler << block << std::flush;
    }
    const FileResult saved = SaveGameFile(games, "Anna", Record({{2, 1}}));
    const SolvedRecord after = LoadGameFile(games, "Anna").record;
    std::vector<std::string> left;
    for (const auto &entry : fs::directory_iterator(games))
        left.push_back(entry.path().filename().string());
    ::umount2(games.c_str(), MNT_DETACH);
    EXPECT_FALSE(saved.ok());
    EXPECT_EQ(saved.error, ENOSPC);
    EXPECT_EQ(after, Record({{1, 1}}));
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string> {"Anna.twp", "filler"}));
}

TEST(SavedGameFile, LinksPlantedInTheGamesFolderAreNeverWrittenThrough)
{
    GamesFolderFixture f;
    const std::string games = f.games;
    const fs::path victim = f.dir / "outside" / "victim";
    TempDir::Write(victim, "precious");
    // The game's own file, a link somebody planted: the save replaces the
    // link, never the file it points to.
    fs::create_symlink(victim, SavedGamePath(f.games, "Anna"));
    // And links under the names earlier versions wrote to.
    for (const std::string &name : {"Anna.twp.tmp" + std::to_string(::getpid()),
             std::string(".tw") + std::to_string(::getpid()) + "-XXXXXX"})
        fs::create_symlink(victim, f.games + name);
    ASSERT_TRUE(SaveGameFile(f.games, "Anna", Record({{1, 1}})).ok());
    EXPECT_EQ(TempDir::Read(victim), "precious");
    EXPECT_FALSE(fs::is_symlink(SavedGamePath(f.games, "Anna")));
    EXPECT_EQ(LoadGameFile(f.games, "Anna").record, Record({{1, 1}}));
}

TEST(SavedGameFile, WhatAKilledSaveLeftIsRemovedAtTheNextStart)
{
    GamesFolderFixture f;
    const std::string games = f.games;
    const fs::path victim = f.dir / "outside" / "victim";
    TempDir::Write(victim, "precious");
    const std::string dead = std::string(".tw") + DeadWriter;
    const std::string alive = ".tw" + std::to_string(::getppid()) + "-abc123";
    TempDir::Write(games + dead + "-abc123", std::string(2000, '\0'));
    fs::create_symlink(victim, games + dead + "-link00");
    fs::create_directory(games + dead + "-fold00"); // not a file of ours
    TempDir::Write(games + alive, "");
    TempDir::Write(games + dead + "-toolong1", ""); // not a name the game makes
    TempDir::Write(games + "Anna.twp", "");
    CreateGamesFolder(f.games);
    std::vector<std::string> kept {dead + "-fold00", dead + "-toolong1", alive, "Anna.twp"};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(f.Entries(), kept);
    EXPECT_EQ(TempDir::Read(victim), "precious");
}

TEST(SavedGameFile, ListsEveryTwpEntryInNameOrderWithCaseIgnored)
{
    GamesFolderFixture f;
    for (const char *name :
        {"bob.twp", "Anna.twp", "carl.TWP", "notes.txt", ".twp", "x.twp.tmp1", "Caf\xe9.twp"})
        TempDir::Write(fs::path(f.games) / name, "");
    fs::create_directory(f.games + "Old.twp");
    EXPECT_EQ(ListSavedGames(f.games),
        (std::vector<SavedGame> {{"Anna", "Anna.twp"}, {"bob", "bob.twp"},
            {"Caf\xe9", "Caf\xe9.twp"}, {"carl", "carl.TWP"}, {"Old", "Old.twp"}}));

    EXPECT_TRUE(ListSavedGames((f.dir / "elsewhere").string() + "/").empty()) << "no games folder";
}

TEST(SavedGameFile, AGameIsReadAndSavedWhereItWasFound)
{
    GamesFolderFixture f;
    const std::string games = f.games;
    // An extension in another case, and a name in no particular encoding.
    TempDir::Write(games + "Anna.TWP", std::string("\x01\0\0\0", 4));
    TempDir::Write(games + "Caf\xe9.twp", std::string("\0\0\0\0\x01\0\0\0", 8));
    EXPECT_EQ(LoadGameFile(f.games, "Anna").record, Record({{1, 1}}));
    ASSERT_TRUE(SaveGameFile(f.games, "Anna", Record({{1, 1}, {2, 1}})).ok());
    EXPECT_FALSE(fs::exists(games + "Anna.twp"));
    EXPECT_EQ(
        TempDir::Read(games + "Anna.TWP").substr(0, 8), std::string("\x01\0\0\0\x01\0\0\0", 8));

    for (const SavedGame &game : ListSavedGames(f.games)) {
        SCOPED_TRACE(game.fileName);
        EXPECT_TRUE(LoadSavedGame(f.games, game).result.ok());
    }
    EXPECT_EQ(LoadSavedGame(f.games, {"Caf\xe9", "Caf\xe9.twp"}).record, Record({{2, 1}}));
}

TEST(SavedGameFile, TheReadOnlyProbeCanBeReplaced)
{
    TempDir dir;
    EXPECT_FALSE(IsReadOnlyMedium(dir.Path().string() + "/"));
    SetReadOnlyProbe([](const std::string &) { return true; });
    EXPECT_TRUE(IsReadOnlyMedium(dir.Path().string() + "/"));
    SetReadOnlyProbe({});
    EXPECT_FALSE(IsReadOnlyMedium(dir.Path().string() + "/"));
}

TEST(SavedGameFile, TheRealProbeSeesAReadOnlyFileSystem)
{
    TempDir dir;
    const std::string disc = (dir / "disc").string();
    fs::create_directory(disc);
    if (::mount("none", disc.c_str(), "tmpfs", MS_RDONLY, "size=64k") != 0)
        GTEST_SKIP() << "mounting needs root";
    EXPECT_TRUE(IsReadOnlyMedium(disc + "/"));
    ::umount2(disc.c_str(), MNT_DETACH);
    EXPECT_FALSE(IsReadOnlyMedium(disc + "/"));
}

TEST(SavedGameFile, MessagesNameTheGameInThePlayersLanguage)
{
    EXPECT_EQ(SaveFailedMessage("a?b", 0), "Cannot save game a?b.twp. Drive full or not writable.");
    EXPECT_EQ(SaveFailedMessage("Anna", 1),
        "Kann Spiel Anna.twp nicht speichern. Datenträger voll oder nicht beschreibbar.");
    EXPECT_EQ(LoadFailedMessage("Anna", -1), "Error occured while loading file Anna!");
    EXPECT_EQ(LoadFailedMessage("Anna", 1), "Fehler beim Laden des Spiels Anna!");
    EXPECT_EQ(ReadOnlyMediumNotice(0),
        "I cannot store anything on a CD-Rom. Please install the game to your harddisk.");
}

TEST(SavedGameFile, ASaveKilledAtAnyMomentLeavesAWholeRecord)
{
    GamesFolderFixture f;
    ASSERT_TRUE(SaveGameFile(f.games, "Anna", Record({{1, 1}})).ok());
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            // Saves without end, telling the test after each one.
            ::close(ready[0]);
            for (std::int32_t n = 2;; ++n) {
                SaveGameFile(f.games, "Anna", Record({{1, 1}, {n % 500 + 1, n}}));
                if (::write(ready[1], "s", 1) != 1)
                    ::_exit(0);
            }
        }
        ::close(ready[1]);
        // Killed somewhere inside a save, a different number of saves in
        // each round.
        char c = 0;
        for (int i = 0; i < round + 1; ++i)
            ASSERT_EQ(::read(ready[0], &c, 1), 1);
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        ::close(ready[0]);

        const std::string bytes = f.Bytes("Anna");
        EXPECT_EQ(bytes.size(), 2000u);
        EXPECT_EQ(bytes.substr(0, 4), std::string("\x01\0\0\0", 4));
        CreateGamesFolder(f.games); // the next start clears what the killed save left
        EXPECT_EQ(f.Entries(), (std::vector<std::string> {"Anna.twp"}));
    }
}
