// All levels of the set at a glance: each a small picture drawn with the
// board's own tile drawing, with its number and its solved mark. Arrow keys
// and the mouse move through them, Enter or a double click plays one, Esc
// closes the window.
#pragma once

#include "LevelSet.h"

#include <QAbstractScrollArea>
#include <QDialog>
#include <QHash>
#include <QImage>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QCheckBox;

using SolvedMarks = std::array<std::int32_t, MaxLevels>;

// The pictures in rows as wide as the window; only the rows in sight are
// drawn, each picture once per size.
class LevelGrid : public QAbstractScrollArea
{
    Q_OBJECT
public:
    // A picture is about this wide; the pictures share the width exactly, so
    // they grow with the window until another column fits.
    static constexpr int PictureWidth = 190;

    // Reads the levels and the marks as they are at each paint.
    LevelGrid(const LevelTable &levels, const SolvedMarks &marks, const QImage &indicator,
        QWidget *parent);

    // The levels shown, in order, and the one chosen among them.
    void SetLevels(std::vector<int> levels, int chosen);
    const std::vector<int> &Levels() const { return shown_; }
    int Chosen() const;
    void Choose(int level);
    // Scrolls the chosen level to the middle of the window.
    void CentreChosen();
    int LevelCount() const { return levels_.Count(); }

    int Columns() const;
    QSize CellSize() const;
    // The cell of the level at that index, in the viewport's coordinates.
    QRect CellRect(int index) const;
    // The index of the cell at a point of the viewport, or -1.
    int IndexAt(QPoint point) const;
    int CurrentLevel = 0; // framed apart from the chosen one

    std::function<void(int level)> onPlay;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void ChooseIndex(int index);
    void Relayout();
    const QImage &Picture(int level, QSize size);

    const LevelTable &levels_;
    const SolvedMarks &marks_;
    QImage solvedMark_;
    QImage unsolvedMark_;
    std::vector<int> shown_;
    int chosen_ = -1; // index into shown_
    QSize pictureSize_;
    QHash<int, QImage> pictures_; // by level, at pictureSize_
};

class TLevelOverview : public QDialog
{
    Q_OBJECT
public:
    TLevelOverview(const LevelTable &levels, const SolvedMarks &marks, const QImage &indicator,
        QWidget *mainWindow);

    // Shows the levels modally with `current` chosen. `mayLeave` asks the
    // player, when a level is in play, whether to give it up; the level to
    // play comes back, or 0 when the window was closed.
    int ShowModal(int current, int language, std::function<bool()> mayLeave);
    // All of ShowModal but the showing: texts, levels and the chosen one.
    void Prepare(int current, int language, std::function<bool()> mayLeave);

    LevelGrid *Grid;
    QCheckBox *UnsolvedOnly;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Fill(int chosen);
    void Play(int level);

    const SolvedMarks &marks_;
    std::function<bool()> mayLeave_;
    int picked_ = 0;
    bool placed_ = false;
};
