// Prints how long the board takes to draw and to animate, on the offscreen
// platform: full repaints of a typical level and of the worst case (64 tiles
// of 127 slabs) at two sizes, one timer tick, and every animation against
// the sum of its pauses.
//   QT_QPA_PLATFORM=offscreen build/tools/viewbench/viewbench
#include "Controls.h"
#include "MainWindow.h"

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double MicrosecondsPer(int runs, const std::function<void()> &what)
{
    what(); // warm up
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < runs; ++i)
        what();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / runs;
}

Board Typical()
{
    // Twenty-two tiles: stacks, arrows, a slide and a teleport pair.
    const int codes[8][8] = {{0, 0, 1, 2, 1, 0, 0, 0}, {0, 1, 3, -1, 1, 1, 0, 0},
        {0, 2, -7, 0, 0, -5, 1, 0}, {0, 1, 1, 4, 2, -11, 0, 0}, {0, 0, 2, 1, -7, 1, 0, 0},
        {0, 0, 0, -12, 1, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}};
    Board b {};
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 8; ++col)
            b[At(col, row)] = static_cast<CellCode>(codes[row][col]);
    return b;
}

Board Worst()
{
    Board b {};
    b.fill(127);
    return b;
}

// Records the pauses of an animation, to know its designed duration.
class Recorder : public AnimationClock
{
public:
    int total = 0;
    void Pause(int ms) override { total += ms; }
};

struct Folder
{
    std::filesystem::path path
        = std::filesystem::temp_directory_path() / ("viewbench-" + std::to_string(::getpid()));
    Folder()
    {
        std::filesystem::create_directories(path);
        LevelTable table;
        table.Add({Typical(), 1, 1});
        table.Add({Worst(), 0, 0});
        const auto bytes = EncodeLevelSet(table);
        std::ofstream(path / LevelSetFileName, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
        std::ofstream(path / "settings.conf") << "[common]\ntongue=0\nsound=0\nmusic=0\n";
    }
    ~Folder() { std::filesystem::remove_all(path); }
};

void SizeTo(TMainForm &form, QSize client)
{
    form.resize(client);
    for (int i = 0; i < 50 && form.size() != client; ++i)
        QCoreApplication::processEvents();
    form.FormResize();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Folder folder;
    TMainForm form(folder.path.string() + "/", folder.path / "settings.conf");
    Parts(form).Timer->stop();
    form.setMinimumSize(1, 1);
    form.show();
    QCoreApplication::processEvents();

    std::printf("Full repaint (boxPaint: board, hero, 1000 stars, status), and the same\n"
                "followed by the board's widget repaint, in microseconds:\n");
    for (const QSize size : {QSize(673, 362), QSize(1600, 1200)}) {
        SizeTo(form, size);
        for (const auto &[name, board] : {std::pair {"typical (22 tiles)", Typical()},
                 std::pair {"worst (64 x 127 slabs)", Worst()}}) {
            Parts(form).game.board = board;
            const int runs = board[0] == 127 ? 20 : 500;
            const double paint = MicrosecondsPer(runs, [&] { form.boxPaint(); });
            const double shown = MicrosecondsPer(runs, [&] {
                form.boxPaint();
                Parts(form).box->repaint();
            });
            std::printf("  %4dx%-4d %-24s boxPaint %9.1f   with repaint %9.1f\n", size.width(),
                size.height(), name, paint, shown);
        }
    }

    std::printf("\nOne TimerTimer tick (50 stars; with the dance after a solved level), in "
                "microseconds:\n");
    for (const QSize size : {QSize(673, 362), QSize(1600, 1200)}) {
        SizeTo(form, size);
        Parts(form).game.board = Typical();
        Parts(form).game.PlayState = PlayReady;
        form.boxPaint();
        const double idle = MicrosecondsPer(2000, [&] { form.TimerTimer(); });
        Parts(form).game.board = Board {};
        Parts(form).game.PlayState = PlaySolved;
        const double dance = MicrosecondsPer(2000, [&] { form.TimerTimer(); });
        Parts(form).game.PlayState = PlayReady;
        std::printf(
            "  %4dx%-4d play %6.1f   dance %6.1f\n", size.width(), size.height(), idle, dance);
    }

    std::printf("\nAnimations with the real pause, each frame shown before it waits\n"
                "(measured against the sum of their pauses):\n");
    for (const QSize size : {QSize(673, 362), QSize(1600, 1200)}) {
        SizeTo(form, size);
        struct Animation
        {
            const char *name;
            std::function<void()> run;
        };
        BoardView &view = Parts(form).view;
        Game &game = Parts(form).game;
        const Animation animations[] = {
            {"hop, one cell", [&] { view.AnimateMove(1, 1, 2, 1, false); }},
            {"jump, two cells", [&] { view.AnimateMove(1, 1, 3, 1, false); }},
            {"hop to the next row", [&] { view.AnimateMove(1, 1, 1, 2, false); }},
            {"teleport", [&] { view.AnimateMove(2, 2, 4, 4, true); }},
            {"tile falls", [&] { view.AnimateTileFall(3, 3); }},
            {"slab drops", [&] { view.AnimateLayerDrop(3, 3); }},
            {"hero falls", [&] { view.AnimateHeroFall(6, 3); }},
            {"tile and hero fall", [&] { view.AnimateBothFall(5, 3, 6, 3); }},
            {"level sweep out and in",
                [&] {
                    view.LevelSweepOut();
                    view.LevelSweepIn();
                }},
        };
        for (const Animation &a : animations) {
            game.board = Typical();
            game.HeroCol = 1;
            game.HeroRow = 1;
            form.boxPaint();
            Recorder recorder;
            view.SetClock(&recorder);
            a.run();
            game.board = Typical();
            form.boxPaint();
            SleepingClock real;
            view.SetClock(&real);
            const Clock::time_point start = Clock::now();
            a.run();
            const double ms
                = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            std::printf("  %4dx%-4d %-24s designed %5d ms   took %7.1f ms   %+5.1f %%\n",
                size.width(), size.height(), a.name, recorder.total, ms,
                100.0 * (ms - recorder.total) / recorder.total);
        }
    }
    return 0;
}
