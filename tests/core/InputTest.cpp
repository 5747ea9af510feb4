#include "TestBoards.h"

#include <gtest/gtest.h>

namespace {
// A plus of tiles around (3, 3), two cells each way.
const Board Plus = BoardFromRows({". . . . . . . .", ". . . 1 . . . .", ". . . 1 . . . .",
    ". 1 1 2 1 1 . .", ". . . 1 . . . .", ". . . 1 . . . .", ". . . . . . . .", ". . . . . . . ."});
} // namespace

TEST(ClickTarget, BothHalvesOfATileAimAtItAndDivisionTruncatesTowardZero)
{
    // With CellW 20 and CellH 30 the tile of (col, row) spans 40 pixels
    // across from x = (2 col - row + 8) * 20, and its row the 30 pixels from
    // y = (row + 1) * 30.
    struct Click
    {
        int x, y, col, row;
        const char *where;
    };
    for (const Click c : {Click {250, 100, 3, 2, "left half"},
             Click {240, 90, 3, 2, "top left corner"}, Click {260, 100, 3, 2, "right half"},
             Click {279, 119, 3, 2, "bottom right corner"}, Click {280, 100, 4, 2, "next tile"},
             Click {199, 40, 0, 0, "right half of the first tile"},
             Click {140, 40, 0, 0, "just left of the board: -1 / 2 is 0"},
             Click {100, 40, -1, 0, "further left"}, Click {0, 0, -4, -1, "the corner"},
             Click {301, 241, 7, 7, "left half of the last tile"},
             Click {339, 269, 7, 7, "right half of the last tile"}}) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << ": " << c.where);
        EXPECT_EQ(ClickTarget(c.x, c.y, 20, 30), (Cell {c.col, c.row}));
    }
}

TEST(ClickTarget, NoTargetWhileTheBoardHasNoSize)
{
    for (const auto &[cellW, cellH] :
        {std::pair {0, 0}, std::pair {0, 30}, std::pair {20, 0}, std::pair {-20, 30}}) {
        SCOPED_TRACE(testing::Message() << cellW << " x " << cellH);
        EXPECT_EQ(ClickTarget(250, 100, cellW, cellH), std::nullopt);
    }
}

TEST(FormKeyDown, ArrowsStepAndShiftJumps)
{
    struct Case
    {
        int key;
        bool shift;
        Cell to;
    };
    for (const Case c :
        {Case {VkLeft, false, {2, 3}}, Case {VkRight, false, {4, 3}}, Case {VkUp, false, {3, 2}},
            Case {VkDown, false, {3, 4}}, Case {VkLeft, true, {1, 3}}, Case {VkRight, true, {5, 3}},
            Case {VkUp, true, {3, 1}}, Case {VkDown, true, {3, 5}}}) {
        SCOPED_TRACE(testing::Message() << c.key << (c.shift ? " with Shift" : ""));
        TestGame t(Plus, 3, 3);
        t.game.PlayState = PlayReady;
        t.game.FormKeyDown(c.key, c.shift);
        EXPECT_EQ((Cell {t.game.HeroCol, t.game.HeroRow}), c.to);
        EXPECT_EQ(t.game.PlayState, PlayInPlay);
        EXPECT_EQ(t.game.board[At(3, 3)], 1);
    }
}

TEST(FormKeyDown, AnyOtherKeyOnlyMarksTheLevelAsTouched)
{
    TestGame t(Plus, 3, 3);
    t.game.PlayState = PlayReady;
    t.game.FormKeyDown(0x10, true); // Shift alone
    EXPECT_EQ(t.game.PlayState, PlayInPlay);
    EXPECT_TRUE(t.host.calls.empty());
    EXPECT_EQ(t.game.board, Plus);
}

TEST(Input, KeysAndClicksDoNothingOnceTheLevelIsSolvedOrLost)
{
    for (std::uint8_t state : {PlaySolved, PlayLost}) {
        TestGame t(Plus, 3, 3);
        t.game.PlayState = state;
        t.game.FormKeyDown(VkRight, false);
        t.game.boxMouseDown(400, 400, 20, 30);
        EXPECT_EQ(t.game.PlayState, state);
        EXPECT_TRUE(t.host.calls.empty());
        EXPECT_EQ(t.game.board, Plus);
    }
}

