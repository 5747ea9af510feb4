#include "LevelText.h"
#include "TestLevels.h"

#include <gtest/gtest.h>

namespace {

const std::string EmptyRow = ". . . . . . . .\n";

std::string Rows(const std::string &first, int more = 7)
{
    std::string rows = first;
    for (int i = 0; i < more; ++i)
        rows += EmptyRow;
    return rows;
}

} // namespace

TEST(LevelText, EveryCodeAndStartSurvivesTheRoundTrip)
{
    // Four levels hold all 256 codes between them, with starts all over.
    std::vector<LevelRecord> levels(4);
    for (int code = -128; code <= 127; ++code) {
        const int i = code + 128;
        levels[static_cast<std::size_t>(i / 64)].cells[static_cast<std::size_t>(i % 64)]
            = static_cast<CellCode>(code);
    }
    levels[0].startCol = 7;
    levels[1].startRow = 7;
    levels[2].startCol = 3;
    levels[2].startRow = 5;
    const std::string text = LevelSetToText(levels, "every code\n\nonce");
    std::vector<LevelRecord> back;
    TextError error;
    ASSERT_TRUE(ParseLevelText(text, "all.lvl", back, error)) << error.Format();
    EXPECT_EQ(back, levels);
}

TEST(LevelText, ReadsEveryTokenAsTheGameSeesIt)
{
    struct Case
    {
        const char *token;
        CellCode code;
    };
    const Case cases[] = {{".", 0}, {"0", 0}, {"1", 1}, {"12", 12}, {"127", 127},
        {">", OneWayRight}, {"^", OneWayUp}, {"<", OneWayLeft}, {"v", OneWayDown}, {"s", Slide},
        {"A", -6}, {"C", -8}, {"E", -10}, {"-", HorizontalOnly}, {"|", VerticalOnly}, {"-5", Slide},
        {"-13", -13}, {"-128", -128}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.token);
        const LevelRecord level = Level(Rows(std::string("@1 ") + c.token + " . . . . . .\n"));
        EXPECT_EQ(level.cells[At(1, 0)], c.code);
        EXPECT_EQ(CellToken(c.code),
            std::string(c.token) == "0"        ? "."
                : std::string(c.token) == "-5" ? "s"
                                               : c.token);
    }
}

TEST(LevelText, LooksLikeTheBoardOnScreen)
{
    // Column 2, row 1: the third cell of the second grid row.
    const LevelRecord level = Level(EmptyRow + ". . @3 . . . . .\n" + EmptyRow + EmptyRow + EmptyRow
        + EmptyRow + EmptyRow + ". . . . . . . 9\n");
    EXPECT_EQ(level.cells[At(2, 1)], 3);
    EXPECT_EQ(level.startCol, 2);
    EXPECT_EQ(level.startRow, 1);
    EXPECT_EQ(level.cells[63], 9); // column 7, row 7
}

TEST(LevelText, IgnoresCommentsBlankLinesTabsAndCarriageReturns)
{
    const std::string text = "# a set\r\n\r\nlevel 1 # first\r\n"
                             "\t@1 1 . . . . . .   # the start\r\n"
        + Rows("", 7) + "\n# between\nlevel 2\n" + Rows("2 . . . . . . @1\n");
    std::vector<LevelRecord> levels;
    TextError error;
    ASSERT_TRUE(ParseLevelText(text, "x.lvl", levels, error)) << error.Format();
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[0].cells[At(1, 0)], 1);
    EXPECT_EQ(levels[1].startCol, 7);
}

TEST(LevelText, NamesTheFileLineAndColumnOfEveryFault)
{
    const std::string full = Rows("@1 . . . . . . .\n");
    struct Case
    {
        std::string text;
        int line, column;
        const char *message;
    };
    const Case cases[] = {
        {"level 1\n@1 1 x . . . . .\n" + Rows("", 6), 2, 6, "unknown cell 'x'"},
        {"level 1\n@1 128 . . . . . .\n" + Rows("", 6), 2, 4, "out of range"},
        {"level 1\n@1 . . . . . .\n" + Rows("", 6), 2, 15, "only 7 cells"},
        {"level 1\n@1 . . . . . . . 1\n" + Rows("", 6), 2, 18, "a ninth cell"},
        {"level 1\n@1 @1 . . . . . .\n" + Rows("", 6), 2, 4, "a second start cell"},
        {"level 1\n@ . . . . . . .\n" + Rows("", 6), 2, 2, "'@' must stand"},
        {"level 1\n" + Rows("", 8), 1, 1, "no start cell"},
        {"level 1\n" + Rows("@1 . . . . . . .\n", 5), 8, 1, "only 6 grid rows"},
        {"level 1\n" + Rows("@1 . . . . . . .\n", 5) + "level 2\n", 8, 1, "only 6 grid rows"},
        {"level 1\n" + full + EmptyRow, 10, 1, "a ninth grid row"},
        {"level 2\n" + full, 1, 7, "out of order: expected level 1"},
        {"level\n" + full, 1, 6, "missing level number"},
        {"level one\n" + full, 1, 7, "is not a number"},
        {"level 1 x\n" + full, 1, 9, "unexpected text"},
        {"  . . .\n", 1, 3, "grid row outside a level"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<LevelRecord> levels;
        TextError error;
        ASSERT_FALSE(ParseLevelText(c.text, "bad.lvl", levels, error));
        EXPECT_EQ(error.file, "bad.lvl");
        EXPECT_EQ(error.line, c.line);
        EXPECT_EQ(error.column, c.column);
        EXPECT_NE(error.message.find(c.message), std::string::npos) << error.message;
        EXPECT_EQ(error.Format().rfind("bad.lvl:" + std::to_string(c.line) + ":", 0), 0u);
    }
}

TEST(LevelText, NumbersLevelsOnAcrossFilesUpTo500)
{
    std::vector<LevelRecord> levels;
    TextError error;
    const std::string one = Rows("@1 . . . . . . .\n");
    ASSERT_TRUE(ParseLevelText("level 1\n" + one, "a.lvl", levels, error));
    EXPECT_FALSE(ParseLevelText("level 1\n" + one, "b.lvl", levels, error));
    EXPECT_NE(error.message.find("expected level 2"), std::string::npos);

    std::string many;
    for (int n = 2; n <= 501; ++n)
        many += "level " + std::to_string(n) + "\n" + one;
    ASSERT_FALSE(ParseLevelText(many, "c.lvl", levels, error));
    EXPECT_NE(error.message.find("at most 500"), std::string::npos);
    EXPECT_EQ(error.line, 499 * 9 + 1); // the header of level 501
}
