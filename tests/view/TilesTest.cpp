// The board's geometry and tiles, checked on the pixels they leave in an
// image of the board area at the window's design size.
#include "Tiles.h"
#include "Board.h"
#include "Geometry.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

const Metrics Design = ComputeMetrics(673, 362);

QImage Black()
{
    QImage image(673, 302, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

Colour At(const QImage &image, int x, int y)
{
    const QRgb c = image.pixel(x, y);
    return Rgb(qRed(c), qGreen(c), qBlue(c));
}

QImage TileOf(int code, int col = 0, int row = 0)
{
    QImage image = Black();
    QPainter p(&image);
    DrawTile(p, Design, CellX(Design, col, row), CellY(Design, row), code);
    return image;
}

bool AllBlack(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0)
                return false;
    return true;
}

} // namespace

TEST(Geometry, MetricsAndAnchorsAtTheDesignSize)
{
    EXPECT_EQ(Design, (Metrics {26, 32, 19, 24, 5}));
    struct Anchor
    {
        int col, row, x, y;
    };
    for (const Anchor a : {Anchor {0, 0, 208, 64}, Anchor {7, 0, 572, 64}, Anchor {0, 7, 26, 288},
             Anchor {7, 7, 390, 288}, Anchor {-1, 8, -52, 320}}) {
        SCOPED_TRACE(testing::Message() << a.col << "," << a.row);
        EXPECT_EQ(CellX(Design, a.col, a.row), a.x);
        EXPECT_EQ(CellY(Design, a.row), a.y);
    }
}

TEST(Geometry, FourToThreeAreaIsCentredInAnyScreen)
{
    EXPECT_EQ(FourToThreeArea(1920, 1080), QRect(240, 0, 1440, 1080));
    EXPECT_EQ(FourToThreeArea(1280, 1024), QRect(0, 32, 1280, 960));
    EXPECT_EQ(FourToThreeArea(800, 600), QRect(0, 0, 800, 600));
    EXPECT_EQ(FourToThreeArea(801, 600), QRect(0, 0, 800, 600)) << "an odd pixel stays left over";
    // An area away from the corner moves every anchor by as much.
    Metrics moved = Design;
    moved.OriginX = 240;
    moved.OriginY = 7;
    EXPECT_EQ(CellX(moved, 0, 0), 208 + 240);
    EXPECT_EQ(CellY(moved, 7), 288 + 7);
}

TEST(Geometry, ShadeTruncatesEachByte)
{
    EXPECT_EQ(Shade(CountColor, 80), Rgb(179, 166, 76));
    EXPECT_EQ(Shade(CountColor, 65), Rgb(145, 135, 62));
    EXPECT_EQ(Shade(CountColor, 50), Rgb(112, 104, 48));
    EXPECT_EQ(Shade(ArrowTileColor, 80), Rgb(0, 166, 0));
    EXPECT_EQ(Shade(SlideTileColor, 80), Rgb(0, 0, 204));
}

TEST(DrawTile, TileOfOneAtTheFirstCell)
{
    // Top face (208,59) (246,59) (265,35) (227,35); one slab below it.
    const QImage image = TileOf(1);
    struct Pixel
    {
        int x, y;
        Colour colour;
        const char *what;
    };
    for (const Pixel px : {
             Pixel {227, 35, Shade(CountColor, 80), "back-left corner: top face outline"},
             Pixel {237, 47, CountColor, "top face inside"},
             Pixel {208, 59, Shade(CountColor, 65), "front-left: slab outline over the front edge"},
             Pixel {208, 64, Shade(CountColor, 65), "anchor: slab outline"},
             Pixel {227, 62, Shade(CountColor, 80), "front face inside"},
             Pixel {265, 35, Shade(CountColor, 50), "back-right: right face outline"},
             Pixel {246, 64, Shade(CountColor, 50), "right face's front-bottom corner"},
             Pixel {257, 47, Shade(CountColor, 65), "right face inside"},
             Pixel {207, 59, BackColor, "left of the tile"},
             Pixel {226, 34, BackColor, "above the back edge"},
             Pixel {266, 35, BackColor, "right of the tile"},
             Pixel {208, 65, BackColor, "below the slab"},
         }) {
        SCOPED_TRACE(px.what);
        EXPECT_EQ(At(image, px.x, px.y), px.colour);
    }
}

