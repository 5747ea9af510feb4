// Pixels put straight on an X display, read back from the display itself:
// what the player sees must be what a paint of the widget would show.
#include "DirectPixels.h"
#include "Controls.h"

#include <gtest/gtest.h>

#include <QExposeEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPolygon>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

xcb_connection_t *Connection()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// What the display shows of `widget`, asked on Qt's own connection after
// every request sent so far.
QImage OnScreen(const QWidget *widget)
{
    xcb_connection_t *c = Connection();
    const QPoint at = widget->mapTo(widget->window(), QPoint(0, 0));
    const auto asked = xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP,
        static_cast<xcb_drawable_t>(widget->window()->winId()), static_cast<std::int16_t>(at.x()),
        static_cast<std::int16_t>(at.y()), static_cast<std::uint16_t>(widget->width()),
        static_cast<std::uint16_t>(widget->height()), ~0u);
    std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
        xcb_get_image_reply(c, asked, nullptr), &std::free);
    if (!reply)
        return {};
    const QImage shown(
        xcb_get_image_data(reply.get()), widget->width(), widget->height(), QImage::Format_RGB32);
    return shown.copy();
}

// Pixels that differ from their neighbours and from anything painted before.
void Pattern(QImage &image, const QRect &piece, int seed)
{
    for (int y = piece.top(); y <= piece.bottom(); ++y)
        for (int x = piece.left(); x <= piece.right(); ++x)
            image.setPixel(x, y, qRgb((x * 7 + seed) & 255, (y * 13 + seed) & 255, (x ^ y) & 255));
}

// A widget that shows an image as it is, counting its paints.
class Picture : public QWidget
{
public:
    explicit Picture(const QImage &image)
        : image_(image)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(image.deviceIndependentSize().toSize());
    }
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *) override
    {
        ++paints;
        QPainter(this).drawImage(0, 0, image_);
    }

private:
    const QImage &image_;
};

// A window with a grey margin around `inner`, shown and painted.
class Shown
{
public:
    explicit Shown(QWidget *inner)
    {
        window.setAutoFillBackground(true);
        window.setPalette(QPalette(Qt::gray));
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(23, 31, 17, 11);
        layout->addWidget(inner);
        window.show();
        exposed = QTest::qWaitForWindowExposed(&window);
        // Qt's own first paint, whenever it comes, is behind us.
        window.repaint();
        QCoreApplication::processEvents();
    }
    QWidget window;
    bool exposed = false;
};

// An image of one colour shown by a Picture in a Shown window, and the
// DirectPixels for that picture.
struct PictureShown
{
    PictureShown(QSize size, QColor colour)
        : image(Filled(size, colour))
        , target(new Picture(image))
        , shown(target)
        , direct(target)
    { }
    static QImage Filled(QSize size, QColor colour)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }
    QImage image;
    Picture *target;
    Shown shown;
    DirectPixels direct;
};

} // namespace

TEST(DirectPixels, PutsEachPieceWhereTheWidgetShowsItAndNothingElse)
{
    ASSERT_NE(Connection(), nullptr) << "these tests need an X display";
    PictureShown p(QSize(200, 120), qRgb(10, 80, 20));
    auto &[image, target, shown, direct] = p;
    ASSERT_TRUE(shown.exposed);
    ASSERT_EQ(OnScreen(target), image) << "the first paint shows the image";

    const int paints = target->paints;
    // Star-sized pieces, a wide one, one in a corner, one partly outside.
    const std::vector<QRect> pieces {QRect(5, 7, 3, 3), QRect(100, 60, 3, 3),
        QRect(20, 90, 150, 12), QRect(0, 0, 1, 1), QRect(195, 115, 10, 10)};
    for (std::size_t n = 0; n < pieces.size(); ++n)
        Pattern(image, pieces[n] & image.rect(), int(n) * 40);
    ASSERT_TRUE(direct.Put(image, pieces));
    EXPECT_EQ(target->paints, paints) << "no paint";
    EXPECT_EQ(OnScreen(target), image);
    // The margin around the widget is untouched.
    const QImage margin = OnScreen(&shown.window);
    EXPECT_EQ(margin.pixel(5, 5), QColor(Qt::gray).rgb());
    EXPECT_EQ(margin.pixel(23 + 200 + 4, 31 + 120 + 4), QColor(Qt::gray).rgb());
}

