#include "DirectPixels.h"

#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr std::size_t PutHeaderBytes = sizeof(xcb_put_image_request_t);
constexpr int CoordinateLimit = 32767; // X places and sizes are 16 bits

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> ReplyPtr<Reply> Owned(Reply *reply)
{
    return ReplyPtr<Reply>(reply, &std::free);
}

// A QImage's RGB32 pixel, 0xffRRGGBB in the machine's byte order, is what
// a 24-bit true-colour window of 32 bits per pixel takes, the top byte
// unused, when the display orders image bytes as this machine does.
bool TakesRgb32(const xcb_setup_t *setup, std::uint8_t depth, xcb_visualid_t visual)
{
    const auto nativeOrder = QSysInfo::ByteOrder == QSysInfo::LittleEndian
        ? XCB_IMAGE_ORDER_LSB_FIRST
        : XCB_IMAGE_ORDER_MSB_FIRST;
    if (setup->image_byte_order != nativeOrder || depth != 24)
        return false;
    bool packed = false;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f)) {
        if (f.data->depth == depth)
            packed = f.data->bits_per_pixel == 32 && f.data->scanline_pad == 32;
    }
    if (!packed)
        return false;
    for (auto s = xcb_setup_roots_iterator(setup); s.rem; xcb_screen_next(&s)) {
        for (auto d = xcb_screen_allowed_depths_iterator(s.data); d.rem; xcb_depth_next(&d)) {
            for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
                if (v.data->visual_id == visual)
                    return d.data->depth == depth && v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR
                        && v.data->red_mask == 0xFF0000 && v.data->green_mask == 0xFF00
                        && v.data->blue_mask == 0xFF;
            }
        }
    }
    return false;
}

} // namespace

DirectPixels::DirectPixels(QWidget *target)
    : QObject(target)
    , target_(target)
{
    if (const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        connection_ = x11->connection();
}

DirectPixels::~DirectPixels()
{
    if (gc_)
        xcb_free_gc(connection_, gc_);
}

bool DirectPixels::Usable(QWindow *window)
{
    const auto id = static_cast<std::uint32_t>(window->winId());
    if (id == window_)
        return usable_;
    if (gc_)
        xcb_free_gc(connection_, gc_);
    gc_ = 0;
    window_ = id;
    usable_ = false;
    if (watched_ != window) {
        if (watched_)
            watched_->removeEventFilter(this);
        window->installEventFilter(this);
        watched_ = window;
    }

    const auto geometryAsked = xcb_get_geometry(connection_, id);
    const auto attributesAsked = xcb_get_window_attributes(connection_, id);
    xcb_generic_error_t *error = nullptr;
    const auto geometry = Owned(xcb_get_geometry_reply(connection_, geometryAsked, &error));
    std::free(error);
    error = nullptr;
    const auto attributes
        = Owned(xcb_get_window_attributes_reply(connection_, attributesAsked, &error));
    std::free(error);
    if (!geometry || !attributes
        || !TakesRgb32(xcb_get_setup(connection_), geometry->depth, attributes->visual))
        return false;

    gc_ = xcb_generate_id(connection_);
    // A piece put on a covered part of the window is not seen, and nothing
    // is asked of the display about it.
    const std::uint32_t noExposures = 0;
    xcb_create_gc(connection_, gc_, id, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    maxRequestBytes_ = std::size_t(xcb_get_maximum_request_length(connection_)) * 4;
    usable_ = true;
    return true;
}

bool DirectPixels::Put(const QImage &image, std::span<const QRect> pieces)
{
    if (!connection_ || !target_->isVisible() || image.format() != QImage::Format_RGB32)
        return false;
    QWidget *top = target_->window();
    QWindow *window = top->windowHandle();
    if (!window || !window->isExposed())
        return false;
    const qreal ratio = image.devicePixelRatio();
    if (!qFuzzyCompare(ratio, window->devicePixelRatio()) || ratio != std::round(ratio))
        return false;
    const int r = static_cast<int>(ratio);
    const QPoint origin = target_->mapTo(top, QPoint(0, 0)) * r;
    const QRect onWindow(origin, image.size());
    if (onWindow.left() < 0 || onWindow.top() < 0 || onWindow.right() > CoordinateLimit
        || onWindow.bottom() > CoordinateLimit || !Usable(window))
        return false;

    for (const QRect &piece : pieces) {
        const QRect device = QRect(piece.topLeft() * r, piece.size() * r) & image.rect();
        if (device.isEmpty())
            continue;
        const auto width = static_cast<std::size_t>(device.width());
        // One request each, or a band of rows each where a piece is larger
        // than the display takes at once; a row always fits, as the window
        // is narrower than the largest place X can name.
        const int rowsAtOnce = static_cast<int>(
            std::max<std::size_t>(1, (maxRequestBytes_ - PutHeaderBytes) / (width * 4)));
        for (int y = device.top(); y <= device.bottom(); y += rowsAtOnce) {
            const int rows = std::min(rowsAtOnce, device.bottom() + 1 - y);
            piece_.resize(width * static_cast<std::size_t>(rows));
            for (int row = 0; row < rows; ++row)
                std::memcpy(&piece_[width * static_cast<std::size_t>(row)],
                    image.constScanLine(y + row) + std::size_t(device.x()) * 4, width * 4);
            xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_,
                static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(rows),
                static_cast<std::int16_t>(origin.x() + device.x()),
                static_cast<std::int16_t>(origin.y() + y), 0, 24,
                static_cast<std::uint32_t>(piece_.size() * 4),
                reinterpret_cast<const std::uint8_t *>(piece_.data()));
        }
    }
    xcb_flush(connection_);
    behindQt_ = true;
    return true;
}

bool DirectPixels::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Expose && behindQt_) {
        behindQt_ = false;
        target_->update();
    }
    return QObject::eventFilter(watched, event);
}
