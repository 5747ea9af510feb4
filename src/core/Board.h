// The board of one level: 64 cell codes, column-major, as stored in the level set.
#pragma once

#include <array>
#include <cstdint>

using CellCode = std::int8_t;

// Cell (col, row) is element col * 8 + row. The column changes with Left and
// Right, the row with Up and Down; row 0 is the back line on screen.
using Board = std::array<CellCode, 64>;

constexpr int BoardSide = 8;

constexpr CellCode Empty = 0;
constexpr CellCode OneWayRight = -1;
constexpr CellCode OneWayUp = -2;
constexpr CellCode OneWayLeft = -3;
constexpr CellCode OneWayDown = -4;
constexpr CellCode Slide = -5;
constexpr CellCode TeleportLow = -10; // five teleport groups, -10 to -6
constexpr CellCode TeleportHigh = -6;
constexpr CellCode HorizontalOnly = -11;
constexpr CellCode VerticalOnly = -12;

constexpr int At(int col, int row)
{
    return col * BoardSide + row;
}

constexpr bool OnBoard(int col, int row)
{
    return col >= 0 && col < BoardSide && row >= 0 && row < BoardSide;
}

constexpr bool IsTeleport(CellCode c)
{
    return c >= TeleportLow && c <= TeleportHigh;
}

// What a tile adds to the landing total: a counted tile its count, every
// special tile (and every negative code without a rule) one.
constexpr int Landings(CellCode c)
{
    return c > 0 ? c : (c < 0 ? 1 : 0);
}

// The sum of the landings of all 64 cells. When it is 1, only the tile under
// the hero is left and it bears no further departure.
int LandingTotal(const Board &board);

int CountTiles(const Board &board);

// Whether a tile may be left with the vector (dCol, dRow). Only the one-way,
// horizontal and vertical tiles restrict it.
bool MayLeave(CellCode c, int dCol, int dRow);

// The position in which cells are painted: row by row from the back, and
// within a row from left to right.
constexpr int DrawOrderKey(int col, int row)
{
    return row * BoardSide + col;
}
