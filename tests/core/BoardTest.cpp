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
    // A step and a jump each way: right, up, left, down.
    const std::pair<int, int> vectors[]
        = {{1, 0}, {2, 0}, {0, -1}, {0, -2}, {-1, 0}, {-2, 0}, {0, 1}, {0, 2}};
    struct Rule
    {
        CellCode code;
        const char *allowed; // per vector: its letter when allowed, '-' when refused
    };
    for (const Rule r :
        {Rule {OneWayRight, "RR------"}, Rule {OneWayUp, "--UU----"}, Rule {OneWayLeft, "----LL--"},
            Rule {OneWayDown, "------DD"}, Rule {HorizontalOnly, "RR--LL--"},
            Rule {VerticalOnly, "--UU--DD"}, Rule {Slide, "RRUULLDD"}, Rule {-6, "RRUULLDD"},
            Rule {-10, "RRUULLDD"}, Rule {-13, "RRUULLDD"}, Rule {-128, "RRUULLDD"},
            Rule {1, "RRUULLDD"}, Rule {127, "RRUULLDD"}}) {
        for (std::size_t i = 0; i < std::size(vectors); ++i) {
            const auto [dCol, dRow] = vectors[i];
            SCOPED_TRACE(testing::Message() << int(r.code) << " by " << dCol << "," << dRow);
            EXPECT_EQ(MayLeave(r.code, dCol, dRow), r.allowed[i] != '-');
        }
    }
}
