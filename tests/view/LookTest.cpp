// The game's own looks beside the design's: smooth edges, a calm screen and
// high-contrast marks, each drawn on the back buffer.
#include "Ball.h"
#include "BoardView.h"
#include "Game.h"
#include "SilentHost.h"
#include "Tiles.h"
#include "UiSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const Board Marks = Rows({"1 -1 -5 -7 . . . .", ". . . . . . . .", ". . . . . . . .",
    ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."});

struct View
{
    SilentHost host;
    Game game {host};
    Random random {3};
    BoardView view {game, random};
    CountingClock clock;

    explicit View(ViewLook look, const Board &board = Marks, int col = 0, int row = 0)
    {
        game.board = board;
        game.HeroCol = col;
        game.HeroRow = row;
        view.look = look;
        view.SetClock(&clock);
        view.Resize(673, 362, 673, 302);
    }
    QImage Tile(int col, int row) const
    {
        const Metrics &m = view.metrics();
        return view.buffer().copy(TileRect(m, CellX(m, col, row), CellY(m, row), 1));
    }
};

int CountColour(const QImage &image, Colour colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (ToQColor(colour).rgb() & 0xFFFFFF);
    return n;
}

std::set<QRgb> Colours(const QImage &image)
{
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

bool AllBlack(const QImage &image)
{
    return Colours(image) == std::set<QRgb> {qRgb(0, 0, 0)};
}

} // namespace

TEST(SmoothLook, EdgesAreShadedAndEraseLeavesNothing)
{
    View design({});
    View smooth({.smooth = true});
    for (View *v : {&design, &smooth}) {
        v->view.DrawTileAt(200, 100, 1);
        v->view.DrawBall(300, 100, true, 10);
    }
    const QRect tile(190, 60, 80, 50), ball(296, 96, 30, 30);
    // Smooth edges blend the tile and the ball into the black: many more
    // shades than the design's handful of flat colours.
    EXPECT_GT(Colours(smooth.view.buffer().copy(tile)).size(),
        Colours(design.view.buffer().copy(tile)).size() + 10);
    EXPECT_GT(Colours(smooth.view.buffer().copy(ball)).size(),
        Colours(design.view.buffer().copy(ball)).size() + 5);

    // Erasing takes the blended edge away too: nothing is left behind.
    smooth.view.EraseTileAt(200, 100, 1);
    smooth.view.DrawBall(300, 100, false, 10);
    EXPECT_TRUE(AllBlack(smooth.view.buffer().copy(tile)));
    EXPECT_TRUE(AllBlack(smooth.view.buffer().copy(ball)));
}

TEST(SmoothLook, AHopLeavesNoTrail)
{
    const Board row
        = Rows({"1 1 . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."});
    View v({.smooth = true, .calm = true}, row);
    v.view.DrawBoard();
    const QImage before = v.view.buffer();
    v.view.AnimateMove(0, 0, 1, 0, false);
    EXPECT_EQ(v.clock.Count(20), 5);
    EXPECT_TRUE(v.view.buffer() == before) << "every frame's ball taken away again";
}

TEST(CalmLook, StarsKeepTheirLightAndTheBallStays)
{
    View v({.calm = true});
    v.view.PaintBoard();
    const QImage painted = v.view.buffer();
    v.view.Twinkle();
    EXPECT_TRUE(v.view.buffer() == painted) << "no star changes";

    // Solved: no dance, and a repaint keeps the ball where it stood.
    v.view.DrawHero(0, 0);
    const QPoint at(v.view.HeroX, v.view.HeroY);
    v.game.PlayState = PlaySolved;
    v.game.board = {};
    v.view.Dance();
    EXPECT_EQ(QPoint(v.view.HeroX, v.view.HeroY), at);
    v.view.PaintBoard();
    EXPECT_EQ(BallBox(v.view.buffer()).topLeft(), at);

    View design({});
    design.view.PaintBoard();
    const QImage twinkled = design.view.buffer();
    design.view.Twinkle();
    EXPECT_FALSE(design.view.buffer() == twinkled) << "the design's stars twinkle";
}

