#include "LevelPicture.h"

#include "Ball.h"
#include "Tiles.h"

#include <QPainter>

namespace {

// The pixels a board of tiles of one covers on every cell.
QRect BoardRect(const Metrics &m)
{
    QRect covered;
    for (int col : {0, BoardSide - 1})
        for (int row : {0, BoardSide - 1})
            covered |= TileRect(m, CellX(m, col, row), CellY(m, row), 1);
    return covered;
}

Metrics Scaled(int cellW)
{
    // The proportions of the design's window, where CellW 26 goes with CellH 32.
    Metrics m;
    m.CellW = cellW;
    m.CellH = cellW * 32 / 26;
    m.FaceW = m.CellW * 3 / 4;
    m.FaceH = m.CellH * 3 / 4;
    m.LayerH = m.CellH / 6;
    return m;
}

} // namespace

Metrics PictureMetrics(QSize size)
{
    int cellW = 1;
    while (BoardRect(Scaled(cellW + 1)).width() <= size.width()
        && BoardRect(Scaled(cellW + 1)).height() <= size.height())
        ++cellW;
    return Scaled(cellW);
}

QImage LevelPicture(const Board &board, int heroCol, int heroRow, QSize size)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::black);
    const Metrics m = PictureMetrics(size);
    const QRect covered = BoardRect(m);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.translate(QPoint((size.width() - covered.width()) / 2, (size.height() - covered.height()) / 2)
        - covered.topLeft());
    for (int row = 0; row < BoardSide; ++row) {
        for (int col = 0; col < BoardSide; ++col)
            DrawTile(p, m, CellX(m, col, row), CellY(m, row), board[At(col, row)]);
    }
    if (OnBoard(heroCol, heroRow)) {
        const QPoint ball = BallPosition(m, heroCol, heroRow);
        ShadedBall(p, ball.x(), ball.y(), BallDiameter(m, 10), HeroColor);
    }
    return image;
}
