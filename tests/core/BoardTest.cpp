#include "TestBoards.h"

#include <gtest/gtest.h>

TEST(Board, RowsAsOnScreenBecomeColumnMajorCells)
{
    const Board board = BoardFromRows({"1 2 . . . . . .", // row 0
        "3 . . . . . . .", // row 1
        ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
        ". . . . . . . .", ". . . . . . . -12"});
    EXPECT_EQ(board[0], 1); // column 0, row 0
    EXPECT_EQ(board[1], 3); // column 0, row 1
    EXPECT_EQ(board[8], 2); // column 1, row 0
    EXPECT_EQ(board[63], -12); // column 7, row 7
}

TEST(Board, LandingTotalCountsStacksAndOneForEverySpecialTile)
{
    Board board {};
    EXPECT_EQ(LandingTotal(board), 0);
    board[At(0, 0)] = 3;
    board[At(1, 0)] = Slide;
    board[At(2, 0)] = -7;
    board[At(3, 0)] = -128; // a code without a rule still bears one landing
    board[At(4, 0)] = 127;
    EXPECT_EQ(LandingTotal(board), 3 + 1 + 1 + 1 + 127);
    EXPECT_EQ(CountTiles(board), 5);
}

TEST(Board, DirectionTilesAllowOnlyTheirDirections)
{
    struct Case
    {
        CellCode code;
        int dCol, dRow;
        bool allowed;
    };
    for (const Case c : {Case {OneWayRight, 1, 0, true}, Case {OneWayRight, 2, 0, true},
             Case {OneWayRight, -1, 0, false}, Case {OneWayRight, 0, 1, false},
             Case {OneWayUp, 0, -2, true}, Case {OneWayUp, 0, 1, false},
             Case {OneWayLeft, -1, 0, true}, Case {OneWayLeft, 1, 0, false},
             Case {OneWayDown, 0, 1, true}, Case {OneWayDown, 0, -1, false},
             Case {HorizontalOnly, -2, 0, true}, Case {HorizontalOnly, 0, 1, false},
             Case {HorizontalOnly, 0, -1, false}, Case {VerticalOnly, 0, -2, true},
             Case {VerticalOnly, 1, 0, false}, Case {VerticalOnly, -1, 0, false},
             Case {Slide, -1, 0, true}, Case {-7, 0, 2, true}, Case {-13, 0, -1, true},
             Case {5, 2, 0, true}}) {
        SCOPED_TRACE(testing::Message() << int(c.code) << " by " << c.dCol << "," << c.dRow);
        EXPECT_EQ(MayLeave(c.code, c.dCol, c.dRow), c.allowed);
    }
}
