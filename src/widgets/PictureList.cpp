#include "PictureList.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QResource>
#include <QSvgRenderer>
#include <QtEndian>

#include <algorithm>
#include <atomic>

qreal ScreenPixelRatio()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

QImage RenderPicture(const QString &source, QSize size, qreal ratio)
{
    if (ratio <= 0)
        ratio = ScreenPixelRatio();
    if (ratio == 1) {
        QImage drawn = DrawnAhead(source, size);
        if (!drawn.isNull())
            return drawn;
    }
    return DrawPicture(source, size, ratio);
}

namespace {

std::atomic<int> drawn {0};

class PictureIconEngine : public QIconEngine
{
public:
    PictureIconEngine(QString source, std::vector<int> sides)
        : source_(std::move(source))
        , sides_(std::move(sides))
    { }
    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        return QPixmap::fromImage(RenderPicture(source_, size, 1));
    }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap picture = pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
        picture.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), picture);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int side : sides_)
            sizes.append(QSize(side, side));
        return sizes;
    }
    QIconEngine *clone() const override { return new PictureIconEngine(source_, sides_); }

private:
    QString source_;
    std::vector<int> sides_;
};

} // namespace

QIcon PictureIcon(const QString &source, const std::vector<int> &sides)
{
    return QIcon(new PictureIconEngine(source, sides));
}

int PicturesDrawn()
{
    return drawn;
}

QImage DrawPicture(const QString &source, QSize size, qreal ratio)
{
    ++drawn;
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

QString DrawnAheadName(const QString &picture, QSize size)
{
    static const QLatin1String suffix(".svg");
    if (!picture.endsWith(suffix) || size.isEmpty())
        return {};
    return picture.chopped(suffix.size())
        + QStringLiteral("-%1x%2.argb").arg(size.width()).arg(size.height());
}

QImage DrawnAhead(const QString &source, QSize size)
{
    static const QLatin1String from(":/pictures/");
    if (!source.startsWith(from))
        return {};
    const QString name = DrawnAheadName(source.mid(from.size()), size);
    if (name.isEmpty())
        return {};
    const QResource resource(QStringLiteral(":/prerendered/") + name);
    if (!resource.isValid())
        return {};
    const QByteArray words = resource.uncompressedData();
    if (words.size() != qsizetype(size.width()) * size.height() * 4)
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    const char *word = words.constData();
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x, word += 4)
            line[x] = qFromLittleEndian<quint32>(word);
    }
    return image;
}

QByteArray PixelWords(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QByteArray words(qsizetype(image.width()) * image.height() * 4, Qt::Uninitialized);
    char *word = words.data();
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x, word += 4)
            qToLittleEndian<quint32>(line[x], word);
    }
    return words;
}

QImage WithTransparentColour(QImage image, QRgb colour)
{
    // Premultiplied, as the pictures are drawn: an opaque pixel reads the same
    // either way. A picture without a pixel of the colour (none of ours has
    // one) is kept as it is, shared with the list it came from.
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb key = colour | 0xFF000000;
    const auto holdsKey = [&](int y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        return std::find(line, line + image.width(), key) != line + image.width();
    };
    int y = 0;
    while (y < image.height() && !holdsKey(y))
        ++y;
    for (; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        std::replace(line, line + image.width(), key, QRgb(0));
    }
    return image;
}
