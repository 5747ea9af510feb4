#include "Symmetry.h"
#include "Search.h"
#include "TestLevels.h"

#include <gtest/gtest.h>

namespace {

LevelRecord OneTile(int col, int row, CellCode code)
{
    LevelRecord level;
    level.cells[At(col, row)] = code;
    level.startCol = static_cast<std::uint8_t>(col);
    level.startRow = static_cast<std::uint8_t>(row);
    return level;
}

} // namespace

TEST(Symmetry, TurnsCellsAndDirectionTilesAlong)
{
    struct Case
    {
        int symmetry;
        CellCode before;
        int col, row; // where (1, 0) goes
        CellCode after;
    };
    const Case cases[] = {
        {0, OneWayRight, 1, 0, OneWayRight},
        {1, OneWayRight, 7, 1, OneWayDown}, // quarter turn clockwise
        {1, HorizontalOnly, 7, 1, VerticalOnly},
        {1, OneWayUp, 7, 1, OneWayRight},
        {2, OneWayRight, 6, 7, OneWayLeft}, // half turn
        {2, HorizontalOnly, 6, 7, HorizontalOnly},
        {3, OneWayRight, 0, 6, OneWayUp}, // quarter turn anticlockwise
        {3, VerticalOnly, 0, 6, HorizontalOnly},
        {4, OneWayRight, 6, 0, OneWayLeft}, // mirror left-right
        {4, OneWayUp, 6, 0, OneWayUp},
        {4, VerticalOnly, 6, 0, VerticalOnly},
        {5, OneWayUp, 1, 7, OneWayDown}, // mirror top-bottom
        {6, OneWayRight, 0, 1, OneWayDown}, // main diagonal
        {6, HorizontalOnly, 0, 1, VerticalOnly},
        {7, OneWayRight, 7, 6, OneWayUp}, // other diagonal
        {7, Slide, 7, 6, Slide},
        {1, -8, 7, 1, -8},
        {1, 5, 7, 1, 5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << SymmetryName(c.symmetry) << ", code " << int(c.before));
        const LevelRecord turned = Transform(OneTile(1, 0, c.before), c.symmetry);
        EXPECT_EQ(turned.cells[At(c.col, c.row)], c.after);
        EXPECT_EQ(CountTiles(turned.cells), 1);
        EXPECT_EQ(turned.startCol, c.col);
        EXPECT_EQ(turned.startRow, c.row);
    }
}

TEST(Symmetry, FourQuarterTurnsAndEveryMirrorTwiceGiveTheLevelBack)
{
    Random random(3);
    for (int i = 0; i < 50; ++i) {
        const LevelRecord level = SmallRandomLevel(random);
        LevelRecord turned = level;
        for (int k = 0; k < 4; ++k)
            turned = Transform(turned, 1);
        EXPECT_EQ(turned, level);
        EXPECT_EQ(Transform(Transform(level, 1), 3), level);
        for (int s : {2, 4, 5, 6, 7})
            EXPECT_EQ(Transform(Transform(level, s), s), level);
    }
}

TEST(Symmetry, ATurnedLevelPlaysTheSame)
{
    // If a direction tile turned the wrong way, some turned copy would lose
    // its solutions.
    Random random(11);
    for (int i = 0; i < 120; ++i) {
        const LevelRecord level = SmallRandomLevel(random);
        const Analysis a = Analyze(level);
        for (int s = 1; s < SymmetryCount; ++s) {
            SCOPED_TRACE(testing::Message() << "level " << i << ", " << SymmetryName(s));
            const Analysis b = Analyze(Transform(level, s));
            EXPECT_EQ(b.solutions, a.solutions);
            EXPECT_DOUBLE_EQ(b.chance, a.chance);
        }
    }
}

TEST(Symmetry, FindsTurnedAndMirroredCopiesAndNothingElse)
{
    const LevelRecord first = Level(". . . . . . . .\n"
                                    ". @1 > A . . . .\n"
                                    ". . . - . . . .\n"
                                    ". . . 2 . B . .\n"
                                    ". . . . . . . .\n"
                                    ". A . . . B . .\n"
                                    ". . . . . . . .\n"
                                    ". . . . . . . .\n");
    // The same with its teleport groups named the other way round.
    LevelRecord renamed = first;
    for (CellCode &c : renamed.cells)
        c = c == -6 ? -7 : (c == -7 ? -6 : c);
    LevelRecord otherStart = first;
    otherStart.startCol = 3;
    otherStart.startRow = 3;
    LevelRecord otherTile = first;
    otherTile.cells[At(3, 2)] = VerticalOnly;

    const std::vector<LevelRecord> levels {first, Transform(first, 1), otherStart,
        Transform(renamed, 6), otherTile, Transform(otherTile, 4)};
    const std::vector<Duplicate> found = FindDuplicates(levels);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].level, 2);
    EXPECT_EQ(found[0].sameAs, 1);
    EXPECT_EQ(found[0].symmetry, 1);
    EXPECT_EQ(found[1].level, 4);
    EXPECT_EQ(found[1].sameAs, 1);
    EXPECT_EQ(found[1].symmetry, 6);
    EXPECT_EQ(found[2].level, 6);
    EXPECT_EQ(found[2].sameAs, 5);
    EXPECT_EQ(found[2].symmetry, 4);
}
