// The hero, the animations, the stars and the victory dance on the back
// buffer, with a clock that records the pauses instead of sleeping.
#include "BoardView.h"
#include "Ball.h"
#include "Game.h"
#include "SilentHost.h"
#include "UiSupport.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace {

// A board area of the design size (client 673 x 362 less the toolbar).
struct View
{
    SilentHost host;
    Game game {host};
    Random random {7};
    BoardView view {game, random};
    CountingClock clock;
    std::vector<std::string> screen; // "repaint" before each "pause"
    std::vector<int> effects;
    QRegion told; // what the screen was told to paint again when it can
    std::vector<QRegion> repainted; // what it was made to paint at once

    explicit View(
        const Board &board = {}, int col = 0, int row = 0, int width = 673, int height = 362)
    {
        game.board = board;
        game.HeroCol = col;
        game.HeroRow = row;
        view.SetClock(&clock);
        view.SetScreen(
            [this](const QRegion &r) {
                screen.push_back("repaint");
                repainted.push_back(r);
            },
            [this](const QRegion &r) { told += r; });
        view.SetEffectPlayer([this](int n) { effects.push_back(n); });
        clock.onPause = [this] { screen.push_back("pause"); };
        view.Resize(width, height, width, height - 60);
    }
    QImage Plain() const
    {
        // The buffer without stars, for pixel comparisons.
        QImage image = view.buffer();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                if (qRed(c) == qGreen(c) && qGreen(c) == qBlue(c))
                    image.setPixel(x, y, qRgb(0, 0, 0));
            }
        return image;
    }
};

