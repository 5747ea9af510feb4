#include "Geometry.h"

#include "Board.h"

#include <algorithm>

Metrics ComputeMetrics(int clientWidth, int clientHeight)
{
    Metrics m;
    m.CellW = clientWidth / 25;
    m.CellH = clientHeight / 11;
    m.FaceW = m.CellW * 3 / 4;
    m.FaceH = m.CellH * 3 / 4;
    m.LayerH = m.CellH / 6;
    return m;
}

QRect FourToThreeArea(int clientWidth, int clientHeight)
{
    const int w = std::min(clientWidth, clientHeight * 4 / 3);
    const int h = std::min(clientHeight, clientWidth * 3 / 4);
    return QRect((clientWidth - w) / 2, (clientHeight - h) / 2, w, h);
}

Colour TileColour(int code)
{
    if (code >= 1 || code <= -13)
        return CountColor;
    if (code == Slide)
        return SlideTileColor;
    if (code >= TeleportLow && code <= TeleportHigh)
        return TeleportColors[code - TeleportLow];
    return ArrowTileColor; // the one-way, horizontal and vertical tiles
}
