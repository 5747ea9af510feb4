#include "PicturePanel.h"

#include <QPainter>

PicturePanel::PicturePanel(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PicturePanel::SetPicture(const QImage &picture)
{
    picture_ = picture;
    update();
}

void PicturePanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect all = rect();
    p.fillRect(all, Qt::black);
    if (!picture_.isNull())
        p.drawTiledPixmap(all, QPixmap::fromImage(picture_));

    // A black frame with a faint light edge on the upper left, so that the
    // panel stands out of the black around it.
    const QColor light(96, 96, 96);
    const QColor dark(0, 0, 0);
    for (int i = 0; i < BevelWidth; ++i) {
        const QRect r = all.adjusted(i, i, -i - 1, -i - 1);
        p.setPen(i == 0 ? light : dark);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(dark);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
    p.setPen(QPen(QColor(0, 0, 0, 110), 1));
    for (int i = BevelWidth; i < BevelWidth + BorderWidth; ++i)
        p.drawRect(all.adjusted(i, i, -i - 1, -i - 1));
}
