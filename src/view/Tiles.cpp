#include "Tiles.h"

#include "Board.h"

#include <QPainter>
#include <QPolygon>
#include <QVarLengthArray>

#include <algorithm>
#include <limits>

namespace {

struct TopFace
{
    QPoint FL, FR, BR, BL; // corners
    QPoint Lm, Rm, Fm, Bm; // edge middles
    QPoint I0, I1, I2, I3; // the inner parallelogram of the teleport marks
};

TopFace FaceAt(const Metrics &m, int x, int y)
{
    const int top = y - m.LayerH;
    const int back = top - m.FaceH;
    const int fw = m.FaceW;
    TopFace f;
    f.FL = {x, top};
    f.FR = {x + 2 * fw, top};
    f.BR = {x + 3 * fw, back};
    f.BL = {x + fw, back};
    f.Lm = {x + fw / 2, top - m.FaceH / 2};
    f.Rm = {x + 2 * fw + fw / 2, top - m.FaceH / 2};
    f.Fm = {x + fw, top};
    f.Bm = {x + 2 * fw, back};
    f.I0 = {x + fw / 2 + fw / 4, top - m.FaceH / 4};
    f.I1 = {x + 2 * fw - fw / 4, top - m.FaceH / 4};
    f.I2 = {x + 2 * fw + fw / 2 - fw / 4, back + m.FaceH / 4};
    f.I3 = {x + fw + fw / 4, back + m.FaceH / 4};
    return f;
}

// A width of 1 is the one-pixel cosmetic pen: it covers every corner of an
// outline, so that erasing a tile's silhouette leaves none of its pixels.
QPen PenOf(Colour colour, int width)
{
    QPen pen(ToQColor(colour), width == 1 ? 0 : width);
    pen.setCosmetic(width == 1);
    return pen;
}

void Use(QPainter &p, Colour pen, Colour brush, int penWidth = 1)
{
    p.setPen(PenOf(pen, penWidth));
    p.setBrush(ToQColor(brush));
}

void Fill(QPainter &p, std::initializer_list<QPoint> points)
{
    p.drawPolygon(QPolygon(QList<QPoint>(points)));
}

// The middle of two inner points; along the horizontal edges I0-I1 and
// I3-I2 the first point's y is kept.
QPoint Middle(QPoint a, QPoint b, bool keepFirstY = false)
{
    return {(a.x() + b.x()) / 2, keepFirstY ? a.y() : (a.y() + b.y()) / 2};
}

// How a mark is drawn: as the design has it, in the high-contrast colours,
// or only its outlines in those colours.
enum class MarkStyle { Design, Contrast, Outline };

void DrawMark(QPainter &p, const TopFace &f, int code, Colour base, MarkStyle style)
{
    const bool contrast = style != MarkStyle::Design;
    const bool outlineOnly = style == MarkStyle::Outline;
    const Colour arrowPen = contrast ? ContrastDark : Shade(ArrowTileColor, 80);
    const auto pens = [&](QPainter &painter, Colour pen, Colour brush, int penWidth = 1) {
        painter.setPen(PenOf(pen, outlineOnly ? 2 : penWidth));
        if (outlineOnly)
            painter.setBrush(Qt::NoBrush);
        else
            painter.setBrush(ToQColor(brush));
    };
    const auto arrow = [&](std::initializer_list<QPoint> triangle) {
        pens(p, arrowPen, contrast ? ContrastLight : ArrowColor);
        Fill(p, triangle);
    };
    const auto outline = [&](std::initializer_list<QPoint> triangle) {
        p.setPen(PenOf(arrowPen, outlineOnly ? 2 : 1));
        p.setBrush(Qt::NoBrush);
        Fill(p, triangle);
    };
    const QPoint crossA = Middle(f.I0, f.I1, true), crossB = Middle(f.I3, f.I2, true);
    const QPoint crossC = Middle(f.I0, f.I3), crossD = Middle(f.I1, f.I2);
    const auto cross = [&] {
        p.drawLine(crossA, crossB);
        p.drawLine(crossC, crossD);
    };
    const auto diamond = [&] {
        p.drawPolyline(QPolygon({crossA, crossD, crossB, crossC, crossA}));
    };
    // The teleport marks are lines: light on their dark tiles in contrast.
    const Colour linePen = contrast ? ContrastLight : Shade(base, 80);
    const auto inner = [&] {
        pens(p, linePen, base, 2);
        Fill(p, {f.I0, f.I1, f.I2, f.I3});
    };

    switch (code) {
    case OneWayRight:
        arrow({f.FL, f.Rm, f.BL});
        break;
    case OneWayUp:
        arrow({f.FL, f.FR, f.Bm});
        break;
    case OneWayLeft:
        arrow({f.Lm, f.FR, f.BR});
        break;
    case OneWayDown:
        arrow({f.Fm, f.BR, f.BL});
        break;
    case HorizontalOnly:
        arrow({f.FL, f.Rm, f.BL});
        arrow({f.Lm, f.FR, f.BR});
        outline({f.FL, f.Rm, f.BL});
        break;
    case VerticalOnly:
        arrow({f.FL, f.FR, f.Bm});
        arrow({f.Fm, f.BR, f.BL});
        outline({f.FL, f.FR, f.Bm});
        break;
    case Slide:
        if (contrast)
            pens(p, ContrastDark, ContrastLight);
        else
            pens(p, BackColor, Shade(SlideTileColor, 80));
        Fill(p, {f.Fm, f.Rm, f.Bm, f.Lm});
        break;
    case -6:
        inner();
        break;
    case -7:
        inner();
        p.drawLine(f.I0, f.I2);
        p.drawLine(f.I1, f.I3);
        break;
    case -8:
        inner();
        cross();
        break;
    case -9:
        inner();
        diamond();
        break;
    case -10:
        // No inner parallelogram here, unlike the other four groups.
        pens(p, linePen, base, 2);
        cross();
        diamond();
        break;
    default:
        break; // counted tiles and codes without a rule carry no mark
    }
}

// The lowest row a painter can reach, so that slabs hanging below it are not
// drawn at all (a stack of 127 slabs reaches far below the window).
int LowestVisibleY(const QPainter &p)
{
    if (!p.device() || !p.worldTransform().isIdentity())
        return std::numeric_limits<int>::max();
    int bottom = p.device()->height() - 1;
    if (p.hasClipping())
        bottom = std::min(bottom, p.clipBoundingRect().toAlignedRect().bottom());
    return bottom;
}

} // namespace

