#include "LevelSet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// N records whose bytes say where they lie: record k has its first cell k and
// its start at column k % 8, row (k / 8) % 8.
std::vector<std::uint8_t> Records(int n)
{
    std::vector<std::uint8_t> bytes;
    for (int k = 1; k <= n; ++k) {
        for (int i = 0; i < 64; ++i)
            bytes.push_back(static_cast<std::uint8_t>(i == 0 ? k % 128 : i));
        bytes.push_back(static_cast<std::uint8_t>(k % 8));
        bytes.push_back(static_cast<std::uint8_t>((k / 8) % 8));
    }
    return bytes;
}

class TempFolder
{
public:
    TempFolder()
    {
        path_ = std::filesystem::temp_directory_path()
            / ("tumblewick-levels-" + std::to_string(::getpid()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string Folder() const { return path_.string() + "/"; }
    void Write(const std::string &name, const std::vector<std::uint8_t> &bytes) const
    {
        std::ofstream(path_ / name, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
    }

private:
    std::filesystem::path path_;
};

} // namespace

TEST(LevelSet, WholeRecordsBecomeLevelsInOrder)
{
    for (int n : {1, 2, 330, 500}) {
        SCOPED_TRACE(n);
        const LevelSetResult result = ParseLevelSet(Records(n));
        ASSERT_TRUE(result.ok());
        ASSERT_EQ(result.table.Count(), n);
        for (int k : {1, n}) {
            EXPECT_EQ(result.table.Get(k).cells[0], k % 128);
            EXPECT_EQ(result.table.Get(k).cells[63], 63);
            EXPECT_EQ(result.table.Get(k).startCol, k % 8);
            EXPECT_EQ(result.table.Get(k).startRow, (k / 8) % 8);
        }
    }
}

TEST(LevelSet, RecordsAfterTheFiveHundredthAndTrailingBytesAreIgnored)
{
    EXPECT_EQ(ParseLevelSet(Records(501)).table.Count(), 500);
    EXPECT_EQ(ParseLevelSet(Records(777)).table.Count(), 500);
    for (int extra : {1, 30, 65}) {
        std::vector<std::uint8_t> bytes = Records(3);
        bytes.resize(bytes.size() + static_cast<std::size_t>(extra), 0xFF);
        const LevelSetResult result = ParseLevelSet(bytes);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.table.Count(), 3) << extra << " trailing bytes";
    }
}

TEST(LevelSet, CellBytesAreSignedAndStartBytesUnsigned)
{
    std::vector<std::uint8_t> bytes = Records(1);
    bytes[5] = 0xFB;
    bytes[6] = 0xF4;
    bytes[7] = 0x80;
    bytes[8] = 0x7F;
    const LevelRecord record = ParseLevelSet(bytes).table.Get(1);
    EXPECT_EQ(record.cells[5], Slide);
    EXPECT_EQ(record.cells[6], VerticalOnly);
    EXPECT_EQ(record.cells[7], -128);
    EXPECT_EQ(record.cells[8], 127);

    bytes[64] = 0xF8; // 248 unsigned: far outside the board, not -8
    const LevelSetResult bad = ParseLevelSet(bytes);
    EXPECT_EQ(bad.error, LevelSetError::StartOutside);
}

TEST(LevelSet, AFileWithoutAWholeRecordHoldsNoLevel)
{
    for (std::size_t size : {0u, 1u, 65u}) {
        const std::vector<std::uint8_t> bytes(size, 1);
        EXPECT_EQ(ParseLevelSet(bytes).error, LevelSetError::NoLevel) << size << " bytes";
    }
}

TEST(LevelSet, AStartOutsideTheBoardNamesItsLevel)
{
    std::vector<std::uint8_t> bytes = Records(12);
    bytes[(7 - 1) * RecordSize + 65] = 8;
    const LevelSetResult result = ParseLevelSet(bytes);
    EXPECT_EQ(result.error, LevelSetError::StartOutside);
    EXPECT_EQ(result.badLevel, 7);
    EXPECT_EQ(LevelSetMessage(result, 0),
        "Level 7 in file TMBW.DAT starts outside the board. Program aborted.");
    EXPECT_NE(LevelSetMessage(result, 1).find("Stufe 7"), std::string::npos);
}

TEST(LevelSet, EncodingGivesBackTheBytesOfTheFile)
{
    const std::vector<std::uint8_t> bytes = Records(40);
    EXPECT_EQ(EncodeLevelSet(ParseLevelSet(bytes).table), bytes);
}

TEST(LevelSet, LoadsFromTheProgramFolder)
{
    TempFolder folder;
    LevelSetResult missing = LoadLevelSet(folder.Folder());
    EXPECT_EQ(missing.error, LevelSetError::CannotOpen);
    EXPECT_EQ(LevelSetMessage(missing, 1),
        "Datei TMBW.DAT konnte nicht gefunden werden. Programm wird abgebrochen.");
    EXPECT_EQ(LevelSetMessage(missing, 0), "Can't find file TMBW.DAT. Program aborted.");
    EXPECT_EQ(LevelSetMessage(missing, -1), "Can't find file TMBW.DAT. Program aborted.");

    folder.Write("tmbw.dat", Records(600));
    const LevelSetResult loaded = LoadLevelSet(folder.Folder());
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.table, ParseLevelSet(Records(500)).table);

    folder.Write("tmbw.dat", {});
    EXPECT_EQ(LoadLevelSet(folder.Folder()).error, LevelSetError::NoLevel);
    EXPECT_EQ(LevelSetMessage(LoadLevelSet(folder.Folder()), 0),
        "File TMBW.DAT holds no level. Program aborted.");
}

TEST(LevelSet, ADirectoryInPlaceOfTheFileCannotBeOpened)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.Folder() + "tmbw.dat");
    EXPECT_EQ(LoadLevelSet(folder.Folder()).error, LevelSetError::CannotOpen);
}

