// The board as designed, pixel for pixel: a full repaint with every kind of
// tile and the stars, and the board after a few moves, compared with
// pictures of the same scenes stored from the drawing of the first release.
// Setting TUMBLEWICK_WRITE_PICTURES to a folder writes the pictures there
// instead (the way the stored ones were made).
#include "BoardView.h"
#include "Game.h"
#include "SilentHost.h"
#include "UiSupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <string>

namespace {

// Every kind of tile: counted stacks, the one-way, horizontal and vertical
// tiles, the slide, the five teleport groups, and codes without a rule.
const Board EveryKind = Rows({"1 2 3 5 . -1 -2 .", ". -3 -4 . -11 -12 . 1",
    "-5 . -6 -7 -8 -9 -10 .", "-6 -7 -8 -9 -10 . 12 .", ". -13 -60 . 1 1 . .", ". . 4 . . . . -5",
    "1 . . . . 2 . .", ". . . . . . . 127"});

struct Scene
{
    SilentHost host;
    Game game {host};
    Random random {11};
    BoardView view {game, random};
    CountingClock clock;

    Scene(int width, int height)
    {
        game.board = EveryKind;
        game.HeroCol = 5; // on the one-way tile to the right
        game.HeroRow = 0;
        view.SetClock(&clock);
        view.Resize(width, height, width, height - 60);
    }
};

std::string PictureName(const std::string &scene)
{
    return "design-" + scene + ".png";
}

// The stored picture, or, when pictures are to be written, the picture
// written and then taken as stored.
QImage Stored(const std::string &name, const QImage &drawn)
{
    if (const char *folder = std::getenv("TUMBLEWICK_WRITE_PICTURES")) {
        drawn.save(QString::fromStdString(std::string(folder) + "/" + name));
        return drawn;
    }
    return QImage(QString::fromStdString(std::string(TUMBLEWICK_PICTURES) + "/" + name))
        .convertToFormat(QImage::Format_RGB32);
}

// The first differing pixel, for the message.
std::string FirstDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return "sizes differ";
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return "first at " + std::to_string(x) + "," + std::to_string(y);
    return "none";
}

void ExpectSame(const std::string &scene, const QImage &drawn)
{
    const QImage image = drawn.convertToFormat(QImage::Format_RGB32);
    const QImage stored = Stored(PictureName(scene), image);
    ASSERT_FALSE(stored.isNull()) << PictureName(scene) << " missing";
    EXPECT_TRUE(image == stored) << scene << ": " << FirstDifference(image, stored);
}

} // namespace

TEST(DesignLook, FullRepaintAtTwoSizes)
{
    for (const QSize size : {QSize(673, 362), QSize(1024, 768)}) {
        SCOPED_TRACE(size.width());
        Scene s(size.width(), size.height());
        s.view.PaintBoard();
        ExpectSame("paint-" + std::to_string(size.width()), s.view.buffer());
    }
}

TEST(DesignLook, MovesFallsAndTwinklesDrawOverTheBoard)
{
    Scene s(673, 362);
    s.view.PaintBoard();
    // The hero leaves the one-way tile to the right: it falls.
    s.view.DrawCell(5, 0, true);
    s.view.DrawCellsAfter(5, 0);
    s.view.AnimateMove(5, 0, 6, 0, false);
    s.view.DrawHero(6, 0);
    s.game.board[At(5, 0)] = Empty;
    s.view.AnimateTileFall(5, 0);
    // A stack loses a slab, a teleport sends the hero on, the stars twinkle.
    s.game.board[At(2, 0)] = 2;
    s.view.AnimateLayerDrop(2, 0);
    s.view.AnimateMove(6, 0, 6, 3, true);
    s.view.DrawHero(6, 3);
    s.view.Twinkle();
    s.view.Twinkle();
    ExpectSame("moves", s.view.buffer());
    EXPECT_GT(s.clock.Count(30), 5) << "the falls ran";
}
