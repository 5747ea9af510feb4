#include "TestBoards.h"

#include <gtest/gtest.h>

using Calls = std::vector<std::string>;

TEST(MoveHero, ValidStepOffAStackLowersItAndDropsOneSlab)
{
    TestGame t(
        BoardFromRows({"3 1 . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."}),
        0, 0);
    t.game.MoveHero(1, 0);
    EXPECT_EQ(t.host.calls,
        (Calls {"PlayEffect 1", "EraseCell 0 0", "DrawCell 0 0", "DrawCellsAfter 0 0",
            "AnimateHop 0 0 1 0", "DrawHero 1 0", "AnimateLayerDrop 0 0"}));
    EXPECT_EQ(t.game.board[At(0, 0)], 2);
    EXPECT_EQ(t.game.board[At(1, 0)], 1); // landing never lowers the new cell
    EXPECT_EQ((Cell {t.game.HeroCol, t.game.HeroRow}), (Cell {1, 0}));
    EXPECT_EQ(t.game.PlayState, PlayInPlay);
}

TEST(MoveHero, ValidJumpOverAnEmptyMiddleRemovesATileOfOne)
{
    TestGame t(
        BoardFromRows({". . . . . . . .", "1 . . . . . . .", ". . . . . . . .", "2 . . . . . . .",
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."}),
        0, 1);
    t.game.MoveHero(0, 2);
    EXPECT_EQ(t.host.calls,
        (Calls {"PlayEffect 2", "DrawCell 0 1", "AnimateHop 0 1 0 3", "DrawHero 0 3",
            "AnimateTileFall 0 1"}));
    EXPECT_EQ(t.game.board[At(0, 1)], Empty);
    EXPECT_EQ(t.game.board[At(0, 3)], 2);
    EXPECT_EQ(t.game.PlayState, PlayInPlay);
}

TEST(MoveHero, LostStepFromATileOfOneLeavesItAndTheHeroFalls)
{
    TestGame t(
        BoardFromRows({"1 . 2 . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."}),
        0, 0);
    t.game.MoveHero(1, 0); // onto the empty cell between the tiles
    EXPECT_EQ(t.host.calls,
        (Calls {"PlayEffect 1", "DrawCell 0 0", "AnimateHop 0 0 1 0", "DrawHero 1 0",
            "PlayEffect 3", "AnimateHeroFall 1 0", "ShowMsg 13"}));
    EXPECT_EQ(t.game.board[At(0, 0)], 1);
    EXPECT_EQ((Cell {t.game.HeroCol, t.game.HeroRow}), (Cell {1, 0}));
    EXPECT_EQ(t.game.PlayState, PlayLost);
}

TEST(MoveHero, LostStepFromAStackStillLowersIt)
{
    TestGame t(
        BoardFromRows({"3 . . . . . . .", "1 . . . . . . .", ". . . . . . . .", ". . . . . . . .",
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."}),
        0, 0);
    t.game.MoveHero(0, -1); // off the back edge
    EXPECT_EQ(t.game.board[At(0, 0)], 2);
    EXPECT_EQ(t.game.HeroRow, -1);
    EXPECT_EQ(t.game.PlayState, PlayLost);
    EXPECT_EQ(t.host.Only({"Animate"}),
        (Calls {"AnimateHop 0 0 0 -1", "AnimateLayerDrop 0 0", "AnimateHeroFall 0 -1"}));
}

TEST(MoveHero, LostStepFromASpecialTileTakesTheTileAlong)
{
    TestGame t(
        BoardFromRows({". . . . . . . .", ". . . . . . . .", ". . . . . . -13 .", ". . . . . . . .",
            ". . . . . . 1 .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."}),
        6, 2);
    t.game.MoveHero(2, 0); // a jump from column 6 ends at column 8
    EXPECT_EQ(t.game.HeroCol, 8);
    EXPECT_EQ(t.game.board[At(6, 2)], -13); // the board keeps it; only the picture falls
    EXPECT_TRUE(t.host.Saw("PlayEffect 2"));
    EXPECT_TRUE(t.host.Saw("AnimateBothFall 6 2 8 2"));
    EXPECT_FALSE(t.host.Saw("AnimateTileFall 6 2"));
}

TEST(MoveHero, RepeatingALostLevelReloadsIt)
{
    const Board start
        = BoardFromRows({"2 . . . . . . .", "1 . . . . . . .", ". . . . . . . .", ". . . . . . . .",
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."});
    TestGame t(start, 0, 0);
    t.host.answers = {MrYes};
    t.game.MoveHero(-1, 0);
    EXPECT_EQ(t.host.Only({"ShowMsg", "LevelSweep"}),
        (Calls {"ShowMsg 13", "LevelSweepOut", "LevelSweepIn"}));
    EXPECT_EQ(t.game.board, start);
    EXPECT_EQ((Cell {t.game.HeroCol, t.game.HeroRow}), (Cell {0, 0}));
    EXPECT_EQ(t.game.PlayState, PlayReady);
}

TEST(MoveHero, RefusedDirectionChangesNothingButTheSound)
{
    struct Case
    {
        CellCode code;
        int dCol, dRow;
    };
    for (const Case c : {Case {OneWayRight, -1, 0}, Case {OneWayRight, 0, -1},
             Case {OneWayUp, 0, 1}, Case {OneWayUp, 1, 0}, Case {OneWayUp, -2, 0},
             Case {OneWayLeft, 2, 0}, Case {OneWayLeft, 0, 2}, Case {OneWayDown, 0, -2},
             Case {OneWayDown, -1, 0}, Case {HorizontalOnly, 0, -1}, Case {HorizontalOnly, 0, 2},
             Case {VerticalOnly, 1, 0}, Case {VerticalOnly, -2, 0}}) {
        SCOPED_TRACE(testing::Message() << int(c.code) << " by " << c.dCol << "," << c.dRow);
        Board board = BoardFromRows(
            {". . . . . . . .", ". . . . . . . .", ". . 1 1 1 . . .", ". 1 1 1 1 1 . .",
                ". . 1 . 1 . . .", ". 1 1 1 1 1 . .", ". . 1 1 1 . . .", ". . . . . . . ."});
        board[At(3, 4)] = c.code;
        TestGame t(board, 3, 4);
        t.game.MoveHero(c.dCol, c.dRow);
        EXPECT_EQ(t.host.calls, (Calls {"PlayEffect 1"}));
        EXPECT_EQ(t.game.board, board);
        EXPECT_EQ((Cell {t.game.HeroCol, t.game.HeroRow}), (Cell {3, 4}));
        EXPECT_EQ(t.game.PlayState, PlayInPlay);
    }
}

TEST(MoveHero, DirectionTilesLetTheirOwnDirectionPass)
{
    TestGame t(
        BoardFromRows({"-1 . 1 . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."}),
        0, 0);
    t.game.MoveHero(2, 0); // Shift+Right from a one-way tile to the right
    EXPECT_EQ(t.game.HeroCol, 2);
    EXPECT_EQ(t.game.board[At(0, 0)], Empty);
    EXPECT_EQ(t.game.PlayState, PlayInPlay);
}

TEST(MoveHero, TheLastLandingFinishesTheLevelWhateverTheDirection)
{
    TestGame t(
        BoardFromRows({". . . . . . . .", ". . . . . . . .", ". . . -3 . . . .", ". . . . . . . .",
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."}),
        3, 2, 2);
    t.game.MoveHero(1, 0); // the tile would refuse Right
    EXPECT_EQ(t.host.Only({"EraseCell", "AnimateTileFall", "PlayEffect", "ShowMsg"}),
        (Calls {"EraseCell 3 2", "AnimateTileFall 3 2", "PlayEffect 4", "ShowMsg 14"}));
    EXPECT_EQ(t.game.board[At(3, 2)], Empty);
    EXPECT_EQ(t.game.PlayState, PlaySolved);
    EXPECT_EQ(t.game.Mark(1), 1);
}

TEST(MoveHero, AnimationsOffLeaveOutTheHopOnly)
{
    TestGame t(
        BoardFromRows({"1 2 . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."}),
        0, 0);
    t.game.AnimationOn = false;
    t.game.MoveHero(1, 0);
    EXPECT_EQ(t.host.calls,
        (Calls {"PlayEffect 1", "DrawCell 0 0", "DrawHero 1 0", "AnimateTileFall 0 0"}));
}

namespace {
const Board SlideRow = BoardFromRows({"1 -5 -5 1 . . . .", ". . . . . . . .", ". . . . . . . .",
    ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."});
}

TEST(MoveSequence, SlidesCarryTheHeroOnWithTheSameVector)
{
    TestGame t(SlideRow, 0, 0);
    t.game.MoveSequence(1, 0, true);
    EXPECT_EQ((Cell {t.game.HeroCol, t.game.HeroRow}), (Cell {3, 0}));
    EXPECT_EQ(t.game.board[At(1, 0)], Empty);
    EXPECT_EQ(t.game.board[At(2, 0)], Empty);
    EXPECT_EQ(t.host.Only({"AnimateHop"}),
        (Calls {"AnimateHop 0 0 1 0", "AnimateHop 1 0 2 0", "AnimateHop 2 0 3 0"}));
    EXPECT_EQ(t.game.PlayState, PlayInPlay);
}

TEST(MoveSequence, ASlideThatBeganWithAJumpGoesOnWithJumps)
{
    TestGame t(
        BoardFromRows({"1 . -5 . 1 . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."}),
        0, 0);
    t.game.MoveSequence(2, 0, true);
    EXPECT_EQ(t.game.HeroCol, 4);
    EXPECT_EQ(t.host.Count("PlayEffect 2"), 2);
}

TEST(MoveSequence, ASlideTowardsNothingFallsFromTheSlideTile)
{
    TestGame t(
        BoardFromRows({". . . . . . 1 -5", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . 1"}),
        6, 0);
    t.game.MoveSequence(1, 0, true);
    EXPECT_EQ(t.game.HeroCol, 8);
    EXPECT_EQ(t.game.PlayState, PlayLost);
    EXPECT_TRUE(t.host.Saw("AnimateBothFall 7 0 8 0"));
    EXPECT_EQ(t.host.Count("ShowMsg 13"), 1);
}

TEST(MoveSequence, ASlideTileLeftAloneFinishesTheLevelAtOnce)
{
    TestGame t(
        BoardFromRows({"1 -5 . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."}),
        0, 0, 3);
    t.game.MoveSequence(1, 0, true);
    EXPECT_EQ(t.game.PlayState, PlaySolved);
    EXPECT_EQ(t.game.board[At(1, 0)], Empty);
    EXPECT_EQ(t.host.Count("ShowMsg 14"), 1);
}

TEST(Teleport, SendsTheHeroToTheLastPartnerInBoardOrder)
{
    Board board {};
    board[At(0, 2)] = 1;
    board[At(1, 2)] = -7;
    board[At(4, 0)] = -7;
    board[At(4, 5)] = -7;
    board[At(6, 6)] = -6; // another group
    TestGame t(board, 0, 2);
    t.game.MoveSequence(1, 0, true);
    EXPECT_EQ((Cell {t.game.HeroCol, t.game.HeroRow}), (Cell {4, 5}));
    EXPECT_EQ(t.game.board[At(1, 2)], Empty);
    EXPECT_EQ(t.game.board[At(4, 0)], -7);
    EXPECT_EQ(t.game.board[At(4, 5)], -7);
    EXPECT_EQ(t.host.Only({"DrawCell 1 2", "AnimateTeleport", "AnimateTileFall"}),
        (Calls {"AnimateTileFall 0 2", "DrawCell 1 2", "AnimateTeleport 1 2 4 5",
            "AnimateTileFall 1 2"}));
}

TEST(Teleport, EveryGroupSendsTheHeroOnAndNoOtherCodeDoes)
{
    struct Case
    {
        CellCode code;
        Cell lands;
    };
    for (const Case c : {Case {-6, {5, 5}}, Case {-7, {5, 5}}, Case {-8, {5, 5}}, Case {-9, {5, 5}},
             Case {-10, {5, 5}}, Case {Slide, {2, 0}}, Case {HorizontalOnly, {1, 0}},
             Case {VerticalOnly, {1, 0}}, Case {-13, {1, 0}}, Case {-128, {1, 0}},
             Case {OneWayDown, {1, 0}}, Case {1, {1, 0}}}) {
        SCOPED_TRACE(int(c.code));
        Board board {};
        board[At(0, 0)] = 1;
        board[At(1, 0)] = c.code;
        board[At(2, 0)] = 1;
        board[At(5, 5)] = c.code;
        TestGame t(board, 0, 0);
        t.game.MoveSequence(1, 0, true);
        EXPECT_EQ((Cell {t.game.HeroCol, t.game.HeroRow}), c.lands);
        EXPECT_EQ(t.game.PlayState, PlayInPlay);
        const bool teleported = c.lands == Cell {5, 5};
        EXPECT_EQ(t.host.Saw("AnimateTeleport 1 0 5 5"), teleported);
        EXPECT_EQ(t.game.board[At(1, 0)], c.code == Slide || teleported ? Empty : c.code);
        EXPECT_EQ(t.game.board[At(5, 5)], c.code) << "the partner stays";
    }
}

TEST(Teleport, AClickWithAnimationsOffTeleportsWithoutTheAnimation)
{
    Board board {};
    board[At(0, 0)] = 1;
    board[At(1, 0)] = -9;
    board[At(5, 5)] = -9;
    for (bool fromKey : {true, false}) {
        TestGame t(board, 0, 0);
        t.game.AnimationOn = false;
        t.game.MoveSequence(1, 0, fromKey);
        EXPECT_EQ((Cell {t.game.HeroCol, t.game.HeroRow}), (Cell {5, 5}));
        EXPECT_EQ(t.host.Saw("AnimateTeleport 1 0 5 5"), fromKey);
    }
}

TEST(Teleport, ATileWithoutPartnerIsAPlainTile)
{
    Board board {};
    board[At(0, 0)] = 1;
    board[At(1, 0)] = -8;
    board[At(2, 0)] = 1;
    TestGame t(board, 0, 0);
    t.game.MoveSequence(1, 0, true);
    EXPECT_EQ((Cell {t.game.HeroCol, t.game.HeroRow}), (Cell {1, 0}));
    EXPECT_EQ(t.game.board[At(1, 0)], -8);
    t.game.MoveSequence(1, 0, true);
    EXPECT_EQ(t.game.board[At(1, 0)], Empty);
    EXPECT_EQ(t.game.HeroCol, 2);
}

TEST(Teleport, AReloadedLevelStartingOnATeleportTileStaysAtItsStart)
{
    Board board {};
    board[At(0, 0)] = -6;
    board[At(7, 7)] = -6;
    board[At(1, 0)] = 2;
    TestGame t(board, 0, 0);
    t.host.answers = {MrYes}; // repeat the lost level
    t.game.MoveSequence(0, -1, true);
    EXPECT_EQ(t.game.PlayState, PlayReady);
    EXPECT_EQ((Cell {t.game.HeroCol, t.game.HeroRow}), (Cell {0, 0}));
    EXPECT_EQ(t.game.board, board);
    EXPECT_FALSE(t.host.Saw("AnimateTeleport 0 0 7 7"));
}
