#include "Controls.h"

#include <QMouseEvent>
#include <QPainter>

BoardBox::BoardBox(const QImage &buffer, QWidget *parent)
    : QWidget(parent)
    , buffer_(buffer)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void BoardBox::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect r = event->rect();
    p.fillRect(r, Qt::black); // beyond the buffer while a new size settles
    p.drawImage(r.topLeft(), buffer_, r);
    if (overlay)
        overlay(p);
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
    update(QRect(IndicatorAt, QSize(50, 50)));
}

void Toolbox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(IndicatorAt, indicator_, QRect(solved_ ? 50 : 0, 0, 50, 50));
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
