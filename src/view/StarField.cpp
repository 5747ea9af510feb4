#include "StarField.h"

#include <QImage>

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
    // Stars in the band below the board area lie outside the image.
    if (!image.rect().contains(x, y))
        return {};
    const QRgb old = image.pixel(x, y) & 0xFFFFFF;
    if (qRed(old) != qGreen(old) || qGreen(old) != qBlue(old))
        return {};
    const QRgb grey = qRgb(g, g, g);
    image.setPixel(x, y, grey);
    if (StarBig[static_cast<std::size_t>(i - 1)] == 1) {
        for (const QPoint n :
            {QPoint(x + 1, y), QPoint(x - 1, y), QPoint(x, y + 1), QPoint(x, y - 1)}) {
            if (image.rect().contains(n) && (image.pixel(n) & 0xFFFFFF) == old)
                image.setPixel(n, grey);
        }
    }
    return QRect(x - 1, y - 1, 3, 3);
}
