// A whole level as a small picture: the board's own tile drawing at a size
// that fits, with the hero on his start cell.
#pragma once

#include "Board.h"
#include "Geometry.h"

#include <QImage>
#include <QSize>

// The largest metrics at which a board of tiles of one fits `size`, in the
// board's own proportions.
Metrics PictureMetrics(QSize size);

// The board on black, centred in an image of `size`. Stacks taller than the
// picture are cut at its edge.
QImage LevelPicture(const Board &board, int heroCol, int heroRow, QSize size);
