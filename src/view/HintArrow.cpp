#include "HintArrow.h"

#include "Ball.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr QColor ArrowFill {255, 224, 64};
constexpr QColor ArrowRim {40, 24, 0};

QPointF BallCentre(const Metrics &m, int col, int row)
{
    const double d = BallDiameter(m, 10);
    return QPointF(BallPosition(m, col, row)) + QPointF(d / 2, d / 2);
}

// The width of the arrow's shaft: thick enough to read beside the ball.
double ShaftWidth(const Metrics &m)
{
    return std::max(3.0, m.CellW / 5.0);
}

double HeadLength(const Metrics &m)
{
    return std::max(8.0, m.CellW * 0.55);
}

bool IsJump(int dCol, int dRow)
{
    return std::abs(dCol) == 2 || std::abs(dRow) == 2;
}

} // namespace

QPainterPath HintArrowPath(const Metrics &m, int col, int row, int dCol, int dRow)
{
    const QPointF from = BallCentre(m, col, row);
    const QPointF to = BallCentre(m, col + dCol, row + dRow);
    const double radius = BallDiameter(m, 10) / 2.0;
    QPainterPath path;
    if (!IsJump(dCol, dRow)) {
        const QPointF along = to - from;
        const double length = std::hypot(along.x(), along.y());
        path.moveTo(length > 0 ? from + along * (radius / length) : from);
        path.lineTo(to);
        return path;
    }
    // The hop's parabola peaks CellH above the straight line for a jump; a
    // quadratic curve whose control point lies twice as high does the same.
    const QPointF control = (from + to) / 2 - QPointF(0, 2 * m.CellH);
    const QPointF lift = control - from;
    const double length = std::hypot(lift.x(), lift.y());
    path.moveTo(length > 0 ? from + lift * (radius / length) : from);
    path.quadTo(control, to);
    return path;
}

void DrawHintArrow(QPainter &painter, const Metrics &m, int col, int row, int dCol, int dRow)
{
    const QPainterPath shaft = HintArrowPath(m, col, row, dCol, dRow);
    if (shaft.isEmpty())
        return;
    const double width = ShaftWidth(m);
    const double head = HeadLength(m);

    // The shaft ends where the head begins; the head points along the end
    // of the curve.
    const double total = shaft.length();
    const double headStart = std::max(0.0, (total - head) / total);
    const QPointF tip = shaft.pointAtPercent(1);
    const QPointF base = shaft.pointAtPercent(headStart);
    QPointF dir = tip - base;
    const double dirLength = std::hypot(dir.x(), dir.y());
    if (dirLength <= 0)
        return;
    dir /= dirLength;
    const QPointF side(-dir.y(), dir.x());
    QPolygonF arrowHead;
    arrowHead << tip << base + side * (head * 0.55) << base - side * (head * 0.55);

    constexpr int Pieces = 24; // enough to look round at any size
    QPainterPath body(shaft.pointAtPercent(0));
    for (int i = 1; i <= Pieces; ++i)
        body.lineTo(shaft.pointAtPercent(headStart * i / Pieces));

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    if (IsJump(dCol, dRow)) {
        // The ring where the hero lands.
        const double r = BallDiameter(m, 10) / 2.0 + 1;
        const QPointF at = BallCentre(m, col + dCol, row + dRow);
        painter.setPen(QPen(ArrowRim, width / 2 + 3));
        painter.drawEllipse(at, r, r * 0.6);
        painter.setPen(QPen(ArrowFill, width / 2));
        painter.drawEllipse(at, r, r * 0.6);
    }
    painter.setPen(QPen(ArrowRim, width + 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush); // a curved shaft is a line, never an area
    painter.drawPath(body);
    painter.setBrush(ArrowRim);
    painter.drawPolygon(arrowHead);
    painter.setPen(QPen(ArrowFill, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(body);
    painter.setPen(QPen(ArrowFill, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(ArrowFill);
    painter.drawPolygon(arrowHead);
    painter.restore();
}

QRect HintArrowRect(const Metrics &m, int col, int row, int dCol, int dRow)
{
    const QPainterPath shaft = HintArrowPath(m, col, row, dCol, dRow);
    const int margin = static_cast<int>(std::ceil(HeadLength(m) + ShaftWidth(m) + 4));
    QRectF around = shaft.boundingRect();
    if (IsJump(dCol, dRow)) {
        const double r = BallDiameter(m, 10) / 2.0 + 1;
        const QPointF at = BallCentre(m, col + dCol, row + dRow);
        around |= QRectF(at - QPointF(r, r), at + QPointF(r, r));
    }
    return around.toAlignedRect().adjusted(-margin, -margin, margin, margin);
}
