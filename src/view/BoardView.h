// The board area `box` as the player sees it: a back buffer with the tiles,
// the hero, the stars, every animation of a move and the victory dance.
#pragma once

#include "Geometry.h"
#include "Pause.h"
#include "Random.h"
#include "StarField.h"

#include <QImage>
#include <QRect>
#include <QRegion>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <span>

class Game;
class QPainter;

// The game's own choices of look beside the design's; all off, the board is
// drawn exactly as designed.
struct ViewLook
{
    bool smooth = false; // antialiased tiles, marks and ball
    bool calm = false; // stars that keep their light, and no victory dance
    bool contrast = false; // marks in high-contrast colours, also around the ball
};

class BoardView
{
public:
    // Reads the board, the hero's cell and the play state from the game.
    BoardView(const Game &game, Random &random);

    // How a frame reaches the screen: `repaintNow` before every pause of an
    // animation and for each twinkle, `updateLater` for drawing that the
    // next paint may show.
    void SetScreen(std::function<void(const QRegion &)> repaintNow,
        std::function<void(const QRegion &)> updateLater);
    // How a twinkle's stars reach the screen when not through `repaintNow`:
    // a few dozen small pieces scattered over the board, shown at once.
    void SetPiecesScreen(std::function<void(std::span<const QRect>)> showPieces)
    {
        showPieces_ = std::move(showPieces);
    }
    void SetClock(AnimationClock *clock) { clock_ = clock; }
    // The teleport plays its own sound.
    void SetEffectPlayer(std::function<void(int)> playEffect)
    {
        playEffect_ = std::move(playEffect);
    }

    // A new size: metrics from the client area, a black buffer the size of
    // the board area, and the stars scattered anew. `boardArea`, when given,
    // is the part of the client area the board is laid out in (a full screen
    // keeps the board at 4 : 3); the stars still fill the whole.
    void Resize(int clientWidth, int clientHeight, int boxWidth, int boxHeight,
        const QRect &boardArea = {});

    // Device pixels per pixel of the board: the buffer holds that many in
    // each direction, so that the board is sharp on a dense screen. Taken at
    // the next Resize.
    void SetPixelRatio(int ratio) { ratio_ = std::max(ratio, 1); }

    const Metrics &metrics() const { return m_; }
    const QImage &buffer() const { return buffer_; }
    StarField &stars() { return stars_; }

    int HeroX = 0;
    int HeroY = 0;
    ViewLook look;

    // The full repaint: board, the hero while the level is ready or in play,
    // and every star.
    void PaintBoard();

    // --- tiles, in drawing order (row by row from the back) ----------------
    void DrawCell(int col, int row, bool visible);
    void DrawBoard();
    void DrawCellsBefore(int col, int row);
    void DrawCellsAfter(int col, int row);
    // The cells strictly between two cells in drawing order; first has the
    // smaller key.
    void DrawCellsBetween(int firstCol, int firstRow, int secondCol, int secondRow);
    void DrawTileAt(int x, int y, int code);
    void EraseTileAt(int x, int y, int code);

    // --- the hero -----------------------------------------------------------
    void DrawHero(int col, int row);
    void DrawBall(int x, int y, bool shaded, int scale);

    // --- animations; each runs to its end before it returns ----------------
    void AnimateMove(int fromCol, int fromRow, int toCol, int toRow, bool teleport);
    void AnimateTileFall(int col, int row);
    void AnimateLayerDrop(int col, int row);
    void AnimateHeroFall(int col, int row);
    void AnimateBothFall(int tileCol, int tileRow, int heroCol, int heroRow);
    void LevelSweepOut();
    void LevelSweepIn();

    // --- the timer's part ---------------------------------------------------
    void Twinkle(); // fifty random stars, painted on the screen at once
    void Dance(); // one jitter of the ball after a solved level

    // Shows the frame drawn so far, then waits.
    void Pause(int ms);

private:
    void Touch(const QRect &r);
    void DrawCellsWhere(const std::function<bool(int key)> &take);
    int CodeAt(int col, int row) const;
    void Hop(int fromCol, int fromRow, int toCol, int toRow);
    void Teleport(int fromCol, int fromRow, int toCol, int toRow);
    QImage Save(int x, int y, int side) const;
    // The board area's size in its own pixels, whatever the buffer holds.
    QRect Area() const;
    // Pixels that smooth edges reach beyond a shape's own outline.
    int Fringe() const { return look.smooth ? 2 : 0; }
    void Smooth(QPainter &p) const;
    void MarkAroundBall(int col, int row, int code);
    void Restore(const QImage &saved, int x, int y);
    int FallLimit() const;
    // The frames of a fall: `clear` takes away what falls at its old place,
    // the anchors in `falling` move down, `draw` shows it at the new one;
    // until every anchor lies well below the board area.
    void Fall(std::initializer_list<int *> falling, const std::function<void()> &clear,
        const std::function<void()> &draw);

    const Game &game_;
    Random &random_;
    Metrics m_;
    QImage buffer_;
    StarField stars_;
    QRect dirty_;
    int ratio_ = 1;
    AnimationClock *clock_ = nullptr;
    SleepingClock sleeping_;
    std::function<void(const QRegion &)> repaintNow_;
    std::function<void(const QRegion &)> updateLater_;
    std::function<void(std::span<const QRect>)> showPieces_;
    std::function<void(int)> playEffect_;
};
