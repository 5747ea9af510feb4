// An in-memory list of pictures, each rendered once from its vector source
// at the size it is used at.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <vector>

// A picture of an SVG file (a resource path such as ":/pictures/...") at
// exactly that size on a transparent background, with `ratio` device pixels
// per pixel (the screen's, unless given), so that it is sharp on a dense
// screen. A source that cannot be read gives a transparent picture of the
// size, so that no control changes its layout. At one device pixel per pixel
// and the size it was drawn at when the program was built, the picture is
// read from those pixels instead of being drawn again.
QImage RenderPicture(const QString &source, QSize size, qreal ratio = 0);

// The SVG file as an icon with pictures of these sides (in device pixels),
// each drawn, or read as the build drew it, whenever it is asked for and
// not kept: a window's icon is handed to the window system once, and
// the window would otherwise hold every size of it for good.
QIcon PictureIcon(const QString &source, const std::vector<int> &sides);

// Always draws the SVG file; this is what the build's pictures are made with.
QImage DrawPicture(const QString &source, QSize size, qreal ratio);

// The pixels that the build drew for a resource picture ":/pictures/X.svg"
// at a size W x H, kept as ":/prerendered/X-WxH.argb": one 32-bit
// premultiplied ARGB word per pixel, little-endian, row after row. A null
// image when there are none, or when they do not fill exactly `size`.
QImage DrawnAhead(const QString &source, QSize size);
// "X-WxH.argb" for the picture "X.svg"; empty for any other name.
QString DrawnAheadName(const QString &picture, QSize size);

// How many pictures this program has drawn from their sources so far.
int PicturesDrawn();

// How the build keeps a drawn picture: the layout DrawnAhead reads.
QByteArray PixelWords(const QImage &picture);

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
