// An in-memory list of pictures, each rendered once from its vector source
// at the size it is used at.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <vector>

// Renders an SVG file (a resource path such as ":/pictures/...") at exactly
// that size on a transparent background, with `ratio` device pixels per
// pixel (the screen's, unless given), so that it is sharp on a dense screen.
// A source that cannot be read gives a transparent picture of the size, so
// that no control changes its layout.
QImage RenderPicture(const QString &source, QSize size, qreal ratio = 0);

// Device pixels per pixel of the application's screens; 1 without any.
qreal ScreenPixelRatio();

// Makes every pixel of exactly this colour transparent.
QImage WithTransparentColour(QImage image, QRgb colour);

class PictureList
{
public:
    void Add(const QString &source, QSize size, qreal ratio = 0)
    {
        pictures_.push_back(RenderPicture(source, size, ratio));
    }
    void Add(const QImage &picture) { pictures_.push_back(picture); }

    int Count() const { return static_cast<int>(pictures_.size()); }
    const QImage &Image(int i) const { return pictures_.at(static_cast<std::size_t>(i)); }
    QPixmap Pixmap(int i) const { return QPixmap::fromImage(Image(i)); }

private:
    std::vector<QImage> pictures_;
};
