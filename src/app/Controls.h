// The main window's own controls: the board's paint box, the toolbar strip
// with the solved indicator, and the solved-levels gauge.
#pragma once

#include <QImage>
#include <QPolygon>
#include <QWidget>

#include <functional>
#include <optional>
#include <span>
#include <vector>

class DirectPixels;
class QPainter;

// `box`: shows the board's back buffer; any mouse button pressed on it is a
// click on the board (a double click counts as a second press).
class BoardBox : public QWidget
{
    Q_OBJECT
public:
    BoardBox(const QImage &buffer, QWidget *parent);
    std::function<void(int x, int y)> onMouseDown;
    // The pointer over the board, or off it (no point): the window answers
    // with the outline to show, if any.
    std::function<void(std::optional<QPoint> at)> onHover;

    // A thin outline over the board, not part of its pixels: it is drawn on
    // the screen only, and an empty one shows nothing.
    void SetOutline(const QPolygon &outline);
    const QPolygon &Outline() const { return outline_; }
    // Where the pointer was last seen over the board.
    std::optional<QPoint> Pointer() const { return pointer_; }
    // Drawn over the buffer at every paint, never into it (the hint's arrow),
    // within what `overlayArea` tells.
    std::function<void(QPainter &painter)> overlay;
    std::function<QRect()> overlayArea;
    // Called once, after the first paint.
    std::function<void()> onFirstPaint;

    // Shows these few pieces of the buffer at once, as a repaint of them
    // would. Those that nothing is drawn over go straight to the display
    // where it allows that: a twinkle's fifty stars ten times a second
    // would cost several times as much through a paint.
    void ShowNow(std::span<const QRect> pieces);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QRect OutlineArea() const;

    const QImage &buffer_;
    DirectPixels *direct_;
    std::vector<QRect> straight_; // ShowNow's pieces for the display
    QPolygon outline_;
    std::optional<QPoint> pointer_;
    bool painted_ = false;
};

// `toolbox`: the strip under the toolbar's controls. The window's black shows
// through it; it draws only the solved indicator, a 50 x 50 block of the
// indicator picture (not solved at x 0, solved at x 50).
class Toolbox : public QWidget
{
    Q_OBJECT
public:
    static constexpr QPoint IndicatorAt {405, 4};

    Toolbox(const QImage &indicator, QWidget *parent);
    void SetSolved(bool solved);
    bool Solved() const { return solved_; }
    // A toolbar grown by `scale`: the indicator's picture drawn for that
    // size, and its place and size grown alike.
    void SetScale(qreal scale, const QImage &indicator);
    QRect IndicatorRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage indicator_;
    bool solved_ = false;
    qreal scale_ = 1;
};

// `gsol`: a red bar on black without border or text; its hint tells the count.
class SolvedGauge : public QWidget
{
    Q_OBJECT
public:
    explicit SolvedGauge(QWidget *parent);
    void SetRange(int maximum, int progress);
    int Maximum() const { return maximum_; }
    int Progress() const { return progress_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int maximum_ = 100;
    int progress_ = 0;
};