TEST(DrawTile, MarksSitOnTheEdgeMiddlesAndInnerPoints)
{
    // An arrow covers the top face from its tail edge to its tip: near the
    // front-left corner (216, 55), the back-left (230, 37), the front-right
    // (240, 56) and the back-right (258, 39) of the face.
    const Colour arrowPen = Shade(ArrowTileColor, 80);
    struct Mark
    {
        int code, x, y;
        Colour colour;
        const char *what;
    };
    for (const Mark mk : {
             Mark {-1, 216, 55, ArrowColor, "right: from the left edge"},
             Mark {-1, 258, 39, ArrowTileColor, "right: nothing beyond the tip"},
             Mark {-3, 217, 47, arrowPen, "left: tip at Lm"},
             Mark {-3, 258, 39, ArrowColor, "left: from the right edge"},
             Mark {-3, 216, 55, ArrowTileColor, "left: nothing beyond the tip"},
             Mark {-2, 246, 35, arrowPen, "back: tip at Bm"},
             Mark {-2, 240, 56, ArrowColor, "back: from the front edge"},
             Mark {-2, 230, 37, ArrowTileColor, "back: nothing beside the tip"},
             Mark {-4, 230, 37, ArrowColor, "front: from the back edge"},
             Mark {-4, 240, 56, ArrowTileColor, "front: nothing beside the tip"},
             Mark {-11, 216, 55, ArrowColor, "along the row: both ways"},
             Mark {-11, 258, 39, ArrowColor, "along the row: both ways"},
             Mark {-12, 240, 56, ArrowColor, "across the rows: both ways"},
             Mark {-12, 230, 37, ArrowColor, "across the rows: both ways"},
             Mark {-5, 217, 47, BackColor, "slide: black outline at Lm"},
             Mark {-5, 237, 47, Shade(SlideTileColor, 80), "slide: diamond inside"},
             Mark {-5, 216, 55, SlideTileColor, "slide: tile outside the diamond"},
             Mark {-6, 221, 53, Shade(TeleportColors[4], 80), "I0 of the inner parallelogram"},
             Mark {-9, 251, 41, Shade(TeleportColors[1], 80), "I2 of the inner parallelogram"},
             Mark {-10, 221, 53, TeleportColors[0], "-10 has no inner parallelogram"},
             Mark {-13, 237, 47, CountColor, "a code without a rule is a plain tile"},
         }) {
        SCOPED_TRACE(testing::Message() << mk.code << ": " << mk.what);
        EXPECT_EQ(At(TileOf(mk.code), mk.x, mk.y), mk.colour);
    }
}

TEST(DrawTile, CodesWithoutARuleLookLikeATileOfOne)
{
    // Every code from -13 down has no rule: the plain colour of a counted
    // tile, one slab, no mark.
    const QImage one = TileOf(1, 2, 5);
    for (int code : {-13, -14, -15, -50, -100, -127, -128}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(TileOf(code, 2, 5), one);
    }
}

TEST(DrawTile, StackOfThreeHangsBelowTheTopFace)
{
    const QImage image = TileOf(3);
    EXPECT_EQ(At(image, 237, 47), CountColor); // the top face stays in place
    EXPECT_EQ(At(image, 208, 74), Shade(CountColor, 65)); // third slab ends at y + 10
    EXPECT_EQ(At(image, 208, 75), BackColor);
    EXPECT_EQ(At(TileOf(1), 208, 69), BackColor);
}

TEST(EraseTile, RemovesExactlyWhatDrawTileDrew)
{
    for (int code : {1, 3, 127, -1, -2, -3, -4, -5, -6, -7, -8, -9, -10, -11, -12, -13, -128}) {
        SCOPED_TRACE(code);
        for (const auto &[col, row] : {std::pair {0, 0}, std::pair {7, 3}, std::pair {3, 7}}) {
            QImage image = TileOf(code, col, row);
            ASSERT_FALSE(AllBlack(image));
            const QRect bounds
                = TileRect(Design, CellX(Design, col, row), CellY(Design, row), code);
            QImage outside = image;
            QPainter(&outside).fillRect(bounds, Qt::black);
            EXPECT_TRUE(AllBlack(outside)) << "drawn outside TileRect";
            QPainter p(&image);
            EraseTile(p, Design, CellX(Design, col, row), CellY(Design, row), code);
            p.end();
            EXPECT_TRUE(AllBlack(image));
        }
    }
}

TEST(DrawTile, EmptyCellDrawsNothing)
{
    EXPECT_TRUE(AllBlack(TileOf(Empty)));
}
