// Plays the game the way a careless player would: random keys, clicks on
// the board and on every button, random answers to every dialog, names good
// and bad, closes and restarts, window sizes. After every event it checks
// what must always hold: the window answers, every saved game on disk is a
// whole record of 2000 bytes, and the memory stays flat over the run.
//
//   monkey [--events N] [--seed S] [--game-dir DIR]
//
// Runs against the real window on whatever display Qt is given (Xvfb in the
// test command). Prints its figures; exits 1 when an invariant breaks.
#include "MainWindow.h"
#include "Pause.h"
#include "PictureButton.h"
#include "SaveDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include <malloc.h>
#include <random>
#include <thread>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Frames are drawn, but the pauses between them take no time.
class NoPauses : public AnimationClock
{
public:
    void Pause(int) override { }
};

// Keys and clicks are delivered at once, as the window system would deliver
// them, without running the event loop in between (which would start the
// next event inside this one).
void Key(QObject *target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QCoreApplication::sendEvent(target, &release);
}

void Click(QWindow *window, QPoint at, Qt::MouseButton button)
{
    const QPointF local(at);
    const QPointF global(window->mapToGlobal(at));
    QMouseEvent press(
        QEvent::MouseButtonPress, local, local, global, button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &press);
    QMouseEvent release(
        QEvent::MouseButtonRelease, local, local, global, button, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &release);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool UnderAddressSanitizer = true;
#else
constexpr bool UnderAddressSanitizer = false;
#endif

long ResidentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// Names a player might type, the good and the bad.
const char *const Names[] = {"Anna", "bob", "Anna", "a/b", "what?", "..", "", "  blank  ", "Grüße",
    "日本", "x\\y", "tab\there", "a-very-long-name-that-goes-on-and-on-and-on-and-on"};

class Monkey
{
public:
    Monkey(const fs::path &program, const fs::path &settings, int events, unsigned seed)
        : program_(program)
        , settings_(settings)
        , events_(events)
        , random_(seed)
    { }

    int Run()
    {
        Start();
        QTimer::singleShot(0, [this] { Step(); });
        const int status = QApplication::exec();
        return status != 0 ? status : failures_;
    }

    // For the watchdog: the number of the last event done.
    std::atomic<int> done {0};

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    void Start()
    {
        form_ = std::make_unique<TMainForm>(program_.string() + "/", settings_);
        Parts(*form_).view.SetClock(&clock_);
        form_->show();
        form_->CreateDialogs();
        ++starts_;
    }

    // One event, then the next one is already on its way, so that a dialog
    // opened by this event is answered by the next.
    void Step()
    {
        if (done >= events_) {
            Finish();
            return;
        }
        ++done;
        // The memory of a run rises and falls by many megabytes as windows
        // are made, resized and closed; memory that keeps growing shows as an
        // end above the highest figure of the run's first half.
        if (done >= events_ / 10 && done <= events_ / 2 && done % 25 == 0)
            startKiB_ = std::max(startKiB_, ResidentKiBInUse());
        QTimer::singleShot(0, [this] { Step(); });
        // Inside a dialog's own loop only the dialog is answered: a player
        // cannot reach the window behind it.
        const bool nested = QThread::currentThread()->loopLevel() > 1;
        if (QWidget *dialog = QApplication::activeModalWidget())
            AnswerDialog(dialog);
        else if (nested)
            ; // a dialog is closing; its loop ends before anything else
        else if (form_ && form_->isVisible())
            PlayOn(*form_);
        else
            Restart();
        Check();
    }

    void Finish()
    {
        // Dialogs still open are closed from the inside out first.
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            if (auto *box = qobject_cast<QDialog *>(dialog))
                box->reject();
            else
                dialog->close();
            QTimer::singleShot(0, [this] { Finish(); });
            return;
        }
        const long endKiB = ResidentKiBInUse();
        std::printf("events %d, starts %d, resident memory at most %ld KiB in the first half, "
                    "%ld KiB at the end\n",
            done.load(), starts_, startKiB_, endKiB);
        // Fonts, pictures and dialogs are made once; after that the run may
        // not keep growing. Under AddressSanitizer freed memory is held back
        // on purpose, so there the figures are only shown.
        if (!UnderAddressSanitizer && startKiB_ > 0 && endKiB - startKiB_ > 16 * 1024) {
            std::printf("FAILED: memory grew by %ld KiB\n", endKiB - startKiB_);
            ++failures_;
        }
        form_.reset();
        QApplication::exit(failures_ ? 1 : 0);
    }

    // What the allocator still holds of freed memory is handed back first,
    // so that the figure is the memory in use: pictures and buffers freed
    // and made anew would otherwise count as growth.
    static long ResidentKiBInUse()
    {
        malloc_trim(0);
        return ResidentKiB();
    }

    void Restart()
    {
        // The window closed: the program ends and is started again.
        form_.reset();
        Start();
    }

    void PlayOn(TMainForm &form)
    {
        QWindow *window = form.windowHandle();
        const int what = Pick(100);
        if (what < 55) {
            static const Qt::Key arrows[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
            Key(window, arrows[Pick(4)], Pick(3) == 0 ? Qt::ShiftModifier : Qt::NoModifier);
        } else if (what < 75) {
            static const Qt::MouseButton buttons[]
                = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
            const QPoint at(Pick(form.width()), 60 + Pick(std::max(1, form.height() - 60)));
            Click(window, at, buttons[Pick(3)]);
        } else if (what < 97) {
            const QList<PictureButton *> buttons = form.findChildren<PictureButton *>();
            if (!buttons.isEmpty())
                buttons[Pick(static_cast<int>(buttons.size()))]->click();
        } else if (what < 99) {
            form.resize(400 + Pick(1200), 300 + Pick(900));
        } else {
            // A letter, or Tab for the overview of all levels.
            const int key = Pick(27);
            Key(window, key == 26 ? Qt::Key_Tab : static_cast<Qt::Key>(Qt::Key_A + key));
        }
    }

    void AnswerDialog(QWidget *dialog)
    {
        if (auto *save = qobject_cast<TSaveGameDlg *>(dialog)) {
            if (Pick(3) > 0)
                save->NameEdit->setText(QString::fromUtf8(Names[Pick(std::size(Names))]));
        }
        const int what = Pick(10);
        if (what == 0) {
            dialog->close(); // the window system's close box
            return;
        }
        if (what < 3) {
            static const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Escape, Qt::Key_J, Qt::Key_N,
                Qt::Key_Y, Qt::Key_Down, Qt::Key_Up};
            Key(dialog, keys[Pick(std::size(keys))]);
            return;
        }
        QList<QAbstractButton *> buttons;
        for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
            if (button->isVisible() && button->isEnabled())
                buttons << button;
        }
        if (buttons.isEmpty()) {
            dialog->close();
            return;
        }
        if (auto *load = dialog->findChild<QListWidget *>(); load && load->count() > 0 && Pick(2))
            load->setCurrentRow(Pick(load->count()));
        buttons[Pick(static_cast<int>(buttons.size()))]->click();
    }

    void Check()
    {
        std::error_code ec;
        for (fs::directory_iterator it(program_ / "games", ec), end; !ec && it != end;
             it.increment(ec)) {
            if (!it->is_regular_file() || it->path().extension() != ".twp")
                continue;
            const auto size = fs::file_size(it->path(), ec);
            if (!ec && size != 2000) {
                std::printf("FAILED after event %d: %s holds %ju bytes\n", done.load(),
                    it->path().filename().c_str(), static_cast<std::uintmax_t>(size));
                ++failures_;
            }
        }
    }

    fs::path program_;
    fs::path settings_;
    int events_;
    std::mt19937 random_;
    NoPauses clock_;
    std::unique_ptr<TMainForm> form_;
    int starts_ = 0;
    long startKiB_ = 0;
    int failures_ = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"events", "Number of events.", "n", "2000"});
    parser.addOption({"seed", "Seed of the random events.", "s", "1"});
    parser.addOption({"game-dir", "Folder of the built game.", "dir", TUMBLEWICK_GAME_DIR});
    parser.process(app);
    const int events = parser.value("events").toInt();
    const unsigned seed = parser.value("seed").toUInt();

    // A program folder of its own, with the game's data, and settings of
    // its own.
    const fs::path work
        = fs::temp_directory_path() / ("tumblewick-monkey-" + std::to_string(::getpid()));
    fs::create_directories(work / "program");
    for (const auto &entry : fs::directory_iterator(parser.value("game-dir").toStdString())) {
        if (entry.is_regular_file() && entry.path().filename() != "tumblewick")
            fs::copy_file(entry.path(), work / "program" / entry.path().filename());
    }
    std::ofstream(work / "V2.conf") << "[common]\ntongue=0\n";

    const auto started = std::chrono::steady_clock::now();
    Monkey monkey(work / "program", work / "V2.conf", events, seed);
    // The window must keep answering: an event that never returns ends the
    // run with the number of the last event.
    std::atomic<bool> running {true};
    std::thread watchdog([&] {
        int last = -1;
        auto since = std::chrono::steady_clock::now();
        while (running) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (monkey.done != last) {
                last = monkey.done;
                since = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - since > std::chrono::seconds(60)) {
                std::printf("FAILED: no answer for 60 s after event %d\n", last);
                std::fflush(stdout);
                std::_Exit(2);
            }
        }
    });
    const int status = monkey.Run();
    running = false;
    watchdog.join();
    const double minutes
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() / 60;
    std::printf("seed %u, %.2f minutes, %s\n", seed, minutes, status == 0 ? "passed" : "FAILED");
    std::error_code ec;
    fs::remove_all(work, ec);
    return status;
}