bool HasMark(int code)
{
    return code <= OneWayRight && code >= VerticalOnly;
}

QPolygon TopFaceOf(const Metrics &m, int x, int y)
{
    const TopFace f = FaceAt(m, x, y);
    return QPolygon({f.FL, f.FR, f.BR, f.BL});
}

void DrawMarkOutline(QPainter &p, const Metrics &m, int x, int y, int code)
{
    DrawMark(p, FaceAt(m, x, y), code, TileColour(code), MarkStyle::Outline);
}

void DrawTile(QPainter &p, const Metrics &m, int x, int y, int code, bool contrast)
{
    if (code == Empty)
        return;
    const Colour base = TileColour(code);
    const TopFace f = FaceAt(m, x, y);

    Use(p, Shade(base, 80), base);
    Fill(p, {f.FL, f.FR, f.BR, f.BL});
    DrawMark(p, f, code, base, contrast ? MarkStyle::Contrast : MarkStyle::Design);

    // The slabs come after the mark: slab 0's outline lies over the front
    // edge of the top face.
    const int slabs = code > 0 ? code : 1;
    const int fw = m.FaceW;
    const int bottom = LowestVisibleY(p);
    // Slabs hanging past the bottom edge are not drawn at all (a stack of
    // 127 reaches far below the window).
    int shown = 0;
    while (shown < slabs && y + (shown - 1) * m.LayerH - m.FaceH <= bottom)
        ++shown;

    // The slabs share their edges, so the stack is filled as one block and
    // the outlines are drawn over it: first the front faces (a rectangle
    // each), then the right faces (parallelograms with upright sides). This
    // gives the picture of drawing them slab by slab, at a small part of the
    // cost for a high stack.
    if (shown == 0)
        return;
    const int top = y - m.LayerH; // front face of slab 0 starts here
    const int low = y + (shown - 1) * m.LayerH;
    QVarLengthArray<QLine, 132> lines;
    for (int i = 0; i <= shown; ++i)
        lines.append(QLine(x, top + i * m.LayerH, x + 2 * fw, top + i * m.LayerH));
    lines.append(QLine(x, top, x, low));
    lines.append(QLine(x + 2 * fw, top, x + 2 * fw, low));
    p.setPen(Qt::NoPen);
    p.setBrush(ToQColor(Shade(base, 80)));
    p.drawRect(QRect(x, top, 2 * fw, low - top));
    p.setPen(PenOf(Shade(base, 65), 1));
    p.drawLines(lines.data(), static_cast<int>(lines.size()));

    lines.clear();
    for (int i = 0; i <= shown; ++i)
        lines.append(
            QLine(x + 2 * fw, top + i * m.LayerH, x + 3 * fw, top + i * m.LayerH - m.FaceH));
    lines.append(QLine(x + 2 * fw, top, x + 2 * fw, low));
    lines.append(QLine(x + 3 * fw, top - m.FaceH, x + 3 * fw, low - m.FaceH));
    p.setPen(Qt::NoPen);
    p.setBrush(ToQColor(Shade(base, 65)));
    Fill(p,
        {{x + 2 * fw, low}, {x + 3 * fw, low - m.FaceH}, {x + 3 * fw, top - m.FaceH},
            {x + 2 * fw, top}});
    p.setPen(PenOf(Shade(base, 50), 1));
    p.drawLines(lines.data(), static_cast<int>(lines.size()));
}

QPolygon TileSilhouette(const Metrics &m, int x, int y, int code)
{
    const int n = code > 0 ? code - 1 : 0;
    const int low = y + n * m.LayerH;
    const int fw = m.FaceW;
    return QPolygon({{x, low}, {x + 2 * fw, low}, {x + 3 * fw, low - m.FaceH},
        {x + 3 * fw, y - m.FaceH - m.LayerH}, {x + fw, y - m.FaceH - m.LayerH}, {x, y - m.LayerH}});
}

void EraseTile(QPainter &p, const Metrics &m, int x, int y, int code)
{
    Use(p, BackColor, BackColor);
    const QPolygon silhouette = TileSilhouette(m, x, y, code);
    p.drawPolygon(silhouette);
    // The rasteriser leaves out a corner where two outline edges meet at
    // some angles; the tile's own faces cover it, so it is erased here too.
    p.drawPoints(silhouette);
}

QRect TileRect(const Metrics &m, int x, int y, int code)
{
    // One pixel more on every side for the outlines and the 2-pixel pens.
    const int n = code > 0 ? code - 1 : 0;
    const int top = y - m.LayerH - m.FaceH - 1;
    const int bottom = y + n * m.LayerH + 1;
    return QRect(QPoint(x - 1, top), QPoint(x + 3 * m.FaceW + 1, bottom));
}
