// One tile of the board, drawn with plain filled polygons: usable on any
// painter, also without the game's window (the rules help draws single tiles).
#pragma once

#include "Geometry.h"

#include <QPolygon>
#include <QRect>

class QPainter;

// Draws the tile of a cell code at the anchor (x, y): top face, the code's
// mark, then its slabs (the count of a positive code, one for any other).
// Code 0 draws nothing. `contrast` draws the mark in high-contrast colours
// instead of the design's. The design's look needs a painter that does not
// antialias.
void DrawTile(QPainter &painter, const Metrics &m, int x, int y, int code, bool contrast = false);

// Whether the tile of this code carries a mark: the direction, slide and
// teleport tiles.
bool HasMark(int code);

// The top face of a tile at (x, y).
QPolygon TopFaceOf(const Metrics &m, int x, int y);

// The outlines of a code's mark in the high-contrast colours, without fill:
// drawn again around the ball that stands on the tile.
void DrawMarkOutline(QPainter &painter, const Metrics &m, int x, int y, int code);

// The high-contrast colours of the marks. Neither is a grey, so that no
// star ever twinkles on a mark.
constexpr Colour ContrastLight = Rgb(255, 250, 200);
constexpr Colour ContrastDark = Rgb(20, 16, 56);

// Fills the silhouette of such a tile with the background colour.
void EraseTile(QPainter &painter, const Metrics &m, int x, int y, int code);

// That silhouette: the top face and every slab of the code.
QPolygon TileSilhouette(const Metrics &m, int x, int y, int code);

// The pixels DrawTile and EraseTile may touch for this code at (x, y).
QRect TileRect(const Metrics &m, int x, int y, int code);
