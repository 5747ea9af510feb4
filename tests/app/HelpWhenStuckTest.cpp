// The help for a stuck player as the player meets it: the hint's arrow on
// the board, what is said when no key helps any more, the "still solvable?"
// lamp, and a window that never waits for the search.
#include "Ball.h"
#include "FormFixture.h"
#include "Hint.h"
#include "HintArrow.h"
#include "LevelSet.h"
#include "MessageDialog.h"
#include "OptionsDialog.h"
#include "PictureButton.h"
#include "SaveDialog.h"
#include "SilentHost.h"
#include "StuckHelp.h"
#include "StuckWidgets.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QWindow>

#include <cstdlib>
#include <optional>

namespace {

const char *const Empty8 = ". . . . . . . .";

// Three tiles in a row: Right, Right, then any key.
const Board Line
    = Rows({"1 1 1 . . . . .", Empty8, Empty8, Empty8, Empty8, Empty8, Empty8, Empty8});
// A gap in the row: only a jump leads on.
const Board Gap = Rows({"1 . 1 . . . . .", Empty8, Empty8, Empty8, Empty8, Empty8, Empty8, Empty8});
// Right walks into a dead end (the last two tiles end up diagonally apart);
// Shift+Right leads through.
const Board Trap
    = Rows({"1 1 1 . . . . .", ". 1 . . . . . .", Empty8, Empty8, Empty8, Empty8, Empty8, Empty8});
// One tile that still bears two landings: no key finishes it.
const Board Stuck
    = Rows({"2 . . . . . . .", Empty8, Empty8, Empty8, Empty8, Empty8, Empty8, Empty8});
// Sixty landings packed to the left: far beyond the hint's budget.
const Board Sixty = Rows({"3 1 2 1 . . . .", "1 2 1 3 . . . .", "2 1 3 1 2 . . .",
    "1 3 1 2 1 . . .", "3 1 2 1 3 . . .", "1 2 1 3 1 . . .", "1 1 2 . . . . .", "1 2 1 1 1 1 . ."});

void Press(TMainForm &form, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    TapKey(form.windowHandle(), key, modifiers);
}

// Lets the search answer and the window take the answer, with whatever the
// answer opens.
void Answers(Form &f)
{
    Parts(f.form).stuckHelp.WaitForAnswers();
    Form::Settle();
}

// The pixels of the arrow's fill on the board as the screen shows it.
int ArrowPixels(TMainForm &form, QRect *where = nullptr)
{
    const QImage shown = Parts(form).box->grab().toImage();
    int count = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb c = shown.pixel(x, y);
            if (qRed(c) == 255 && qGreen(c) == 224 && qBlue(c) == 64) {
                ++count;
                if (where)
                    *where |= QRect(x, y, 1, 1);
            }
        }
    }
    return count;
}

// The text of the next message, answered with Enter.
struct MessageSeen
{
    QString text;
    DialogAnswer answer {[this](QWidget *dialog) {
        if (auto *message = qobject_cast<TYesNoDlg *>(dialog))
            text = message->ShownText();
        QTest::keyClick(dialog, Qt::Key_Return);
    }};
};

} // namespace

TEST(Hint, ShowsTheNextKeyOnTheBallUntilTheNextMove)
{
    Form f({Level(Line, 0, 0)});
    TMainForm &form = f.form;
    EXPECT_EQ(ArrowPixels(form), 0);

    Press(form, Qt::Key_H);
    Answers(f);
    ASSERT_TRUE(Parts(form).stuckHelp.ShownHint());
    EXPECT_EQ(Parts(form).stuckHelp.ShownHint()->dCol, 1);
    EXPECT_EQ(Parts(form).stuckHelp.ShownHint()->dRow, 0);
    QRect arrow;
    EXPECT_GT(ArrowPixels(form, &arrow), 30);
    // It starts at the ball and points right, to the next cell.
    const QPoint ball = BallPosition(Parts(form).view.metrics(), 0, 0);
    EXPECT_GE(arrow.left(), ball.x());
    EXPECT_GT(arrow.right(), BallPosition(Parts(form).view.metrics(), 1, 0).x());
    EXPECT_EQ(Parts(form).game.PlayState, PlayReady) << "asking is not playing";

    // No frame of the hop shows it.
    int frames = 0;
    int arrowInFrames = 0;
    f.clock.onPause = [&] {
        ++frames;
        arrowInFrames += ArrowPixels(form);
    };
    Press(form, Qt::Key_Right);
    f.clock.onPause = {};
    EXPECT_GT(frames, 0);
    EXPECT_EQ(arrowInFrames, 0);
    EXPECT_EQ(Parts(form).game.HeroCol, 1);
    EXPECT_FALSE(Parts(form).stuckHelp.ShownHint());
    EXPECT_EQ(ArrowPixels(form), 0);

    // The solved indicator asks the same with a click.
    QTest::mouseClick(Parts(form).hintSpot, Qt::LeftButton);
    Answers(f);
    EXPECT_GT(ArrowPixels(form), 30);
    EXPECT_EQ(Parts(form).game.PlayState, PlayInPlay);
    // A click on the board is a move too, and takes the arrow away first.
    form.boxMouseDown(0, 0);
    EXPECT_EQ(ArrowPixels(form), 0);
}

