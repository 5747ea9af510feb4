// The hint on the board: an arrow from the hero's ball in the direction of
// the key to press. A step is a straight arrow to the next cell; a jump
// arches over the cell between, as the hop does, and lands on a ring on the
// cell beyond, so that it reads as a jump.
#pragma once

#include "Geometry.h"

#include <QPainterPath>
#include <QRect>

class QPainter;

// The centre line of the arrow for the key (dCol, dRow) pressed with the
// hero on cell (col, row): from the rim of his ball to the middle of the
// ball's place on the target cell.
QPainterPath HintArrowPath(const Metrics &m, int col, int row, int dCol, int dRow);

// Draws the arrow, its head and, for a jump, the landing ring; smoothed, on
// top of the board.
void DrawHintArrow(QPainter &painter, const Metrics &m, int col, int row, int dCol, int dRow);

// Every pixel DrawHintArrow may touch.
QRect HintArrowRect(const Metrics &m, int col, int row, int dCol, int dRow);