const Board Row3 = Rows({"1 1 1 . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
    ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."});

} // namespace

TEST(Ball, SitsOnTheTopFaceOfItsCell)
{
    const Metrics m = ComputeMetrics(673, 362);
    EXPECT_EQ(BallPosition(m, 0, 0), QPoint(223, 37));
    EXPECT_EQ(BallDiameter(m, 10), 21);
    EXPECT_EQ(BallDiameter(m, 1), 2);
    EXPECT_EQ(SaveSquare(m), 21);

    View v;
    v.view.DrawHero(0, 0);
    EXPECT_EQ(v.view.HeroX, 223);
    EXPECT_EQ(v.view.HeroY, 37);
    // The ball fills the square from (223, 37) up to, not including, (244, 58).
    EXPECT_EQ(BallBox(v.view.buffer()), QRect(QPoint(223, 37), QPoint(243, 57)));
    // The innermost, brightest ring is 90 % of the hero's colour.
    const QRgb bright = v.view.buffer().pixel(230, 44);
    EXPECT_EQ(Rgb(qRed(bright), qGreen(bright), qBlue(bright)), Shade(HeroColor, 90));

    v.view.DrawBall(223, 37, false, 10);
    EXPECT_TRUE(BallBox(v.view.buffer()).isEmpty()) << "erasing leaves no trace";
}

TEST(AnimateMove, HopFramesAndTheirHeight)
{
    struct Hop
    {
        int fromCol, fromRow, toCol, toRow, clientWidth, frames, peak;
    };
    // CellW 26: a step along a row has dx 52 and five frames; a jump ten; a
    // step to the next row dx -26, step -5 and five frames. CellW 24: six.
    // Halfway a step flies CellH / 2 = 16 above the straight line; across the
    // rows no frame falls on the halfway point, so the highest comes within a pixel.
    for (const Hop h : {Hop {0, 0, 1, 0, 673, 5, 16}, Hop {0, 0, 2, 0, 673, 10, 32},
             Hop {2, 0, 0, 0, 673, 10, 32}, Hop {0, 0, 0, 1, 673, 5, 16},
             Hop {0, 1, 0, 0, 673, 5, 16}, Hop {0, 0, 0, 1, 624, 6, 16}}) {
        SCOPED_TRACE(testing::Message() << h.fromCol << "," << h.fromRow << " to " << h.toCol << ","
                                        << h.toRow << " width " << h.clientWidth);
        View v(Row3, h.fromCol, h.fromRow, h.clientWidth);
        const Metrics m = v.view.metrics();
        const QPoint from = BallPosition(m, h.fromCol, h.fromRow);
        const QPoint to = BallPosition(m, h.toCol, h.toRow);
        std::vector<QPoint> balls;
        v.clock.onPause = [&] {
            v.screen.push_back("pause");
            balls.push_back(BallBox(v.view.buffer()).topLeft());
        };
        const QImage before = v.view.buffer();
        v.view.AnimateMove(h.fromCol, h.fromRow, h.toCol, h.toRow, false);

        EXPECT_EQ(v.clock.pauses, std::vector<int>(static_cast<std::size_t>(h.frames), 20));
        int peak = 0;
        for (const QPoint b : balls) {
            // How far the ball flies above the straight line between the cells.
            const double line
                = from.y() + double(to.y() - from.y()) * (b.x() - from.x()) / (to.x() - from.x());
            peak = std::max(peak, static_cast<int>(std::lround(line - b.y())));
        }
        if (h.fromRow == h.toRow)
            EXPECT_EQ(peak, h.peak);
        else
            EXPECT_NEAR(peak, h.peak, 1);
        // The last frame is the last whole step that does not pass the target.
        EXPECT_LT(std::abs(balls.back().x() - to.x()),
            std::abs(to.x() - from.x()) / (5 * (h.frames > 6 ? 2 : 1)) + 1);
        EXPECT_EQ(v.view.buffer(), before) << "the hop leaves the picture as it found it";
    }
}

TEST(AnimateMove, TeleportShrinksAndGrowsInNineFramesWithItsSound)
{
    View v(Rows({"-7 . . . -7 . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
        ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."}));
    std::vector<int> widths;
    v.clock.onPause = [&] {
        v.screen.push_back("pause");
        widths.push_back(BallBox(v.view.buffer().copy(0, 0, 400, 200)).width());
    };
    const QImage before = v.view.buffer();
    v.view.AnimateMove(0, 0, 4, 0, true);
    EXPECT_EQ(v.effects, std::vector<int> {EffectTeleport});
    EXPECT_EQ(v.clock.pauses, std::vector<int>(9, 35));
    EXPECT_TRUE(std::is_sorted(widths.rbegin(), widths.rend())) << "the source ball shrinks";
    EXPECT_EQ(v.view.buffer(), before);
}

TEST(Animations, EveryFrameReachesTheScreenBeforeItsPause)
{
    View v(Row3, 1, 0);
    v.view.AnimateMove(0, 0, 1, 0, false);
    v.view.AnimateTileFall(0, 0);
    v.view.AnimateHeroFall(1, 0);
    ASSERT_FALSE(v.clock.pauses.empty());
    for (std::size_t i = 0; i < v.screen.size(); ++i) {
        if (v.screen[i] == "pause") {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(v.screen[i - 1], "repaint");
        }
    }
}

TEST(Animations, FallsAccelerateUntilWellBelowTheBoard)
{
    // The board area is 302 high; a fall ends once its anchor is no longer
    // above 302 + 2 * 24 = 350. Frame k moves k * 5 / 3 pixels.
    const auto framesFrom = [](int y) {
        int k = 0;
        for (; y < 350;)
            y += ++k * 5 / 3;
        return k;
    };
    View v(Row3, 1, 0);
    v.view.AnimateTileFall(0, 0);
    EXPECT_EQ(v.clock.Count(30), framesFrom(64));
    EXPECT_EQ(v.clock.pauses.size(), v.clock.Count(30));

    View hero(Row3, 1, 0);
    hero.view.AnimateHeroFall(3, 0);
    EXPECT_EQ(hero.clock.Count(30), framesFrom(BallPosition(hero.view.metrics(), 3, 0).y()));

    // Both fall until the lower of the two has passed the limit.
    View both(Row3, 1, 0);
    both.view.AnimateBothFall(1, 0, 1, -1);
    EXPECT_EQ(both.clock.Count(30), framesFrom(std::min(64, CellY(both.view.metrics(), -1) - 27)));
}

TEST(Animations, LayerDropLeavesTheLoweredStack)
{
    View v(Rows({"2 1 . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
               ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."}),
        1, 0);
    v.view.DrawBoard();
    v.game.board[At(0, 0)] = 1; // lowered by the move that left it
    v.view.AnimateLayerDrop(0, 0);
    EXPECT_GT(v.clock.Count(30), 3);
    const QImage plain = v.Plain();
    EXPECT_EQ(plain.pixel(208, 64) & 0xFFFFFF, 0x91873Eu) << "one slab left";
    EXPECT_EQ(plain.pixel(208, 69) & 0xFFFFFF, 0u);
    EXPECT_FALSE(BallBox(plain).isEmpty()) << "the hero stays drawn on his cell";
}

TEST(LevelSweep, PausesOnlyAfterCountedTiles)
{
    View v(Rows({"1 -5 3 . . . . .", "-7 . . . . . . .", ". . . . . . . .", ". . . . . . . .",
        ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", "-1 . . . . . . -11"}));
    v.view.DrawBoard();
    v.view.DrawHero(0, 0);
    v.view.LevelSweepOut();
    EXPECT_EQ(v.clock.pauses, std::vector<int>(2, 10));
    EXPECT_TRUE(BallBox(v.view.buffer()).isEmpty());
    EXPECT_EQ(v.Plain(), View().Plain()) << "every tile is gone";

    v.game.board
        = Rows({"-5 -6 . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."});
    v.view.LevelSweepIn();
    EXPECT_EQ(v.clock.pauses.size(), 2u) << "a level without counted tiles appears at once";
    EXPECT_EQ(v.view.HeroX, 223);
}

TEST(Stars, LieOnMultiplesOfThreeAcrossTheClientArea)
{
    Random random(11);
    StarField stars;
    stars.ScatterStars(random, 673, 362);
    int big = 0;
    for (int i = 0; i < StarCount; ++i) {
        EXPECT_EQ(stars.StarX[i] % 3, 0);
        EXPECT_EQ(stars.StarY[i] % 3, 0);
        EXPECT_GE(stars.StarX[i], 0);
        EXPECT_LE(stars.StarX[i], 3 * (673 / 3 - 1));
        EXPECT_LE(stars.StarY[i], 3 * (362 / 3 - 1));
        big += stars.StarBig[i];
    }
    EXPECT_GT(big, 50);
    EXPECT_LT(big, 160);
}

TEST(Stars, ShineOnlyOverGrey)
{
    QImage image(30, 30, QImage::Format_RGB32);
    image.fill(Qt::black);
    image.setPixel(10, 10, qRgb(224, 208, 96)); // a tile
    image.setPixel(21, 20, qRgb(224, 208, 96)); // a tile beside a big star
    StarField stars;
    stars.StarX[0] = 10, stars.StarY[0] = 10, stars.StarBig[0] = 1;
    stars.StarX[1] = 20, stars.StarY[1] = 20, stars.StarBig[1] = 1;
    stars.StarX[2] = 3, stars.StarY[2] = 300; // below the board area
    Random random(3);
    stars.DrawStar(image, 1, random);
    EXPECT_EQ(image.pixel(10, 10), qRgb(224, 208, 96));
    EXPECT_EQ(image.pixel(11, 10), qRgb(0, 0, 0));

    stars.DrawStar(image, 2, random);
    const QRgb centre = image.pixel(20, 20);
    EXPECT_TRUE(qRed(centre) == qGreen(centre) && qGreen(centre) == qBlue(centre));
    for (const QPoint arm : {QPoint(19, 20), QPoint(20, 21), QPoint(20, 19)})
        EXPECT_EQ(image.pixel(arm), centre);
    EXPECT_EQ(image.pixel(21, 20), qRgb(224, 208, 96)) << "an arm over a tile is left out";

    stars.DrawStar(image, 3, random); // off the image: nothing, no crash
}

TEST(Dance, StaysInsideTheBoardArea)
{
    View v;
    v.game.PlayState = PlaySolved;
    v.view.DrawHero(7, 7);
    const int w = v.view.buffer().width(), h = v.view.buffer().height(),
              cw = v.view.metrics().CellW;
    bool reachedTop = false;
    for (int tick = 0; tick < 3000; ++tick) {
        v.view.Dance();
        ASSERT_GE(v.view.HeroX, 0);
        ASSERT_GE(v.view.HeroY, 0);
        ASSERT_LE(v.view.HeroX, w - cw);
        ASSERT_LE(v.view.HeroY, h - cw);
        reachedTop = reachedTop || v.view.HeroY == 0;
    }
    EXPECT_TRUE(reachedTop) << "the steps drift upwards";
    const QRect ball = BallBox(v.view.buffer());
    EXPECT_EQ(ball.topLeft(), QPoint(v.view.HeroX, v.view.HeroY)) << "one ball, where the hero is";
}

TEST(Stars, ATwinkleRepaintsOnlyItsStarsAndTheScreenStaysTrue)
{
    // A screen that paints again only what it is told to shows, tick after
    // tick, exactly what a full repaint would show.
    View v(Row3);
    v.view.PaintBoard();
    QImage screen = v.view.buffer().copy();
    v.told = {};
    for (int tick = 0; tick < 300; ++tick) {
        v.repainted.clear();
        v.view.Twinkle();
        // At once, in one go: nothing waits for a later paint, nor for the
        // first frame of a move.
        ASSERT_EQ(v.repainted.size(), 1u);
        const QRegion &painted = v.repainted.front();
        long long area = 0;
        for (const QRect &r : painted)
            area += static_cast<long long>(r.width()) * r.height();
        ASSERT_LE(area, 50 * 9) << "a few pixels around fifty stars, not the window";
        QPainter p(&screen);
        p.setClipRegion(painted);
        p.drawImage(0, 0, v.view.buffer());
    }
    EXPECT_TRUE(v.told.isEmpty());
    EXPECT_EQ(screen, v.view.buffer());
}
