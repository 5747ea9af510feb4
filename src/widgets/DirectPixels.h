// Pixels put straight onto a widget's window on an X display, past Qt's
// paint and backing store. For a few dozen scattered pieces of a picture,
// ten times a second, Qt's way (an update request, a paint event with a
// clipped painter, a flush of each piece from the backing store) costs
// several times what the pieces themselves do; here each piece is one
// request. Only where the display takes the picture's pixels as they are
// (24 bits of colour in 32, in the machine's byte order) and the window is
// on an X display at all: elsewhere Put refuses and the caller repaints.
#pragma once

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <span>
#include <vector>

class QImage;
class QRect;
class QWidget;
class QWindow;
struct xcb_connection_t;

class DirectPixels : public QObject
{
public:
    explicit DirectPixels(QWidget *target);
    ~DirectPixels() override;

    // Puts these pieces of `image` on the display and sends them before it
    // returns. The pieces are in the target's pixels and lie inside it; the
    // image holds image.devicePixelRatio() device pixels per pixel and its
    // top left is the target's. The caller has made sure nothing is drawn
    // over them. False, with nothing sent, where the pixels cannot go
    // straight: the caller repaints them as usual.
    bool Put(const QImage &image, std::span<const QRect> pieces);

protected:
    // Qt shows an uncovered window from its backing store, which has not
    // seen the pieces put since the target's last paint: the target is
    // painted again then.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Whether pixels can go straight to `window`, asked of the display once
    // per window.
    bool Usable(QWindow *window);

    QWidget *target_;
    xcb_connection_t *connection_ = nullptr;
    std::uint32_t window_ = 0; // the window `usable_` and `gc_` are for
    std::uint32_t gc_ = 0;
    bool usable_ = false;
    std::size_t maxRequestBytes_ = 0;
    QPointer<QWindow> watched_;
    bool behindQt_ = false; // pieces put that Qt's backing store lacks
    std::vector<std::uint32_t> piece_;
};
