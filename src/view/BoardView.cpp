#include "BoardView.h"

#include "Ball.h"
#include "Game.h"
#include "Tiles.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace {

// How long each frame stands: the only timing of the animations.
constexpr int HopFramePause = 20;
constexpr int TeleportFramePause = 35;
constexpr int FallFramePause = 30;
constexpr int SweepTilePause = 10; // after each counted tile that vanishes or appears

constexpr int TwinklesPerTick = 50;

constexpr int FullBall = 10; // the ball's scale at rest; 1 is the smallest
constexpr int TeleportFrames = FullBall - 1;
constexpr int HopFramesPerCell = 5;
constexpr int SmallestHopStep = 4; // pixels; a shorter step would crawl

} // namespace

BoardView::BoardView(const Game &game, Random &random)
    : game_(game)
    , random_(random)
    , buffer_(1, 1, QImage::Format_RGB32)
    , clock_(&sleeping_)
{
    buffer_.fill(Qt::black);
}

void BoardView::SetScreen(std::function<void(const QRegion &)> repaintNow,
    std::function<void(const QRegion &)> updateLater)
{
    repaintNow_ = std::move(repaintNow);
    updateLater_ = std::move(updateLater);
}

void BoardView::Resize(
    int clientWidth, int clientHeight, int boxWidth, int boxHeight, const QRect &boardArea)
{
    if (boardArea.isEmpty()) {
        m_ = ComputeMetrics(clientWidth, clientHeight);
    } else {
        m_ = ComputeMetrics(boardArea.width(), boardArea.height());
        m_.OriginX = boardArea.x();
        m_.OriginY = boardArea.y();
    }
    buffer_ = QImage(
        std::max(boxWidth, 1) * ratio_, std::max(boxHeight, 1) * ratio_, QImage::Format_RGB32);
    buffer_.setDevicePixelRatio(ratio_);
    buffer_.fill(Qt::black);
    dirty_ = {};
    stars_.ScatterStars(random_, clientWidth, clientHeight);
    Touch(Area());
}

QRect BoardView::Area() const
{
    return QRect(0, 0, buffer_.width() / ratio_, buffer_.height() / ratio_);
}

void BoardView::Touch(const QRect &r)
{
    const QRect visible = r & Area();
    if (visible.isEmpty())
        return;
    dirty_ |= visible;
    if (updateLater_)
        updateLater_(visible);
}

void BoardView::Pause(int ms)
{
    if (!dirty_.isEmpty() && repaintNow_)
        repaintNow_(dirty_);
    dirty_ = {};
    clock_->Pause(ms);
}

int BoardView::CodeAt(int col, int row) const
{
    return OnBoard(col, row) ? game_.board[At(col, row)] : Empty;
}

int BoardView::FallLimit() const
{
    // Well below the bottom edge of the board area.
    return Area().height() + 2 * m_.FaceH;
}

// --- tiles -------------------------------------------------------------------

void BoardView::Smooth(QPainter &p) const
{
    p.setRenderHint(QPainter::Antialiasing, look.smooth);
}

void BoardView::DrawTileAt(int x, int y, int code)
{
    if (code == Empty)
        return;
    QPainter p(&buffer_);
    Smooth(p);
    DrawTile(p, m_, x, y, code, look.contrast);
    Touch(TileRect(m_, x, y, code).adjusted(-Fringe(), -Fringe(), Fringe(), Fringe()));
}

void BoardView::EraseTileAt(int x, int y, int code)
{
    QPainter p(&buffer_);
    EraseTile(p, m_, x, y, code);
    if (look.smooth) {
        // Smooth edges reach a pixel past the outline; a wider pen takes
        // them away too.
        p.setPen(QPen(Qt::black, 2 * Fringe() + 1));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(TileSilhouette(m_, x, y, code));
    }
    Touch(TileRect(m_, x, y, code).adjusted(-Fringe(), -Fringe(), Fringe(), Fringe()));
}

void BoardView::DrawCell(int col, int row, bool visible)
{
    if (!OnBoard(col, row))
        return;
    const int code = CodeAt(col, row);
    if (visible)
        DrawTileAt(CellX(m_, col, row), CellY(m_, row), code);
    else
        EraseTileAt(CellX(m_, col, row), CellY(m_, row), code);
}

