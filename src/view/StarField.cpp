#include "StarField.h"

#include <QImage>

#include <algorithm>
#include <functional>

void StarField::ScatterStars(Random &random, int clientWidth, int clientHeight)
{
    for (std::size_t i = 0; i < StarCount; ++i) {
        StarX[i] = random(clientWidth / 3) * 3;
        StarY[i] = random(clientHeight / 3) * 3;
        StarBig[i] = random(20) / 18;
    }
}

QRect StarField::DrawStar(QImage &image, int i, Random &random) const
{
    const int x = StarX[static_cast<std::size_t>(i - 1)];
    const int y = StarY[static_cast<std::size_t>(i - 1)];
    const int g = random(256);
    // A star is one pixel of the board, so as many device pixels as the
    // image holds per pixel: it is read at its first and painted whole.
    const int r = std::max(1, qRound(image.devicePixelRatio()));
    const QRect area(0, 0, image.width() / r, image.height() / r);
    // Stars in the band below the board area lie outside the image.
    if (!area.contains(x, y))
        return {};
    const QRgb old = image.pixel(x * r, y * r) & 0xFFFFFF;
    if (qRed(old) != qGreen(old) || qGreen(old) != qBlue(old))
        return {};
    const QRgb grey = qRgb(g, g, g);
    // Of each block only the device pixels that match are painted: an edge
    // of a tile may cross it.
    const auto paint = [&](QPoint at, const std::function<bool(QRgb)> &match) {
        for (int dy = 0; dy < r; ++dy)
            for (int dx = 0; dx < r; ++dx) {
                const QPoint p(at.x() * r + dx, at.y() * r + dy);
                if (match(image.pixel(p) & 0xFFFFFF))
                    image.setPixel(p, grey);
            }
    };
    const auto same = [old](QRgb c) { return c == old; };
    paint(QPoint(x, y), [](QRgb c) { return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c); });
    if (StarBig[static_cast<std::size_t>(i - 1)] == 1) {
        for (const QPoint n :
            {QPoint(x + 1, y), QPoint(x - 1, y), QPoint(x, y + 1), QPoint(x, y - 1)}) {
            if (area.contains(n) && (image.pixel(n * r) & 0xFFFFFF) == old)
                paint(n, same);
        }
    }
    return QRect(x - 1, y - 1, 3, 3);
}
