// The overview of all levels as the player meets it: opened by Tab or a
// click on the level display, the right marks after solving and loading,
// moved through by keys and mouse, a level played with the design's
// question first, and pictures that grow with the window.
#include "LevelOverview.h"
#include "FormFixture.h"
#include "LoadDialog.h"
#include "MessageDialog.h"
#include "SaveDialog.h"
#include "SavedGameFile.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QWindow>

#include <fstream>

namespace {

const char *const Empty8 = ". . . . . . . .";
// Solved by Right, then any key.
const Board Two = Rows({"1 1 . . . . . .", Empty8, Empty8, Empty8, Empty8, Empty8, Empty8, Empty8});

std::vector<LevelRecord> Levels(int count)
{
    return std::vector<LevelRecord>(static_cast<std::size_t>(count), Level(Two, 0, 0));
}

void Press(QWindow *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    TapKey(window, key, modifiers);
}

// Opens the overview with Tab and hands it to `look` while it is open.
void WithOverview(TMainForm &form, const std::function<void(TLevelOverview &)> &look)
{
    bool seen = false;
    DialogAnswer answer([&](QWidget *dialog) {
        auto *overview = qobject_cast<TLevelOverview *>(dialog);
        ASSERT_NE(overview, nullptr);
        seen = true;
        look(*overview);
        if (overview->isVisible())
            overview->reject();
    });
    TapKey(form.windowHandle(), Qt::Key_Tab);
    Form::Settle();
    EXPECT_TRUE(seen);
}

enum class Seen { Solved, Unsolved, Other };

// The mark in a level's cell, as the screen shows it: the green tick or the
// red cross of the solved indicator.
Seen MarkShown(TLevelOverview &overview, int level)
{
    LevelGrid &grid = *overview.Grid;
    const auto at = std::find(grid.Levels().begin(), grid.Levels().end(), level);
    if (at == grid.Levels().end())
        return Seen::Other;
    const QRect cell = grid.CellRect(static_cast<int>(at - grid.Levels().begin()));
    const QImage shown = grid.viewport()->grab().toImage();
    int red = 0;
    int green = 0;
    for (int y = cell.bottom() - 20; y <= cell.bottom(); ++y) {
        for (int x = cell.right() - 20; x <= cell.right(); ++x) {
            const QColor c = shown.pixelColor(x, y);
            red += c.red() > 150 && c.green() < 100 ? 1 : 0;
            green += c.green() > 150 && c.red() < 150 ? 1 : 0;
        }
    }
    if (red > 10 && green == 0)
        return Seen::Unsolved;
    if (green > 10 && red == 0)
        return Seen::Solved;
    return Seen::Other;
}

// Answers the message dialog, and only it, every time it shows, with the
// key `answer` names at that moment; keeps what it asked.
class Messages
{
public:
    explicit Messages(const int &answer)
    {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this, &answer] {
            auto *message = qobject_cast<TYesNoDlg *>(QApplication::activeModalWidget());
            if (!message || !message->isVisible())
                return;
            asked << message->ShownText();
            QTest::keyClick(message, static_cast<Qt::Key>(answer));
        });
        timer_.start();
    }
    QStringList asked;

private:
    QTimer timer_;
};

std::vector<int> Range(int first, int last)
{
    std::vector<int> levels;
    for (int n = first; n <= last; ++n)
        levels.push_back(n);
    return levels;
}

} // namespace

TEST(LevelOverview, ShowsTheRightMarksAfterSolvingAndLoadingGames)
{
    Form f(Levels(12), "[common]\ntongue=0\n", {"Anna"});
    TMainForm &form = f.form;
    {
        DialogAnswer no(Qt::Key_N); // the next-level question
        Press(form.windowHandle(), Qt::Key_Right);
        Press(form.windowHandle(), Qt::Key_Right);
    }
    ASSERT_EQ(Parts(form).game.Mark(1), 1);
    WithOverview(form, [](TLevelOverview &o) {
        EXPECT_EQ(o.windowTitle(), "All levels");
        EXPECT_EQ(o.Grid->Levels(), Range(1, 12));
        EXPECT_EQ(MarkShown(o, 1), Seen::Solved);
        EXPECT_EQ(MarkShown(o, 2), Seen::Unsolved);
        o.UnsolvedOnly->setChecked(true);
        EXPECT_EQ(o.Grid->Levels(), Range(2, 12));
        o.UnsolvedOnly->setChecked(false);
    });

    // Anna solved levels 2 and 12, not 1.
    std::string bytes(2000, '\0');
    bytes[4] = 1;
    bytes[44] = 1;
    std::ofstream(SavedGamePath(Parts(form).GamesFolder, "Anna"), std::ios::binary) << bytes;
    {
        DialogAnswers answers([](QWidget *dialog) {
            if (auto *save = qobject_cast<TSaveGameDlg *>(dialog)) {
                save->CancelBtnClick(); // the game so far is not kept
            } else if (auto *load = qobject_cast<TLoadGameDlg *>(dialog)) {
                load->NameListBox->setCurrentRow(0);
                load->exitClick();
            }
        });
        form.LoadBtnClick();
    }
    ASSERT_EQ(Parts(form).game.GameName, "Anna");
    WithOverview(form, [](TLevelOverview &o) {
        EXPECT_EQ(MarkShown(o, 1), Seen::Unsolved);
        EXPECT_EQ(MarkShown(o, 2), Seen::Solved);
        EXPECT_EQ(MarkShown(o, 12), Seen::Solved);
        o.UnsolvedOnly->setChecked(true);
        std::vector<int> open = Range(1, 11);
        open.erase(open.begin() + 1);
        EXPECT_EQ(o.Grid->Levels(), open);
    });
}