TEST(Hint, AJumpArchesOverTheCellBetween)
{
    Form f({Level(Gap, 0, 0)});
    TMainForm &form = f.form;
    Press(form, Qt::Key_H);
    Answers(f);
    ASSERT_TRUE(Parts(form).stuckHelp.ShownHint());
    EXPECT_EQ(Parts(form).stuckHelp.ShownHint()->dCol, 2);
    QRect arrow;
    ASSERT_GT(ArrowPixels(form, &arrow), 30);
    const Metrics m = Parts(form).view.metrics();
    // Well above the ball at its highest, and down to the landing cell.
    EXPECT_LT(arrow.top(), BallPosition(m, 0, 0).y() - m.CellH / 2);
    EXPECT_GE(arrow.right(), BallPosition(m, 2, 0).x() + BallDiameter(m, 10) / 2);

    // The hinted key, pressed, is the jump.
    Press(form, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Parts(form).game.HeroCol, 2);
    EXPECT_EQ(Parts(form).game.PlayState, PlayInPlay);
}

TEST(Hint, SaysWhenTheLevelCannotBeFinishedInTheGamesLanguage)
{
    struct Case
    {
        int language;
        const char *fromStart;
        const char *later;
    };
    for (const Case c :
        {Case {0, "This level cannot be solved.", "This level cannot be finished any more."},
            Case {1, "Diese Stufe ist nicht zu schaffen.",
                "Diese Stufe ist nicht mehr zu schaffen."}}) {
        SCOPED_TRACE(c.language);
        const std::string settings = "[common]\ntongue=" + std::to_string(c.language) + "\n";
        {
            Form f({Level(Stuck, 0, 0)}, settings);
            MessageSeen seen;
            Press(f.form, Qt::Key_H);
            Answers(f);
            EXPECT_EQ(seen.text, c.fromStart);
            EXPECT_EQ(Parts(f.form).game.PlayState, PlayReady);
            EXPECT_EQ(ArrowPixels(f.form), 0);
        }
        {
            Form f({Level(Trap, 0, 0)}, settings);
            Press(f.form, Qt::Key_Right); // into the dead end
            MessageSeen seen;
            Press(f.form, Qt::Key_H);
            Answers(f);
            EXPECT_EQ(seen.text, c.later);
        }
    }
}

TEST(Hint, TheSearchNeverHoldsUpTheWindowAndAStaleAnswerIsThrownAway)
{
    Form f({Level(Sixty, 0, 0)});
    TMainForm &form = f.form;
    Press(form, Qt::Key_H);
    // The key has returned while the search still works on its question.
    EXPECT_TRUE(Parts(form).stuckHelp.Searching());
    EXPECT_EQ(Parts(form).box->cursor().shape(), Qt::BusyCursor);
    Press(form, Qt::Key_Down); // the player moves on meanwhile
    EXPECT_EQ(Parts(form).game.HeroRow, 1);
    EXPECT_FALSE(Parts(form).stuckHelp.Searching());
    EXPECT_NE(Parts(form).box->cursor().shape(), Qt::BusyCursor);
    {
        // The answer about the old position shows nothing and says nothing.
        MessageSeen seen;
        Answers(f);
        EXPECT_FALSE(seen.answer.Answered());
        EXPECT_EQ(ArrowPixels(form), 0);
    }
    // Asked and waited for: past its budget the search gives no answer.
    MessageSeen seen;
    Press(form, Qt::Key_H);
    Answers(f);
    EXPECT_EQ(seen.text, "Sorry, I cannot work that out from here.");
    EXPECT_EQ(ArrowPixels(form), 0);
}