TEST(LevelSet, OnlyARegularFileIsReadAndNeverWaitedFor)
{
    TempFolder folder;
    const std::string file = folder.Folder() + "tmbw.dat";
    // A named pipe without a writer: opening it to read would wait forever.
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_EQ(LoadLevelSet(folder.Folder()).error, LevelSetError::CannotOpen);
    // A device gives bytes without end; a zero byte is an empty cell, so
    // this one would read as 500 empty levels.
    std::filesystem::remove(file);
    std::filesystem::create_symlink("/dev/zero", file);
    EXPECT_EQ(LoadLevelSet(folder.Folder()).error, LevelSetError::CannotOpen);

    // A link to a level set is a level set.
    std::filesystem::remove(file);
    folder.Write("levels.dat", Records(3));
    std::filesystem::create_symlink("levels.dat", file);
    const LevelSetResult linked = LoadLevelSet(folder.Folder());
    ASSERT_TRUE(linked.ok());
    EXPECT_EQ(linked.table.Count(), 3);
}

TEST(LevelSet, AHugeFileIsReadOnlyAsFarAsTheFiveHundredthRecord)
{
    TempFolder folder;
    folder.Write("tmbw.dat", Records(500));
    // Four gigabytes more, which a whole read would have to allocate.
    std::filesystem::resize_file(
        folder.Folder() + "tmbw.dat", (std::uintmax_t(1) << 32) + 500 * 66);
    const LevelSetResult loaded = LoadLevelSet(folder.Folder());
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.table, ParseLevelSet(Records(500)).table);
}

TEST(LevelSet, StartLevelIsBroughtIntoRange)
{
    struct Case
    {
        int setting, count, start;
    };
    for (const Case c : {Case {1, 330, 1}, Case {0, 330, 1}, Case {-5, 330, 1}, Case {77, 330, 77},
             Case {330, 330, 330}, Case {331, 330, 330}, Case {99999, 1, 1}}) {
        EXPECT_EQ(StartLevel(c.setting, c.count), c.start) << c.setting << " of " << c.count;
    }
}
