#include "PictureButton.h"

#include "PictureList.h"

#include <QEnterEvent>
#include <QPainter>

PictureButton::PictureButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::SetFaces(const QImage &normal, const QImage &hot, const QImage &greyed)
{
    faces_[Normal] = WithTransparentColour(normal, qRgb(255, 255, 255));
    faces_[Hot] = WithTransparentColour(hot, qRgb(255, 255, 255));
    faces_[Greyed]
        = greyed.isNull() ? faces_[Normal] : WithTransparentColour(greyed, qRgb(255, 255, 255));
    update();
}

PictureButton::Face PictureButton::ShownFace() const
{
    if (!isEnabled())
        return Greyed;
    if (isDown())
        return Normal;
    return hot_ ? Hot : Normal;
}

QSize PictureButton::sizeHint() const
{
    return faces_[Normal].isNull() ? QSize(50, 50)
                                   : faces_[Normal].deviceIndependentSize().toSize();
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QImage &face = faces_[ShownFace()];
    if (!face.isNull())
        p.drawImage(0, 0, face);
}

void PictureButton::enterEvent(QEnterEvent *event)
{
    hot_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent *event)
{
    hot_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void PictureButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        update();
    QAbstractButton::changeEvent(event);
}