TEST(Hint, LeadsThroughTheHardestShippedLevelWithTheLampGreenAllTheWay)
{
    // The shipped level whose start costs the search the most positions.
    const LevelSetResult shipped = LoadLevelSet(TUMBLEWICK_GAME_FOLDER);
    ASSERT_TRUE(shipped.ok());
    int hardest = 1;
    std::uint64_t most = 0;
    for (int n = 1; n <= shipped.table.Count(); ++n) {
        const std::uint64_t nodes = FindHint(StartPosition(shipped.table.Get(n))).nodes;
        if (nodes > most) {
            most = nodes;
            hardest = n;
        }
    }
    SCOPED_TRACE(testing::Message() << "level " << hardest << ", " << most << " positions");

    Form f({shipped.table.Get(hardest)}, "[common]\ntongue=0\nsolvablemark=1\n");
    TMainForm &form = f.form;
    const int landings = LandingTotal(Parts(form).game.board);
    DialogAnswers congratulations([](QWidget *dialog) { QTest::keyClick(dialog, Qt::Key_Return); });
    for (int presses = 0; Parts(form).game.Mark(1) == 0; ++presses) {
        ASSERT_LT(presses, landings) << "every key press takes a landing";
        Answers(f); // the lamp's answer about the position the move left
        ASSERT_EQ(Parts(form).solvableMark->Shown(), SolvableMark::Lamp::Green);
        Press(form, Qt::Key_H);
        Answers(f);
        const std::optional<Key> key = Parts(form).stuckHelp.ShownHint();
        ASSERT_TRUE(key);
        const bool jump = std::abs(key->dCol) == 2 || std::abs(key->dRow) == 2;
        const Qt::Key arrow = key->dCol > 0 ? Qt::Key_Right
            : key->dCol < 0                 ? Qt::Key_Left
            : key->dRow > 0                 ? Qt::Key_Down
                                            : Qt::Key_Up;
        Press(form, arrow, jump ? Qt::ShiftModifier : Qt::NoModifier);
        ASSERT_NE(Parts(form).game.PlayState, PlayLost);
    }
    EXPECT_EQ(Parts(form).game.PlayState, PlaySolved);
}

TEST(SolvableMark, AnAnswerAboutAPositionTheGameHasLeftIsThrownAway)
{
    SilentHost host;
    Game game(host);
    LevelTable table;
    table.Add(Level(Line, 0, 0));
    game.InstallLevels(table, 1);
    game.StartUp();
    StuckHelp help(game);
    help.SetMarkOn(true); // asks about the start
    help.WaitForSearch(); // answered: the start can be finished
    // The game moves on before the window takes that answer: to a last
    // tile that still bears two landings, which is told at once.
    game.board = Stuck;
    help.Look();
    EXPECT_EQ(help.CurrentMark(), StuckHelp::Mark::Unsolvable);
    help.WaitForAnswers();
    EXPECT_EQ(help.CurrentMark(), StuckHelp::Mark::Unsolvable);
}

