// Draws the pictures of the rules help with the game's own drawing, so the
// pictures always look like the game: the tiles and the ball, the hint's
// arrows, the "still solvable?" lamp beside the solved indicator, and the
// overview of all levels in both languages.
//   tumblewick_helptiles FOLDER
#include "Ball.h"
#include "Board.h"
#include "Controls.h"
#include "Geometry.h"
#include "HintArrow.h"
#include "LevelOverview.h"
#include "PictureList.h"
#include "StuckWidgets.h"
#include "Tiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
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

struct Arrow
{
    int dCol;
    int dRow;
};

// The tiles in drawing order (back row first, left to right), then Pip on
// his cell and the hint's arrow from there, cut to the pixels they cover.
QImage Picture(std::vector<Placed> tiles, const Placed *hero, const Arrow *arrow = nullptr)
{
    std::sort(tiles.begin(), tiles.end(), [](const Placed &a, const Placed &b) {
        return DrawOrderKey(a.col, a.row) < DrawOrderKey(b.col, b.row);
    });
    QRect covered;
    for (const Placed &t : tiles)
        covered |= TileRect(
            HelpMetrics, CellX(HelpMetrics, t.col, t.row), CellY(HelpMetrics, t.row), t.code);
    if (hero && arrow)
        covered |= HintArrowRect(HelpMetrics, hero->col, hero->row, arrow->dCol, arrow->dRow);
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
        if (arrow)
            DrawHintArrow(painter, HelpMetrics, hero->col, hero->row, arrow->dCol, arrow->dRow);
    }
    return image;
}

// The solved indicator as the toolbar shows it, with the lamp beside it,
// twice as large as on the screen.
QImage Lamp(const QImage &indicator, bool solvable)
{
    const QPoint lampAt = SolvableMark::Place.topLeft() - Toolbox::IndicatorAt;
    QImage strip(lampAt.x() + SolvableMark::Place.width() + Margin, 50, QImage::Format_RGB32);
    strip.fill(Qt::black);
    QPainter painter(&strip);
    painter.drawImage(QPoint(0, 0), indicator, QRect(0, 0, 50, 50)); // not solved yet
    SolvableMark lamp(nullptr);
    lamp.SetLamp(solvable ? SolvableMark::Lamp::Green : SolvableMark::Lamp::Red);
    painter.drawPixmap(lampAt, lamp.grab());
    painter.end();
    return strip.scaled(strip.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// A few small levels in the overview window, as the player sees it.
QImage Overview(const QImage &indicator, int language)
{
    const auto board = [](std::initializer_list<Placed> tiles) {
        Board b {};
        for (const Placed &t : tiles)
            b[At(t.col, t.row)] = static_cast<CellCode>(t.code);
        return b;
    };
    LevelTable levels;
    levels.Add({board({{2, 3, 1}, {3, 3, 1}, {4, 3, 1}}), 2, 3});
    levels.Add({board({{2, 2, 1}, {3, 2, 1}, {4, 2, 1}, {4, 3, 1}, {4, 4, 1}, {5, 4, 1}}), 2, 2});
    levels.Add({board({{1, 3, 1}, {3, 3, 1}, {5, 3, 1}, {5, 5, 2}}), 1, 3});
    levels.Add(
        {board({{2, 2, 2}, {3, 2, 1}, {2, 4, OneWayRight}, {3, 4, Slide}, {4, 4, 1}}), 2, 2});
    levels.Add(
        {board({{1, 1, -7}, {4, 1, 1}, {5, 1, -7}, {5, 3, HorizontalOnly}, {3, 3, 2}, {3, 5, 1}}),
            1, 1});
    levels.Add({board({{2, 1, 3}, {3, 1, 1}, {2, 2, 1}, {3, 2, 2}, {4, 2, VerticalOnly}, {4, 4, 1},
                    {2, 4, 1}}),
        2, 1});
    SolvedMarks marks {};
    marks[0] = marks[1] = marks[3] = 1;
    QWidget main;
    main.resize(680, 330);
    TLevelOverview overview(levels, marks, indicator, &main);
    overview.Prepare(3, language, {});
    overview.show();
    return overview.grab().toImage();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
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

    // The hint: a step to the right, and a jump over an empty cell.
    const Placed on {1, 1, 1};
    const Arrow right {1, 0};
    const Arrow jump {2, 0};
    pictures.emplace_back("hint-step", Picture({on, {2, 1, 1}, {3, 1, 2}}, &on, &right));
    pictures.emplace_back("hint-jump", Picture({on, {3, 1, 1}, {3, 2, 1}}, &on, &jump));

    const QImage indicator
        = RenderPicture(QStringLiteral(":/pictures/toolbar/solved-indicator.svg"), QSize(100, 100));
    pictures.emplace_back("lamp-green", Lamp(indicator, true));
    pictures.emplace_back("lamp-red", Lamp(indicator, false));
    pictures.emplace_back("overview-en", Overview(indicator, 0));
    pictures.emplace_back("overview-de", Overview(indicator, 1));

    for (const auto &[name, image] : pictures) {
        const QString path = folder.filePath(name + ".png");
        if (!image.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
