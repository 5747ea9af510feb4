// The hero ball: where it sits on a cell, its size, and its shading.
#pragma once

#include "Geometry.h"

#include <QPoint>

class QPainter;

// The top-left corner of the ball's bounding square on the tile of a cell.
QPoint BallPosition(const Metrics &m, int col, int row);

// The diameter at scale 1..10 (10 is the hero at rest).
int BallDiameter(const Metrics &m, int scale);

// The side of the square the hop and teleport save and restore around the
// ball; never smaller than the diameter at scale 10.
int SaveSquare(const Metrics &m);

// Rings from dark (20 %) outside to bright (90 %) inside, each smaller and
// moved up and left, so that the ball looks lit from the upper left. Every
// ellipse covers the pixels from its left-top corner up to, not including,
// its right-bottom corner.
void ShadedBall(QPainter &painter, int x, int y, int size, Colour colour);

// Fills the disc of a ball of that size with the background colour: it
// erases a shaded ball of the same size at the same place exactly.
void EraseBall(QPainter &painter, int x, int y, int size);
