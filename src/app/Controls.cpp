#include "Controls.h"

#include "DirectPixels.h"

#include <QMouseEvent>
#include <QPainter>

BoardBox::BoardBox(const QImage &buffer, QWidget *parent)
    : QWidget(parent)
    , buffer_(buffer)
    , direct_(new DirectPixels(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
}

void BoardBox::SetOutline(const QPolygon &outline)
{
    if (outline == outline_)
        return;
    update(OutlineArea());
    outline_ = outline;
    update(OutlineArea());
}

QRect BoardBox::OutlineArea() const
{
    // The pen is wider than a pixel.
    return outline_.isEmpty() ? QRect() : outline_.boundingRect().adjusted(-1, -1, 1, 1);
}

void BoardBox::ShowNow(std::span<const QRect> pieces)
{
    // The outline and the overlay are drawn over the buffer only by a paint;
    // an overlay that does not tell its area may draw anywhere.
    const QRect overlaid = !overlay ? QRect() : overlayArea ? overlayArea() : rect();
    const QRect over = OutlineArea() | overlaid;
    QRegion painted;
    straight_.clear();
    for (const QRect &piece : pieces) {
        if (over.intersects(piece))
            painted += piece;
        else
            straight_.push_back(piece);
    }
    if (!straight_.empty() && !direct_->Put(buffer_, straight_)) {
        for (const QRect &piece : straight_)
            painted += piece;
    }
    if (!painted.isEmpty())
        repaint(painted);
}

void BoardBox::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    // Only the pieces asked for: a twinkle changes a few pixels scattered
    // over the whole board, and their bounding box would be most of it.
    // The buffer may hold more pixels than the box has: one per device pixel.
    const qreal d = buffer_.devicePixelRatio();
    const QRectF held(QPointF(0, 0), buffer_.deviceIndependentSize());
    for (const QRect &r : event->region()) {
        if (!held.contains(r))
            p.fillRect(r, Qt::black); // beyond the buffer while a new size settles
        p.drawImage(
            QRectF(r), buffer_, QRectF(r.x() * d, r.y() * d, r.width() * d, r.height() * d));
    }
    if (!outline_.isEmpty()) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(outline_);
        p.restore();
    }
    if (overlay)
        overlay(p);
    p.end();
    if (!painted_) {
        painted_ = true;
        if (onFirstPaint)
            onFirstPaint();
    }
}

void BoardBox::mouseMoveEvent(QMouseEvent *event)
{
    pointer_ = event->position().toPoint();
    if (onHover)
        onHover(pointer_);
}

void BoardBox::leaveEvent(QEvent *event)
{
    pointer_.reset();
    if (onHover)
        onHover(std::nullopt);
    QWidget::leaveEvent(event);
}

void BoardBox::mousePressEvent(QMouseEvent *event)
{
    if (onMouseDown)
        onMouseDown(event->position().toPoint().x(), event->position().toPoint().y());
}

void BoardBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

Toolbox::Toolbox(const QImage &indicator, QWidget *parent)
    : QWidget(parent)
    , indicator_(indicator)
{ }

void Toolbox::SetSolved(bool solved)
{
    solved_ = solved;
    update(IndicatorRect());
}

void Toolbox::SetScale(qreal scale, const QImage &indicator)
{
    scale_ = scale;
    indicator_ = indicator;
    update();
}

QRect Toolbox::IndicatorRect() const
{
    return QRectF(QPointF(IndicatorAt) * scale_, QSizeF(50, 50) * scale_).toRect();
}

void Toolbox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // The picture holds one pixel per device pixel of the grown toolbar.
    const qreal d = indicator_.width() / 100.0;
    p.drawImage(
        QRectF(IndicatorRect()), indicator_, QRectF((solved_ ? 50 : 0) * d, 0, 50 * d, 50 * d));
}

SolvedGauge::SolvedGauge(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SolvedGauge::SetRange(int maximum, int progress)
{
    maximum_ = maximum;
    progress_ = progress;
    update();
}

void SolvedGauge::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (maximum_ > 0 && progress_ > 0) {
        const int w = static_cast<int>(
            static_cast<long long>(width()) * std::min(progress_, maximum_) / maximum_);
        p.fillRect(0, 0, w, height(), QColor(255, 0, 0));
    }
}