TEST(ContrastLook, MarksInContrastingColoursAndAroundTheBall)
{
    View design({}, Marks, 0, 0);
    View contrast({.contrast = true}, Marks, 0, 0);
    for (View *v : {&design, &contrast})
        v->view.PaintBoard();
    for (const int col : {1, 2, 3}) {
        SCOPED_TRACE(col);
        EXPECT_EQ(CountColour(design.Tile(col, 0), ContrastLight), 0);
        EXPECT_GT(CountColour(contrast.Tile(col, 0), ContrastLight), 10) << "the mark stands out";
    }
    // A counted tile has no mark: it looks as designed (left of where its
    // neighbour's arrow begins).
    const QRect counted(200, 20, 55, 50);
    EXPECT_TRUE(contrast.view.buffer().copy(counted) == design.view.buffer().copy(counted));

    // On the one-way tile the ball hides the middle of the arrow; a light
    // ring round the ball and the arrow's outline show it all the same.
    View on({.contrast = true}, Marks, 1, 0);
    on.view.PaintBoard();
    const QImage tile = on.Tile(1, 0);
    EXPECT_GT(
        CountColour(tile, ContrastLight), CountColour(contrast.Tile(1, 0), ContrastLight) / 2);
    EXPECT_GT(CountColour(tile, ContrastDark), 10);
    const int d = BallDiameter(on.view.metrics(), 10);
    const QImage ring = on.view.buffer().copy(on.view.HeroX - 2, on.view.HeroY - 2, d + 4, d + 4);
    EXPECT_GT(CountColour(ring, ContrastLight), d) << "a ring round the ball";

    // Drawing the tile again takes everything of the ring away.
    on.view.DrawCell(1, 0, true);
    on.view.DrawCellsAfter(1, 0);
    EXPECT_TRUE(on.Tile(1, 0) == contrast.Tile(1, 0));
}

TEST(Density, TheBufferHoldsEveryDevicePixelAndThePixelRulesHold)
{
    const Board row
        = Rows({"1 1 . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."});
    View v({}, row);
    v.view.SetPixelRatio(2);
    v.view.Resize(673, 362, 673, 302);
    const QImage &buffer = v.view.buffer();
    EXPECT_EQ(buffer.size(), QSize(2 * 673, 2 * 302));
    EXPECT_EQ(buffer.devicePixelRatio(), 2.0);

    v.view.PaintBoard();
    // The same board without stars: a star is painted only where it was
    // black, a whole block of two by two where it can.
    View plain({}, row);
    plain.view.SetPixelRatio(2);
    plain.view.Resize(673, 362, 673, 302);
    plain.view.DrawBoard();
    plain.view.DrawHero(0, 0);
    const QImage &board = plain.view.buffer();
    for (int y = 0; y < buffer.height(); ++y)
        for (int x = 0; x < buffer.width(); ++x)
            if (buffer.pixel(x, y) != board.pixel(x, y)) {
                ASSERT_EQ(board.pixel(x, y), qRgb(0, 0, 0))
                    << "a star over the board at " << x << "," << y;
            }
    int stars = 0;
    for (int i = 1; i <= StarCount; ++i) {
        const int x = v.view.stars().StarX[static_cast<std::size_t>(i - 1)];
        const int y = v.view.stars().StarY[static_cast<std::size_t>(i - 1)];
        if (y >= 302 || board.pixel(2 * x, 2 * y) != qRgb(0, 0, 0))
            continue;
        const QRgb c = buffer.pixel(2 * x, 2 * y);
        bool whole = c != qRgb(0, 0, 0);
        for (const QPoint d : {QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
            whole = whole && buffer.pixel(QPoint(2 * x, 2 * y) + d) == c;
        stars += whole;
    }
    EXPECT_GT(stars, 100);

    // The tile sits where it does at a ratio of 1, at twice the pixels.
    const Metrics &m = v.view.metrics();
    const QPoint face(CellX(m, 1, 0) + 3 * m.FaceW / 2, CellY(m, 0) - m.LayerH - m.FaceH / 2);
    EXPECT_EQ(buffer.pixel(face * 2), ToQColor(CountColor).rgb());

    // A hop saves and restores whole device pixels: no trail.
    v.view.look.calm = true; // no stars in the way of the comparison
    v.view.DrawBoard();
    const QImage before = buffer;
    v.view.AnimateMove(0, 0, 1, 0, false);
    EXPECT_TRUE(buffer == before);
    // Erasing reaches every device pixel of a tile.
    View single({}, Board {});
    single.view.SetPixelRatio(2);
    single.view.Resize(673, 362, 673, 302);
    single.view.DrawTileAt(200, 100, 3);
    EXPECT_FALSE(AllBlack(single.view.buffer()));
    single.view.EraseTileAt(200, 100, 3);
    EXPECT_TRUE(AllBlack(single.view.buffer()));
}
