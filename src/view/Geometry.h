// The oblique board: its size units, the anchor of every cell, and colours.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>

#include <cstdint>

// Every size follows the main window's client area (toolbar strip included).
struct Metrics
{
    int CellW = 0; // tiles of a row are 2 CellW apart; each row lies CellW further left
    int CellH = 0; // rows are CellH apart
    int FaceW = 0; // slant unit of a top face
    int FaceH = 0; // depth of a top face on screen
    int LayerH = 0; // thickness of one slab
    // Where the board area begins in the board's pixels: 0, 0 unless a full
    // screen wider or higher than 4 : 3 centres the board in it.
    int OriginX = 0;
    int OriginY = 0;

    bool operator==(const Metrics &) const = default;
};

// Integer division truncates, as everywhere in the board's pixel arithmetic.
Metrics ComputeMetrics(int clientWidth, int clientHeight);

// The largest area of 4 : 3 inside a client area, centred in it: the board's
// share of a full screen of another shape.
QRect FourToThreeArea(int clientWidth, int clientHeight);

// The anchor of a cell's tile: the front-left corner of its lowest slab's
// top edge. Any integers are accepted; animations pass cells off the board.
constexpr int CellX(const Metrics &m, int col, int row)
{
    return m.OriginX + (2 * col - row + 8) * m.CellW;
}
constexpr int CellY(const Metrics &m, int row)
{
    return m.OriginY + (row + 2) * m.CellH;
}

// Colours as 0x00BBGGRR, so that the shades below keep each byte apart.
using Colour = std::uint32_t;

constexpr Colour Rgb(int r, int g, int b)
{
    return static_cast<Colour>(r) | static_cast<Colour>(g) << 8 | static_cast<Colour>(b) << 16;
}
constexpr int RedOf(Colour c)
{
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(Colour c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(Colour c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}

constexpr Colour BackColor = 0x00000000;
constexpr Colour CountColor = 0x0060D0E0;
constexpr Colour ArrowTileColor = 0x0000D000;
constexpr Colour ArrowColor = 0x0000FF20;
constexpr Colour SlideTileColor = 0x00FF0000;
constexpr Colour HeroColor = 0x004040FF;
// Indexed by code + 10, for the teleport groups -10 to -6.
constexpr Colour TeleportColors[5] = {0x004400EE, 0x006600CC, 0x008800AA, 0x00AA0088, 0x00CC0066};

// Each byte darkened to percent / 100, truncated.
constexpr Colour Shade(Colour c, int percent)
{
    return Rgb(RedOf(c) * percent / 100, GreenOf(c) * percent / 100, BlueOf(c) * percent / 100);
}

inline QColor ToQColor(Colour c)
{
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// The colour a tile of this code is built from.
Colour TileColour(int code);
