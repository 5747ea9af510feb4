#include "UiSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <fstream>
#include <numeric>
#include <sstream>

#include <unistd.h>

namespace {

class QtApplication : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "tumblewick-tests";
        static char *argv[] = {name, nullptr};
        app_ = new QApplication(argc, argv);
    }
    void TearDown() override { delete app_; }

private:
    QApplication *app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment *const environment
    = ::testing::AddGlobalTestEnvironment(new QtApplication);

} // namespace

int CountingClock::Count(int ms) const
{
    return static_cast<int>(std::count(pauses.begin(), pauses.end(), ms));
}

int CountingClock::Total() const
{
    return std::accumulate(pauses.begin(), pauses.end(), 0);
}

Board Rows(std::initializer_list<const char *> rows)
{
    Board board {};
    int row = 0;
    for (const char *line : rows) {
        std::istringstream in(line);
        std::string token;
        for (int col = 0; in >> token; ++col) {
            if (token != ".")
                board[At(col, row)] = static_cast<CellCode>(std::stoi(token));
        }
        ++row;
    }
    return board;
}

LevelRecord Level(const Board &board, int col, int row)
{
    return {board, static_cast<std::uint8_t>(col), static_cast<std::uint8_t>(row)};
}

ProgramFolder::ProgramFolder(const std::vector<LevelRecord> &levels, const std::string &settings,
    const std::vector<std::string> &savedGames)
{
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path()
        / (std::string("tumblewick-ui-") + info->test_suite_name() + "-" + info->name() + "-"
            + std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    LevelTable table;
    for (const LevelRecord &level : levels)
        table.Add(level);
    const std::vector<std::uint8_t> bytes = EncodeLevelSet(table);
    std::ofstream(path_ / LevelSetFileName, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    std::ofstream(path_ / "V2.conf") << settings;
    if (!savedGames.empty())
        std::filesystem::create_directories(path_ / "games");
    for (const std::string &name : savedGames)
        std::ofstream(path_ / "games" / (name + ".twp"), std::ios::binary)
            << std::string(2000, '\0');
}

ProgramFolder::~ProgramFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string ProgramFolder::ReadSettings() const
{
    std::ifstream in(Settings());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

namespace {

// A letter, digit or space typed; other keys type nothing.
QString KeyText(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_Space || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return QString(QChar(key));
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        const QChar c(key);
        return QString(modifiers.testFlag(Qt::ShiftModifier) ? c : c.toLower());
    }
    return {};
}

void SendKey(QWindow *window, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers)
{
    static quint64 time = 0;
    time += 10;
    QKeyEvent event(type, key, modifiers, KeyText(key, modifiers));
    event.setTimestamp(time);
    QCoreApplication::sendEvent(window, &event);
    QCoreApplication::processEvents();
}

} // namespace

void TapKey(QWindow *window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    const QPointer<QWindow> still(window);
    PressKey(window, key, modifiers);
    if (still) // the key may have closed it
        ReleaseKey(window, key, modifiers);
}

void PressKey(QWindow *window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    const QPointer<QWindow> still(window);
    if (modifiers.testFlag(Qt::ShiftModifier))
        SendKey(window, QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
    if (still && modifiers.testFlag(Qt::ControlModifier))
        SendKey(window, QEvent::KeyPress, Qt::Key_Control, modifiers & Qt::ShiftModifier);
    if (still && modifiers.testFlag(Qt::AltModifier))
        SendKey(window, QEvent::KeyPress, Qt::Key_Alt,
            modifiers & (Qt::ShiftModifier | Qt::ControlModifier));
    if (still)
        SendKey(window, QEvent::KeyPress, key, modifiers);
}

void ReleaseKey(QWindow *window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    const QPointer<QWindow> still(window);
    SendKey(window, QEvent::KeyRelease, key, modifiers);
    if (still && modifiers.testFlag(Qt::AltModifier))
        SendKey(window, QEvent::KeyRelease, Qt::Key_Alt, modifiers);
    if (still && modifiers.testFlag(Qt::ControlModifier))
        SendKey(window, QEvent::KeyRelease, Qt::Key_Control,
            modifiers & (Qt::ShiftModifier | Qt::ControlModifier));
    if (still && modifiers.testFlag(Qt::ShiftModifier))
        SendKey(window, QEvent::KeyRelease, Qt::Key_Shift, modifiers & Qt::ShiftModifier);
}

DialogAnswer::DialogAnswer(int key)
    : DialogAnswer([key](QWidget *dialog) { QTest::keyClick(dialog, static_cast<Qt::Key>(key)); })
{ }

DialogAnswer::DialogAnswer(std::function<void(QWidget *dialog)> answer)
    : timer_(new QTimer)
{
    timer_->setInterval(0);
    QObject::connect(timer_, &QTimer::timeout, [this, answer] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible())
            return;
        timer_->stop();
        answered_ = true;
        dialog_ = dialog;
        answer(dialog);
    });
    timer_->start();
}

DialogAnswer::~DialogAnswer()
{
    delete timer_;
}

DialogAnswers::DialogAnswers(std::function<void(QWidget *dialog)> answer)
    : timer_(new QTimer)
{
    timer_->setInterval(0);
    QObject::connect(timer_, &QTimer::timeout, [this, answer] {
        if (answered_ && answered_->isVisible())
            return; // still closing
        answered_ = nullptr;
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible())
            return;
        answered_ = dialog;
        // The same dialog may be shown again before this looks once more.
        if (auto *box = qobject_cast<QDialog *>(dialog))
            QObject::connect(
                box, &QDialog::finished, timer_, [this] { answered_ = nullptr; },
                Qt::SingleShotConnection);
        ++count_;
        answer(dialog);
    });
    timer_->start();
}

DialogAnswers::~DialogAnswers()
{
    delete timer_;
}

QRect BallBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            // Every ring of the ball is a shade of (255, 64, 64).
            if (qRed(c) > 0 && qGreen(c) == qBlue(c) && qRed(c) >= 3 * qGreen(c) && qRed(c) > 40)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}