void BoardView::DrawCellsWhere(const std::function<bool(int key)> &take)
{
    QPainter p(&buffer_);
    Smooth(p);
    QRect touched;
    for (int row = 0; row < BoardSide; ++row) {
        for (int col = 0; col < BoardSide; ++col) {
            const int code = CodeAt(col, row);
            if (code == Empty || !take(DrawOrderKey(col, row)))
                continue;
            const int x = CellX(m_, col, row);
            const int y = CellY(m_, row);
            DrawTile(p, m_, x, y, code, look.contrast);
            touched |= TileRect(m_, x, y, code).adjusted(-Fringe(), -Fringe(), Fringe(), Fringe());
        }
    }
    p.end();
    Touch(touched);
}

void BoardView::DrawBoard()
{
    DrawCellsWhere([](int) { return true; });
}

void BoardView::DrawCellsBefore(int col, int row)
{
    const int key = DrawOrderKey(col, row);
    DrawCellsWhere([key](int k) { return k < key; });
}

void BoardView::DrawCellsAfter(int col, int row)
{
    const int key = DrawOrderKey(col, row);
    DrawCellsWhere([key](int k) { return k > key; });
}

void BoardView::DrawCellsBetween(int firstCol, int firstRow, int secondCol, int secondRow)
{
    const int first = DrawOrderKey(firstCol, firstRow);
    const int second = DrawOrderKey(secondCol, secondRow);
    DrawCellsWhere([first, second](int k) { return k > first && k < second; });
}

void BoardView::PaintBoard()
{
    buffer_.fill(Qt::black);
    Touch(Area());
    DrawBoard();
    if (game_.PlayState < PlaySolved)
        DrawHero(game_.HeroCol, game_.HeroRow);
    else if (game_.PlayState == PlaySolved && look.calm)
        DrawBall(HeroX, HeroY, true, FullBall); // no dance moves it on: it stays in sight
    // The whole area is touched already.
    for (int i = 1; i <= StarCount; ++i)
        stars_.DrawStar(buffer_, i, random_);
}

// --- the hero ------------------------------------------------------------------

void BoardView::DrawBall(int x, int y, bool shaded, int scale)
{
    const int d = BallDiameter(m_, scale);
    QPainter p(&buffer_);
    Smooth(p);
    if (shaded) {
        ShadedBall(p, x, y, d, HeroColor);
    } else {
        p.setRenderHint(QPainter::Antialiasing, false);
        EraseBall(p, x, y, d);
        if (look.smooth) {
            p.setPen(QPen(Qt::black, 2 * Fringe() + 1));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRect(x, y, d - 1, d - 1));
        }
    }
    p.end();
    const int f = 1 + Fringe();
    Touch(QRect(x - f, y - f, d + 2 * f, d + 2 * f));
}

void BoardView::DrawHero(int col, int row)
{
    const QPoint at = BallPosition(m_, col, row);
    HeroX = at.x();
    HeroY = at.y();
    DrawBall(HeroX, HeroY, true, FullBall);
    const int code = CodeAt(col, row);
    if (look.contrast && HasMark(code))
        MarkAroundBall(col, row, code);
}

