// Draws the tile pictures of the rules help with the game's own tile and
// ball drawing, so the pictures always look like the board.
//   tumblewick_helptiles FOLDER
#include "Ball.h"
#include "Board.h"
#include "Geometry.h"
#include "Tiles.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

// A board as large as a window of 1000 x 528: CellW 40, CellH 48.
const Metrics HelpMetrics = ComputeMetrics(1000, 528);
constexpr int Margin = 4;

struct Placed
{
    int col;
    int row;
    int code;
};

// The tiles in drawing order (back row first, left to right), then Pip on
// his cell, cut to the pixels they cover.
QImage Picture(std::vector<Placed> tiles, const Placed *hero)
{
    std::sort(tiles.begin(), tiles.end(), [](const Placed &a, const Placed &b) {
        return DrawOrderKey(a.col, a.row) < DrawOrderKey(b.col, b.row);
    });
    QRect covered;
    for (const Placed &t : tiles)
        covered |= TileRect(
            HelpMetrics, CellX(HelpMetrics, t.col, t.row), CellY(HelpMetrics, t.row), t.code);
    covered.adjust(-Margin, -Margin, Margin, Margin);

    QImage image(covered.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.translate(-covered.topLeft());
    for (const Placed &t : tiles)
        DrawTile(painter, HelpMetrics, CellX(HelpMetrics, t.col, t.row), CellY(HelpMetrics, t.row),
            t.code);
    if (hero) {
        const QPoint ball = BallPosition(HelpMetrics, hero->col, hero->row);
        ShadedBall(painter, ball.x(), ball.y(), BallDiameter(HelpMetrics, 10), HeroColor);
    }
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tumblewick_helptiles FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    const std::vector<std::pair<const char *, int>> singles = {
        {"count1", 1},
        {"count2", 2},
        {"count3", 3},
        {"oneway-right", OneWayRight},
        {"oneway-up", OneWayUp},
        {"oneway-left", OneWayLeft},
        {"oneway-down", OneWayDown},
        {"horizontal", HorizontalOnly},
        {"vertical", VerticalOnly},
        {"slide", Slide},
        {"teleport-6", -6},
        {"teleport-7", -7},
        {"teleport-8", -8},
        {"teleport-9", -9},
        {"teleport-10", -10},
    };
    std::vector<std::pair<QString, QImage>> pictures;
    for (const auto &[name, code] : singles)
        pictures.emplace_back(name, Picture({{0, 0, code}}, nullptr));

    // The worked example of the rules: Pip on a tile of two at the back left.
    const Placed pip {0, 0, 2};
    pictures.emplace_back(
        "example", Picture({pip, {1, 0, 1}, {0, 2, OneWayRight}, {1, 2, Slide}, {2, 2, 1}}, &pip));

    for (const auto &[name, image] : pictures) {
        const QString path = folder.filePath(name + ".png");
        if (!image.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