TEST(BoxMouseDown, AClickInLineOneOrTwoCellsAwayMoves)
{
    // With CellW 20 and CellH 30 the tile of (col, row) spans the 40 pixels
    // from x = (2 col - row + 8) * 20 and the 30 from y = (row + 1) * 30.
    const auto y = [](int row) { return (row + 1) * 30 + 15; };
    struct Case
    {
        Cell target;
        bool moves;
    };
    for (int half : {0, 1}) {
        const auto x
            = [half](int col, int row) { return (2 * col - row + 8) * 20 + 5 + 30 * half; };
        for (const Case c : {Case {{4, 3}, true}, Case {{5, 3}, true}, Case {{3, 1}, true},
                 Case {{3, 5}, true}, Case {{1, 3}, true}, Case {{2, 3}, true}, Case {{3, 2}, true},
                 Case {{4, 4}, false}, Case {{5, 4}, false}, Case {{3, 3}, false},
                 Case {{6, 3}, false}, Case {{3, 0}, false}}) {
            SCOPED_TRACE(testing::Message()
                << c.target.col << "," << c.target.row << (half ? ", right half" : ", left half"));
            TestGame t(Plus, 3, 3);
            t.game.PlayState = PlayReady;
            t.game.boxMouseDown(x(c.target.col, c.target.row), y(c.target.row), 20, 30);
            EXPECT_EQ(t.game.PlayState, PlayInPlay);
            EXPECT_EQ((Cell {t.game.HeroCol, t.game.HeroRow}), (c.moves ? c.target : Cell {3, 3}));
            EXPECT_EQ(t.host.calls.empty(), !c.moves);
        }
    }
}

TEST(BoxMouseDown, AClickBeforeTheFirstLayoutOnlyTouchesTheLevel)
{
    for (const auto &[cellW, cellH] : {std::pair {0, 0}, std::pair {0, 30}, std::pair {20, 0}}) {
        SCOPED_TRACE(testing::Message() << cellW << " x " << cellH);
        TestGame t(Plus, 3, 3);
        t.game.PlayState = PlayReady;
        t.game.boxMouseDown(250, 100, cellW, cellH);
        EXPECT_EQ(t.game.PlayState, PlayInPlay);
        EXPECT_EQ((Cell {t.game.HeroCol, t.game.HeroRow}), (Cell {3, 3}));
        EXPECT_TRUE(t.host.calls.empty());
        EXPECT_EQ(t.game.board, Plus);
    }
}

TEST(BoxMouseDown, AClickJustLeftOfTheBoardStepsOffIt)
{
    Board board {};
    board[At(0, 0)] = 1;
    board[At(1, 0)] = 1;
    TestGame t(board, 0, 0);
    t.game.boxMouseDown(100, 40, 20, 30); // column -1, row 0
    EXPECT_EQ(t.game.HeroCol, -1);
    EXPECT_EQ(t.game.PlayState, PlayLost);
}

TEST(BoxMouseDown, AClickAnywhereFinishesALevelWithOneLandingLeft)
{
    Board board {};
    board[At(5, 6)] = -6; // a teleport without partner
    TestGame t(board, 5, 6, 2);
    t.game.boxMouseDown(3, 3, 20, 30);
    EXPECT_EQ(t.game.PlayState, PlaySolved);
    EXPECT_EQ(t.game.board[At(5, 6)], Empty);
}

TEST(BoxMouseDown, AClickOnALastTileThatStillBearsSeveralLandingsDoesNothing)
{
    Board board {};
    board[At(5, 6)] = 3;
    TestGame t(board, 5, 6);
    t.game.PlayState = PlayReady;
    t.game.boxMouseDown(3, 3, 20, 30);
    EXPECT_EQ(t.game.PlayState, PlayInPlay);
    EXPECT_EQ(t.game.board, board);
    EXPECT_TRUE(t.host.calls.empty());
}
