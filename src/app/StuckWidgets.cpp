#include "StuckWidgets.h"

#include "Ball.h"
#include "Controls.h"

#include <QMouseEvent>
#include <QPainter>

HintSpot::HintSpot(QWidget *strip)
    : QWidget(strip)
{
    setGeometry(QRect(Toolbox::IndicatorAt, QSize(50, 50)));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void HintSpot::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (onClick)
        onClick();
}

SolvableMark::SolvableMark(QWidget *strip)
    : QWidget(strip)
{
    setGeometry(Place);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void SolvableMark::SetLamp(Lamp lamp)
{
    lamp_ = lamp;
    update();
}

void SolvableMark::paintEvent(QPaintEvent *)
{
    // Shaded like the hero's ball, lit from the upper left.
    constexpr Colour Green = Rgb(40, 230, 60);
    constexpr Colour Red = Rgb(255, 40, 40);
    constexpr Colour Grey = Rgb(150, 150, 150);
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    ShadedBall(p, 0, 0, std::min(width(), height()),
        lamp_ == Lamp::Green ? Green : (lamp_ == Lamp::Red ? Red : Grey));
}