TEST(Hint, KeysOfTheHelpNeverPutAFreshLevelInPlay)
{
    Form f({Level(Line, 0, 0)});
    TMainForm &form = f.form;
    Press(form, Qt::Key_H);
    {
        DialogAnswer close(Qt::Key_Escape);
        Press(form, Qt::Key_Tab);
        Form::Settle();
        EXPECT_TRUE(close.Answered()) << "the overview opened";
    }
    Answers(f);
    EXPECT_EQ(Parts(form).game.PlayState, PlayReady);
    // With Ctrl the key is the game's, as any other key.
    Press(form, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(Parts(form).game.PlayState, PlayInPlay);
}

TEST(SolvableMark, IsOffByDefault)
{
    Form f({Level(Trap, 0, 0)});
    EXPECT_FALSE(Parts(f.form).solvableMark->isVisible());
    Press(f.form, Qt::Key_Right);
    Answers(f);
    EXPECT_FALSE(Parts(f.form).stuckHelp.Searching()) << "nobody asked";
}

TEST(SolvableMark, TurnsRedTheMomentTheLevelCannotBeFinished)
{
    Form f({Level(Trap, 0, 0), Level(Stuck, 0, 0)}, "[common]\ntongue=0\nsolvablemark=1\n");
    TMainForm &form = f.form;
    ASSERT_TRUE(Parts(form).solvableMark->isVisible());
    Answers(f);
    EXPECT_EQ(Parts(form).solvableMark->Shown(), SolvableMark::Lamp::Green);
    EXPECT_EQ(Parts(form).solvableMark->toolTip(), "This level can still be finished.");

    Press(form, Qt::Key_Right); // into the dead end
    Answers(f);
    EXPECT_EQ(Parts(form).solvableMark->Shown(), SolvableMark::Lamp::Red);
    EXPECT_EQ(Parts(form).solvableMark->toolTip(), "This level cannot be finished any more.");

    // Back to the start, which can be finished.
    {
        DialogAnswer yes(Qt::Key_Y);
        Parts(form).StartBtn->click();
    }
    Answers(f);
    EXPECT_EQ(Parts(form).solvableMark->Shown(), SolvableMark::Lamp::Green);

    // A lost level is red while the repeat question is asked.
    SolvableMark::Lamp duringQuestion = SolvableMark::Lamp::Grey;
    {
        DialogAnswer no([&](QWidget *dialog) {
            duringQuestion = Parts(form).solvableMark->Shown();
            QTest::keyClick(dialog, Qt::Key_N);
        });
        Press(form, Qt::Key_Up); // off the board
    }
    EXPECT_EQ(Parts(form).game.PlayState, PlayLost);
    EXPECT_EQ(duringQuestion, SolvableMark::Lamp::Red);

    // The last tile bearing more than one landing: red from the start.
    Parts(form).Level1UpBtn->click();
    Answers(f);
    EXPECT_EQ(Parts(form).game.CurrentLevel, 2);
    EXPECT_EQ(Parts(form).solvableMark->Shown(), SolvableMark::Lamp::Red);
}

TEST(SolvableMark, IsGreyWhenTheSearchCannotTell)
{
    Form f({Level(Sixty, 0, 0)}, "[common]\ntongue=0\nsolvablemark=1\n");
    Answers(f);
    EXPECT_EQ(Parts(f.form).solvableMark->Shown(), SolvableMark::Lamp::Grey);
    EXPECT_EQ(Parts(f.form).solvableMark->toolTip(),
        "I cannot tell whether this level can still be finished.");
}

TEST(SolvableMark, TheOptionSwitchesTheLampAtOnceAndIsKeptInTheSettings)
{
    Form f({Level(Line, 0, 0)}, "[common]\ntongue=1\n");
    TMainForm &form = f.form;
    TOptionDlg &options = *Parts(form).OptionDlg;
    options.RefreshTexts();
    EXPECT_EQ(options.MarkLabel->text(), "Lösbarkeit wird nicht angezeigt.");
    options.MarkBtnClick();
    EXPECT_EQ(options.MarkLabel->text(), "Lösbarkeit wird angezeigt.");
    EXPECT_TRUE(Parts(form).SolvableMarkOn);
    EXPECT_TRUE(Parts(form).solvableMark->isVisible());
    Answers(f);
    EXPECT_EQ(Parts(form).solvableMark->Shown(), SolvableMark::Lamp::Green);
    EXPECT_EQ(Parts(form).solvableMark->toolTip(), "Diese Stufe ist noch zu schaffen.");

    // Closed with the lamp on, it comes back on.
    {
        DialogAnswers answers([](QWidget *dialog) {
            if (auto *save = qobject_cast<TSaveGameDlg *>(dialog))
                save->CancelBtnClick(); // no name: nothing saved
            else
                QTest::keyClick(dialog, Qt::Key_J);
        });
        EXPECT_TRUE(form.close());
    }
    EXPECT_NE(f.folder.ReadSettings().find("solvablemark=1\n"), std::string::npos);
    TMainForm again(f.folder.Folder(), f.folder.Settings());
    EXPECT_TRUE(Parts(again).SolvableMarkOn);
}
