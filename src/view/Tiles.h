// One tile of the board, drawn with plain filled polygons: usable on any
// painter, also without the game's window (the rules help draws single tiles).
#pragma once

#include "Geometry.h"

#include <QRect>

class QPainter;

// Draws the tile of a cell code at the anchor (x, y): top face, the code's
// mark, then its slabs (the count of a positive code, one for any other).
// Code 0 draws nothing. The painter must not antialias.
void DrawTile(QPainter &painter, const Metrics &m, int x, int y, int code);

// Fills the silhouette of such a tile with the background colour.
void EraseTile(QPainter &painter, const Metrics &m, int x, int y, int code);

// The pixels DrawTile and EraseTile may touch for this code at (x, y).
QRect TileRect(const Metrics &m, int x, int y, int code);
