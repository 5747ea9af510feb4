#include "SavedGameFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/mount.h>

namespace {

struct GamesFolderFixture
{
    TempDir dir;
    std::string program = dir.Path().string() + "/";
    GamesFolderFixture() { CreateGamesFolder(program); }
    std::string Bytes(const std::string &name) const
    {
        return TempDir::Read(SavedGamePath(program, name));
    }
};

SolvedRecord Record(std::initializer_list<std::pair<int, std::int32_t>> marks)
{
    SolvedRecord record {};
    for (auto [level, mark] : marks)
        record[static_cast<std::size_t>(level - 1)] = mark;
    return record;
}

} // namespace

TEST(SavedGameFile, ARecordIs500LittleEndianMarks)
{
    GamesFolderFixture f;
    ASSERT_EQ(SaveGameFile(f.program, "Anna", Record({{1, 1}})), SaveOutcome::Saved);
    std::string expected(2000, '\0');
    expected[0] = 1;
    EXPECT_EQ(f.Bytes("Anna"), expected);

    const SolvedRecord odd = Record({{2, -2}, {3, 0x01020304}, {500, 1}});
    ASSERT_EQ(SaveGameFile(f.program, "Anna", odd), SaveOutcome::Saved);
    const std::string bytes = f.Bytes("Anna");
    ASSERT_EQ(bytes.size(), 2000u);
    EXPECT_EQ(bytes.substr(4, 8), std::string("\xfe\xff\xff\xff\x04\x03\x02\x01", 8));
    EXPECT_EQ(bytes.substr(1996), std::string("\x01\0\0\0", 4));

    SolvedRecord back {};
    back.fill(9);
    EXPECT_EQ(LoadGameFile(f.program, "Anna", back), LoadOutcome::Loaded);
    EXPECT_EQ(back, odd);
}

TEST(SavedGameFile, ShortAndLongFilesFillWhatTheyHold)
{
    GamesFolderFixture f;
    TempDir::Write(SavedGamePath(f.program, "eight"), std::string("\x01\0\0\0\x01\0\0\0", 8));
    TempDir::Write(SavedGamePath(f.program, "odd"), std::string("\x01\0\0\0\x01\0", 6));
    std::string long3000(3000, '\0');
    long3000[1996] = 1;
    long3000[2000] = 1; // beyond the last mark: never read
    TempDir::Write(SavedGamePath(f.program, "long"), long3000);

    SolvedRecord record {};
    record.fill(1); // every load clears all marks first
    EXPECT_EQ(LoadGameFile(f.program, "eight", record), LoadOutcome::Loaded);
    EXPECT_EQ(record, Record({{1, 1}, {2, 1}}));
    EXPECT_EQ(LoadGameFile(f.program, "odd", record), LoadOutcome::Loaded);
    EXPECT_EQ(record, Record({{1, 1}}));
    EXPECT_EQ(LoadGameFile(f.program, "long", record), LoadOutcome::Loaded);
    EXPECT_EQ(record, Record({{500, 1}}));
}

TEST(SavedGameFile, AMissingGameIsForgottenAndAnUnreadableOneFails)
{
    GamesFolderFixture f;
    SolvedRecord record = Record({{4, 1}});
    EXPECT_EQ(LoadGameFile(f.program, "nobody", record), LoadOutcome::Missing);
    EXPECT_EQ(record, SolvedRecord {});

    std::filesystem::create_directory(SavedGamePath(f.program, "Old"));
    record = Record({{4, 1}});
    EXPECT_EQ(LoadGameFile(f.program, "Old", record), LoadOutcome::Failed);
    EXPECT_EQ(record, SolvedRecord {});
}

TEST(SavedGameFile, NamesThatCouldLeaveTheGamesFolderAreRefused)
{
    for (const char *name : {"", ".", "..", "../x", "a/b", "a\\b", "tab\there", "new\nline", "a<b",
             "a>b", "c:d", "say\"hi\"", "a|b", "why?", "star*", "\x7f"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(IsUsableGameName(name));
        GamesFolderFixture f;
        EXPECT_EQ(SaveGameFile(f.program, name, Record({{1, 1}})), SaveOutcome::Failed);
        std::size_t files = 0;
        for (const auto &entry : std::filesystem::recursive_directory_iterator(f.dir.Path()))
            files += entry.is_regular_file() ? 1 : 0;
        EXPECT_EQ(files, 0u) << "nothing may be written anywhere";
        SolvedRecord record {};
        EXPECT_EQ(LoadGameFile(f.program, name, record), LoadOutcome::Missing);
    }
    for (const char *name : {"Anna", "Anna Lena", "..hidden", "x.y", "Grüße", "a'b", " lead"})
        EXPECT_TRUE(IsUsableGameName(name)) << name;
}

TEST(SavedGameFile, AFailedSaveKeepsTheEarlierFileWhole)
{
    GamesFolderFixture f;
    ASSERT_EQ(SaveGameFile(f.program, "Anna", Record({{1, 1}})), SaveOutcome::Saved);
    const std::string before = f.Bytes("Anna");
    // A folder where the new content must be written makes the save fail.
    std::filesystem::create_directory(
        SavedGamePath(f.program, "Anna") + ".tmp" + std::to_string(::getpid()));
    EXPECT_EQ(SaveGameFile(f.program, "Anna", Record({{2, 1}})), SaveOutcome::Failed);
    EXPECT_EQ(f.Bytes("Anna"), before);

    TempDir other;
    EXPECT_EQ(SaveGameFile(other.Path().string() + "/", "Anna", Record({})), SaveOutcome::Failed)
        << "no games folder";
}

TEST(SavedGameFile, ListsEveryTwpEntryInNameOrderWithCaseIgnored)
{
    GamesFolderFixture f;
    for (const char *name : {"bob.twp", "Anna.twp", "carl.TWP", "notes.txt", ".twp", "x.twp.tmp1"})
        TempDir::Write(std::filesystem::path(GamesFolder(f.program)) / name, "");
    std::filesystem::create_directory(GamesFolder(f.program) + "Old.twp");
    EXPECT_EQ(ListSavedGames(f.program), (std::vector<std::string> {"Anna", "bob", "carl", "Old"}));

    TempDir empty;
    EXPECT_TRUE(ListSavedGames(empty.Path().string() + "/").empty()) << "no games folder";
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
    std::filesystem::create_directory(disc);
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