TEST(LevelOverview, ArrowsAndTheMouseMoveThroughItAndEnterPlays)
{
    Form f(Levels(40), "[common]\ntongue=1\nlevel=5\n");
    TMainForm &form = f.form;
    WithOverview(form, [&](TLevelOverview &o) {
        EXPECT_EQ(o.windowTitle(), "Alle Stufen");
        LevelGrid &grid = *o.Grid;
        const int columns = grid.Columns();
        ASSERT_GT(columns, 1);
        EXPECT_EQ(grid.Chosen(), 5) << "the level at hand";
        QWindow *w = o.windowHandle();
        Press(w, Qt::Key_Right);
        EXPECT_EQ(grid.Chosen(), 6);
        Press(w, Qt::Key_Down);
        EXPECT_EQ(grid.Chosen(), 6 + columns);
        Press(w, Qt::Key_Left);
        Press(w, Qt::Key_Up);
        EXPECT_EQ(grid.Chosen(), 5);
        Press(w, Qt::Key_End);
        EXPECT_EQ(grid.Chosen(), 40);
        EXPECT_TRUE(grid.viewport()->rect().contains(grid.CellRect(39))) << "scrolled to it";
        Press(w, Qt::Key_Home);
        EXPECT_EQ(grid.Chosen(), 1);
        Press(w, Qt::Key_Left); // nothing before the first
        EXPECT_EQ(grid.Chosen(), 1);
        QTest::mouseClick(
            grid.viewport(), Qt::LeftButton, Qt::NoModifier, grid.CellRect(2).center());
        EXPECT_EQ(grid.Chosen(), 3);
        Press(w, Qt::Key_Return);
        EXPECT_FALSE(o.isVisible());
    });
    EXPECT_EQ(Parts(form).game.CurrentLevel, 3);
    EXPECT_EQ(Parts(form).game.PlayState, PlayReady);

    // A double click plays the level under the mouse.
    WithOverview(form, [&](TLevelOverview &o) {
        EXPECT_EQ(o.Grid->Chosen(), 3);
        QTest::mouseDClick(
            o.Grid->viewport(), Qt::LeftButton, Qt::NoModifier, o.Grid->CellRect(9).center());
    });
    EXPECT_EQ(Parts(form).game.CurrentLevel, 10);
}

TEST(LevelOverview, ALevelInPlayIsGivenUpOnlyAfterTheQuestion)
{
    Form f(Levels(10), "[common]\ntongue=0\n");
    TMainForm &form = f.form;
    Press(form.windowHandle(), Qt::Key_Right);
    ASSERT_EQ(Parts(form).game.PlayState, PlayInPlay);
    const Board played = Parts(form).game.board;

    int answer = Qt::Key_N;
    Messages messages(answer);
    WithOverview(form, [&](TLevelOverview &o) {
        o.Grid->Choose(4);
        Press(o.windowHandle(), Qt::Key_Enter);
        // No: the overview stays, and so does the level.
        EXPECT_TRUE(o.isVisible());
        EXPECT_EQ(Parts(form).game.board, played);
        EXPECT_EQ(Parts(form).game.PlayState, PlayInPlay);
        answer = Qt::Key_Y;
        Press(o.windowHandle(), Qt::Key_Enter);
        EXPECT_FALSE(o.isVisible());
    });
    EXPECT_EQ(messages.asked,
        QStringList({"Do you really want to give up the level?",
            "Do you really want to give up the level?"}));
    EXPECT_EQ(Parts(form).game.CurrentLevel, 4);
    EXPECT_EQ(Parts(form).game.PlayState, PlayReady);
}

TEST(LevelOverview, EscClosesItAndAClickOnTheLevelDisplayOpensIt)
{
    Form f(Levels(10), "[common]\ntongue=0\nlevel=7\n");
    TMainForm &form = f.form;
    for (QLabel *place : {Parts(form).LevelLabel, Parts(form).LevelLabel10}) {
        bool opened = false;
        DialogAnswer esc([&](QWidget *dialog) {
            opened = qobject_cast<TLevelOverview *>(dialog) != nullptr;
            QTest::keyClick(static_cast<TLevelOverview *>(dialog)->Grid, Qt::Key_Escape);
        });
        QTest::mouseClick(place, Qt::LeftButton, Qt::NoModifier, QPoint(4, place->height() / 2));
        Form::Settle();
        EXPECT_TRUE(opened);
        EXPECT_EQ(Parts(form).game.CurrentLevel, 7);
        EXPECT_EQ(Parts(form).game.PlayState, PlayReady);
    }
}

TEST(LevelOverview, PicturesGrowWithTheWindow)
{
    Form f(Levels(500), "[common]\ntongue=0\n");
    WithOverview(f.form, [](TLevelOverview &o) {
        o.resize(700, 500);
        Form::Settle();
        const QSize small = o.Grid->CellSize();
        const int fewer = o.Grid->Columns();
        o.resize(1400, 1000);
        Form::Settle();
        EXPECT_GT(o.Grid->Columns(), fewer);
        EXPECT_GE(o.Grid->CellSize().width(), LevelGrid::PictureWidth);
        EXPECT_GE(o.Grid->CellSize().width(), small.width() * 9 / 10);
        // The chosen level stays in sight.
        o.Grid->Choose(250);
        EXPECT_TRUE(o.Grid->viewport()->rect().intersects(o.Grid->CellRect(249)));
    });
}