TEST(DirectPixels, AnUncoveredWindowShowsThePiecesPutBefore)
{
    // Qt shows an uncovered window from its own copy of it, which has not
    // seen the pieces put past it.
    ASSERT_NE(Connection(), nullptr);
    PictureShown p(QSize(120, 90), Qt::black);
    auto &[image, target, shown, direct] = p;
    ASSERT_TRUE(shown.exposed);
    const QRect piece(40, 30, 20, 10);
    Pattern(image, piece, 3);
    ASSERT_TRUE(direct.Put(image, std::span(&piece, 1)));

    QExposeEvent uncovered(QRegion(shown.window.rect()));
    QCoreApplication::sendEvent(shown.window.windowHandle(), &uncovered);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(OnScreen(target), image);
}

TEST(DirectPixels, RefusesWhatCannotGoStraightAndSendsNothing)
{
    ASSERT_NE(Connection(), nullptr);
    PictureShown p(QSize(100, 60), Qt::white);
    auto &[image, target, shown, direct] = p;
    ASSERT_TRUE(shown.exposed);
    const QRect piece(10, 10, 30, 20);
    Pattern(image, piece, 9);
    const QImage shownBefore = OnScreen(target);

    // Pixels with an alpha channel, or two device pixels per pixel on a
    // window of one.
    EXPECT_FALSE(direct.Put(image.convertToFormat(QImage::Format_ARGB32), std::span(&piece, 1)));
    QImage dense = image.scaled(200, 120);
    dense.setDevicePixelRatio(2);
    EXPECT_FALSE(direct.Put(dense, std::span(&piece, 1)));
    // A hidden widget.
    target->hide();
    EXPECT_FALSE(direct.Put(image, std::span(&piece, 1)));
    target->show();
    EXPECT_EQ(OnScreen(target), shownBefore);
}

TEST(BoardBoxShowNow, TheScreenShowsWhatAPaintWouldOutlineAndOverlayIncluded)
{
    ASSERT_NE(Connection(), nullptr);
    QImage buffer(240, 180, QImage::Format_RGB32);
    buffer.fill(Qt::black);
    auto *box = new BoardBox(buffer, nullptr);
    box->setFixedSize(240, 180);
    const QRect overlaid(150, 20, 40, 30);
    box->overlay = [&](QPainter &p) { p.fillRect(overlaid, Qt::yellow); };
    box->overlayArea = [&] { return overlaid; };
    box->SetOutline(QPolygon({QPoint(20, 100), QPoint(80, 100), QPoint(60, 140), QPoint(0, 140)}));
    Shown shown(box);
    ASSERT_TRUE(shown.exposed);

    // Pieces free, under the outline's edge, and under the overlay.
    const std::vector<QRect> pieces {QRect(100, 60, 3, 3), QRect(200, 150, 3, 3),
        QRect(49, 99, 3, 3), QRect(160, 30, 3, 3), QRect(148, 18, 4, 4)};
    for (std::size_t n = 0; n < pieces.size(); ++n)
        Pattern(buffer, pieces[n], int(n) * 50);
    box->ShowNow(pieces);
    EXPECT_EQ(OnScreen(box), box->grab().toImage().convertToFormat(QImage::Format_RGB32));

    // Without an outline or overlay every piece goes straight.
    box->SetOutline({});
    box->overlay = nullptr;
    box->repaint();
    for (std::size_t n = 0; n < pieces.size(); ++n)
        Pattern(buffer, pieces[n], int(n) * 50 + 7);
    box->ShowNow(pieces);
    EXPECT_EQ(OnScreen(box), buffer);
}
