#include "PictureList.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

qreal ScreenPixelRatio()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

QImage RenderPicture(const QString &source, QSize size, qreal ratio)
{
    if (ratio <= 0)
        ratio = ScreenPixelRatio();
    QImage image((QSizeF(size) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QSvgRenderer svg(source);
    if (svg.isValid()) {
        QPainter p(&image);
        svg.render(&p, QRectF(QPointF(0, 0), QSizeF(size))); // in pixels of the picture
    }
    return image;
}

QImage WithTransparentColour(QImage image, QRgb colour)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = colour | 0xFF000000;
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == key)
                line[x] = 0;
        }
    }
    return image;
}