void BoardView::MarkAroundBall(int col, int row, int code)
{
    // The ball hides the middle of its tile's mark: the mark's outlines are
    // drawn again up to a light ring round the ball, all on the top face, so
    // that drawing the tile again takes them away.
    const int x = CellX(m_, col, row);
    const int y = CellY(m_, row);
    const int d = BallDiameter(m_, FullBall);
    const QRect ball(HeroX, HeroY, d, d);
    QPainter p(&buffer_);
    Smooth(p);
    const QRegion face(TopFaceOf(m_, x, y));
    p.setClipRegion(face - QRegion(ball.adjusted(-2, -2, 2, 2), QRegion::Ellipse));
    DrawMarkOutline(p, m_, x, y, code);
    p.setClipRegion(face);
    p.setPen(QPen(ToQColor(ContrastLight), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(ball.adjusted(-1, -1, 0, 0));
    p.end();
    Touch(TileRect(m_, x, y, code));
}

QImage BoardView::Save(int x, int y, int side) const
{
    // Pixels outside the buffer come back black and are never written back.
    // Smooth edges reach past the square, and so does the ball's outline by
    // half a pixel on a dense screen: a wider one is kept.
    const int f = Fringe() + (ratio_ > 1 ? 1 : 0);
    const int r = ratio_;
    QImage saved = buffer_.copy((x - f) * r, (y - f) * r, (side + 2 * f) * r, (side + 2 * f) * r);
    saved.setDevicePixelRatio(r);
    return saved;
}

void BoardView::Restore(const QImage &saved, int x, int y)
{
    const int f = Fringe() + (ratio_ > 1 ? 1 : 0);
    QPainter p(&buffer_);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(x - f, y - f, saved);
    p.end();
    Touch(QRect(x - f, y - f, saved.width() / ratio_, saved.height() / ratio_));
}

// --- animations ------------------------------------------------------------------

void BoardView::AnimateMove(int fromCol, int fromRow, int toCol, int toRow, bool teleport)
{
    if (teleport)
        Teleport(fromCol, fromRow, toCol, toRow);
    else
        Hop(fromCol, fromRow, toCol, toRow);
}

void BoardView::Hop(int fromCol, int fromRow, int toCol, int toRow)
{
    const int side = SaveSquare(m_);
    const QPoint from = BallPosition(m_, fromCol, fromRow);
    const QPoint to = BallPosition(m_, toCol, toRow);
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    if (dx == 0)
        return; // no move along a row or column has dx 0; nothing to show
    const int n = std::max(std::abs(fromCol - toCol), std::abs(fromRow - toRow));
    int step = dx / (HopFramesPerCell * n);
    if (std::abs(step) <= SmallestHopStep)
        step = dx < 0 ? -SmallestHopStep : SmallestHopStep;

    // A parabola through both ball positions, n * CellH / 2 above the
    // straight line halfway. The factors are kept in single precision.
    const float rise = static_cast<float>(2 * n * m_.CellH) / static_cast<float>(dx);
    const float bend = -rise / static_cast<float>(dx);
    const float slope = static_cast<float>(dy) / static_cast<float>(dx);

    for (int d = step; std::abs(d) <= std::abs(dx); d += step) {
        const double lift = static_cast<double>(bend) * d * d + static_cast<double>(rise) * d
            - static_cast<double>(slope) * d;
        const int px = from.x() + d;
        // Rounds half to even in the default rounding mode.
        const int py = from.y() - static_cast<int>(std::nearbyint(lift));
        const QImage saved = Save(px, py, side);
        DrawBall(px, py, true, FullBall);
        Pause(HopFramePause);
        Restore(saved, px, py);
    }
}

void BoardView::Teleport(int fromCol, int fromRow, int toCol, int toRow)
{
    const int s = SaveSquare(m_);
    const QPoint from = BallPosition(m_, fromCol, fromRow);
    const QPoint to = BallPosition(m_, toCol, toRow);
    if (playEffect_)
        playEffect_(EffectTeleport);
    // The ball shrinks at the source while it grows at the target, each
    // centred in its saved square.
    for (int i = 1; i <= TeleportFrames; ++i) {
        const QImage left = Save(from.x(), from.y(), s);
        const int o1 = (s - ((FullBall - i) * s) / FullBall) / 2;
        DrawBall(from.x() + o1, from.y() + o1, true, FullBall - i);
        const QImage right = Save(to.x(), to.y(), s);
        const int o2 = (s - (s * i) / FullBall) / 2;
        DrawBall(to.x() + o2, to.y() + o2, true, i);
        Pause(TeleportFramePause);
        Restore(left, from.x(), from.y());
        Restore(right, to.x(), to.y());
    }
}

void BoardView::Fall(std::initializer_list<int *> falling, const std::function<void()> &clear,
    const std::function<void()> &draw)
{
    if (m_.LayerH <= 0)
        return; // nothing falls on a board without size
    const auto stillFalling = [&] {
        return std::any_of(
            falling.begin(), falling.end(), [this](const int *y) { return *y < FallLimit(); });
    };
    // In frame k everything falling moves down by k * LayerH / 3, so the fall
    // accelerates; the first test comes before the first frame.
    for (int k = 1; stillFalling(); ++k) {
        clear();
        for (int *y : falling)
            *y += k * m_.LayerH / 3;
        draw();
        Pause(FallFramePause);
    }
}

void BoardView::AnimateTileFall(int col, int row)
{
    const int x = CellX(m_, col, row);
    const int code = CodeAt(col, row);
    int y = CellY(m_, row);
    Fall(
        {&y},
        [&] {
            EraseTileAt(x, y, 1);
            DrawCellsBefore(col, row);
        },
        [&] {
            DrawTileAt(x, y, code);
            DrawCellsAfter(col, row);
            // The hero stays where he stands, after a teleport on the partner.
            DrawHero(game_.HeroCol, game_.HeroRow);
        });
}

void BoardView::AnimateLayerDrop(int col, int row)
{
    const int x = CellX(m_, col, row);
    const int stackY = CellY(m_, row);
    const int n = CodeAt(col, row);
    int y = stackY + n * m_.LayerH; // right under the remaining stack
    Fall(
        {&y},
        [&] {
            EraseTileAt(x, y, 1);
            DrawTileAt(x, stackY, n);
            DrawCellsBefore(col, row);
        },
        [&] {
            DrawTileAt(x, y, 1); // the falling slab, a counted tile of one
            DrawTileAt(x, stackY, n);
            DrawCellsAfter(col, row);
            DrawHero(game_.HeroCol, game_.HeroRow);
        });
}

void BoardView::AnimateHeroFall(int col, int row)
{
    const QPoint at = BallPosition(m_, col, row);
    const int hx = at.x();
    int hy = at.y();
    Fall(
        {&hy},
        [&] {
            DrawBall(hx, hy, false, FullBall);
            DrawCellsBefore(col, row);
        },
        [&] {
            DrawBall(hx, hy, true, FullBall);
            DrawCellsAfter(col, row);
        });
}

void BoardView::AnimateBothFall(int tileCol, int tileRow, int heroCol, int heroRow)
{
    const QPoint ball = BallPosition(m_, heroCol, heroRow);
    const int hx = ball.x();
    const int tx = CellX(m_, tileCol, tileRow);
    const int code = CodeAt(tileCol, tileRow);
    // The cell painted first goes first; on equal keys the tile does.
    const bool tileFirst = DrawOrderKey(tileCol, tileRow) <= DrawOrderKey(heroCol, heroRow);
    const int c1 = tileFirst ? tileCol : heroCol, r1 = tileFirst ? tileRow : heroRow;
    const int c2 = tileFirst ? heroCol : tileCol, r2 = tileFirst ? heroRow : tileRow;
    int ty = CellY(m_, tileRow);
    int hy = ball.y();
    Fall(
        {&ty, &hy},
        [&] {
            EraseTileAt(tx, ty, 1);
            DrawBall(hx, hy, false, FullBall);
            DrawCellsBefore(c1, r1);
        },
        [&] {
            DrawTileAt(tx, ty, code);
            DrawCellsBetween(c1, r1, c2, r2);
            DrawBall(hx, hy, true, FullBall);
            DrawCellsAfter(c2, r2);
        });
}

void BoardView::LevelSweepOut()
{
    DrawBall(HeroX, HeroY, false, FullBall);
    for (int row = 0; row < BoardSide; ++row) {
        for (int col = 0; col < BoardSide; ++col) {
            const int code = CodeAt(col, row);
            EraseTileAt(CellX(m_, col, row), CellY(m_, row), code);
            if (code > 0)
                Pause(SweepTilePause);
        }
    }
}

void BoardView::LevelSweepIn()
{
    for (int row = 0; row < BoardSide; ++row) {
        for (int col = 0; col < BoardSide; ++col) {
            const int code = CodeAt(col, row);
            DrawTileAt(CellX(m_, col, row), CellY(m_, row), code);
            if (code > 0)
                Pause(SweepTilePause);
        }
    }
    DrawHero(game_.HeroCol, game_.HeroRow);
}

// --- the timer's part ------------------------------------------------------------

void BoardView::Twinkle()
{
    if (look.calm)
        return;
    // The same star may be drawn more than once in a tick. Only the few
    // pixels of the stars drawn are shown again, in one go and at once:
    // nothing of them is left for the first frame of a move to show.
    std::array<QRect, TwinklesPerTick> drawn;
    std::size_t count = 0;
    for (int n = 0; n < TwinklesPerTick; ++n) {
        const QRect r = stars_.DrawStar(buffer_, random_(StarCount) + 1, random_) & Area();
        if (!r.isEmpty())
            drawn[count++] = r;
    }
    if (showPieces_) {
        if (count > 0)
            showPieces_(std::span(drawn.data(), count));
        return;
    }
    // In reading order most of them join the region at its end.
    std::sort(drawn.begin(), drawn.begin() + count, [](const QRect &a, const QRect &b) {
        return std::pair(a.top(), a.left()) < std::pair(b.top(), b.left());
    });
    QRegion changed;
    for (std::size_t n = 0; n < count; ++n)
        changed += drawn[n];
    if (repaintNow_ && !changed.isEmpty())
        repaintNow_(changed);
}

void BoardView::Dance()
{
    if (look.calm)
        return;
    DrawBall(HeroX, HeroY, false, FullBall);
    // Both steps use CellW; they average slightly upwards.
    const int dx = random_(m_.CellW) - m_.CellW / 2;
    const int dy = random_(m_.CellW) - 4 * m_.CellW / 7;
    HeroX = std::clamp(HeroX + dx, 0, std::max(0, Area().width() - m_.CellW));
    HeroY = std::clamp(HeroY + dy, 0, std::max(0, Area().height() - m_.CellW));
    DrawBoard();
    DrawBall(HeroX, HeroY, true, FullBall);
}
