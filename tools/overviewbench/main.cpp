// Prints how long the overview of all levels takes to open with the shipped
// set of 500 levels, from its creation to its first full paint, beside two
// references measured in the same run: drawing one level's picture, and
// drawing all 500 pictures at once (what an overview without its lazy
// drawing would pay). The goal is 300 ms.
//   QT_QPA_PLATFORM=offscreen build/tools/overviewbench/overviewbench [FOLDER]
// FOLDER holds tmbw.dat; by default the game's folder of the build.
#include "LevelOverview.h"
#include "LevelPicture.h"
#include "PictureList.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(const std::function<void()> &what)
{
    const Clock::time_point start = Clock::now();
    what();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Figures
{
    double median;
    double worst;
};

Figures Of(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

// The offscreen platform's notes about window sizes would drown the figures.
void Quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && !message.contains(QLatin1String("propagateSizeHints")))
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(Quiet);
    QApplication app(argc, argv);
    const std::string folder = argc > 1 ? std::string(argv[1]) + "/" : TUMBLEWICK_GAME_FOLDER;
    const LevelSetResult set = LoadLevelSet(folder);
    if (!set.ok()) {
        std::fprintf(stderr, "overviewbench: no level set in %s\n", folder.c_str());
        return 1;
    }
    const LevelTable &levels = set.table;
    SolvedMarks marks {};
    for (int i = 0; i < levels.Count(); i += 2)
        marks[static_cast<std::size_t>(i)] = 1; // every other level solved
    const QImage indicator
        = RenderPicture(QStringLiteral(":/pictures/toolbar/solved-indicator.svg"), QSize(100, 100));
    constexpr int Runs = 15;

    std::printf("Overview of %d levels, from its creation to its first full paint, in ms "
                "(median and worst of %d; goal 300):\n",
        levels.Count(), Runs);
    for (const QSize size : {QSize(680, 510), QSize(1280, 960), QSize(1920, 1440)}) {
        QWidget main;
        main.resize(size);
        std::vector<double> first;
        std::vector<double> again;
        QSize cell;
        for (int run = 0; run < Runs; ++run) {
            TLevelOverview *overview = nullptr;
            first.push_back(Milliseconds([&] {
                overview = new TLevelOverview(levels, marks, indicator, &main);
                overview->Prepare(levels.Count() / 2, 0, {});
                overview->show();
                overview->grab(); // lays out and paints every picture in sight
            }));
            overview->hide();
            again.push_back(Milliseconds([&] {
                overview->Prepare(levels.Count() / 3, 0, {});
                overview->show();
                overview->grab();
            }));
            cell = overview->Grid->CellSize();
            delete overview;
        }
        const Figures f = Of(first);
        const Figures a = Of(again);
        std::printf("  window %4dx%-4d pictures %3dx%-3d  first opening %6.1f (worst %6.1f)   "
                    "opened again %6.1f (worst %6.1f)\n",
            size.width(), size.height(), cell.width(), cell.height(), f.median, f.worst, a.median,
            a.worst);

        // The references, at the same picture size.
        std::vector<double> one;
        for (int run = 0; run < Runs; ++run) {
            const LevelRecord &r = levels.Get(levels.Count());
            one.push_back(
                Milliseconds([&] { LevelPicture(r.cells, r.startCol, r.startRow, cell); }));
        }
        const double all = Milliseconds([&] {
            for (int n = 1; n <= levels.Count(); ++n) {
                const LevelRecord &r = levels.Get(n);
                LevelPicture(r.cells, r.startCol, r.startRow, cell);
            }
        });
        std::printf("  reference: one picture (level %d) %6.2f;  all %d pictures at once %7.1f\n",
            levels.Count(), Of(one).median, levels.Count(), all);
    }
    return 0;
}
