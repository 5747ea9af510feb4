// The toolbar strip's places for the help when stuck: the solved indicator
// answers a click with the hint, and a small lamp beside it tells whether
// the level can still be finished.
#pragma once

#include <QWidget>

#include <functional>

// Lies over the solved indicator, which is no control of its own: a click
// there asks for the hint. It draws nothing, so the strip looks as before.
class HintSpot : public QWidget
{
    Q_OBJECT
public:
    explicit HintSpot(QWidget *strip);
    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

// A lamp at the right edge of the solved indicator, over the black margin of
// its picture and in the gap before the options button, which is there at
// every window size: green while the level can still be finished, red once
// it cannot, grey while nobody can tell.
class SolvableMark : public QWidget
{
    Q_OBJECT
public:
    enum class Lamp { Grey, Green, Red };
    static constexpr QRect Place {450, 23, 13, 13};

    explicit SolvableMark(QWidget *strip);
    void SetLamp(Lamp lamp);
    Lamp Shown() const { return lamp_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Lamp lamp_ = Lamp::Grey;
};
