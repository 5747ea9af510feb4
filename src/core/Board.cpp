#include "Board.h"

int LandingTotal(const Board &board)
{
    int total = 0;
    for (CellCode c : board)
        total += Landings(c);
    return total;
}

int CountTiles(const Board &board)
{
    int count = 0;
    for (CellCode c : board)
        count += c != Empty ? 1 : 0;
    return count;
}

bool MayLeave(CellCode c, int dCol, int dRow)
{
    switch (c) {
    case OneWayRight:
        return dCol > 0;
    case OneWayUp:
        return dRow < 0;
    case OneWayLeft:
        return dCol < 0;
    case OneWayDown:
        return dRow > 0;
    case HorizontalOnly:
        return dCol != 0;
    case VerticalOnly:
        return dRow != 0;
    default:
        return true;
    }
}
