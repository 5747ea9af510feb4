#include "Ball.h"

#include <QPainter>

#include <algorithm>

namespace {

// The ellipse inside the rectangle from (left, top) up to, not including,
// (right, bottom).
void Ellipse(QPainter &p, int left, int top, int right, int bottom, Colour colour)
{
    p.setPen(QPen(ToQColor(colour), 1));
    p.setBrush(ToQColor(colour));
    p.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

} // namespace

QPoint BallPosition(const Metrics &m, int col, int row)
{
    return {CellX(m, col, row) + 3 * m.CellW / 5, CellY(m, row) - 6 * m.CellH / 7};
}

int BallDiameter(const Metrics &m, int scale)
{
    return std::min(m.CellW * scale / 10, (2 * m.CellH / 3) * scale / 10);
}

int SaveSquare(const Metrics &m)
{
    return 2 * m.CellH / 3;
}

void ShadedBall(QPainter &p, int x, int y, int size, Colour colour)
{
    const int h = size / 2;
    if (h == 0) {
        // Too small for rings: one dot in the brightest shade.
        Ellipse(p, x, y, x + size, y + size, Shade(colour, 90));
        return;
    }
    for (int i = 0; i <= h; ++i) {
        const int percent = 90 - (h - i) * 70 / h;
        Ellipse(p, x + i / 2, y + i / 2, x + size - i, y + size - i, Shade(colour, percent));
    }
}

void EraseBall(QPainter &p, int x, int y, int size)
{
    // The rings of a small ball do not all lie inside the outermost one on
    // the pixel grid; erasing every ring leaves no trace of any.
    ShadedBall(p, x, y, size, BackColor);
}
