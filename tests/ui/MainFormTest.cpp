// The main window driven as a player drives it: keys through the window,
// clicks on the board, the message dialog answered with keys.
#include "Ball.h"
#include "FormFixture.h"
#include "MessageDialog.h"
#include "PictureButton.h"
#include "Tiles.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <QTest>
#include <QWindow>

namespace {

const Board Line = Rows({"1 1 1 . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
    ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."});
const Board Plus = Rows({". . . . . . . .", ". . . 1 . . . .", ". . . 1 . . . .", ". 1 1 2 1 1 . .",
    ". . . 1 . . . .", ". . . 1 . . . .", ". . . . . . . .", ". . . . . . . ."});

void Key(TMainForm &form, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    TapKey(form.windowHandle(), key, modifiers);
}

// The middle of a cell's top face, in the board's pixels.
QPoint FaceOf(TMainForm &form, int col, int row)
{
    const Metrics m = Parts(form).view.metrics();
    return {CellX(m, col, row) + 3 * m.FaceW / 2, CellY(m, row) - m.LayerH - m.FaceH / 2};
}

} // namespace

TEST(MainForm, ScriptedGameFromTheFirstKeyToTheNextLevel)
{
    Form f({Level(Line, 0, 0), Level(Plus, 3, 3)});
    TMainForm &form = f.form;
    EXPECT_EQ(form.windowTitle(), "Tumblewick 2.0");
    EXPECT_EQ(Parts(form).gsol->toolTip(), "0 of 2 levels solved");

    Key(form, Qt::Key_Right);
    EXPECT_EQ(Parts(form).game.PlayState, PlayInPlay);
    EXPECT_EQ(Parts(form).game.HeroCol, 1);
    EXPECT_EQ(Parts(form).game.board[At(0, 0)], Empty);
    Key(form, Qt::Key_Right);
    EXPECT_EQ(Parts(form).game.HeroCol, 2);
    EXPECT_EQ(f.clock.Count(20), 10) << "two hops of five frames";

    // Only the tile under the hero is left: the next key finishes the level.
    DialogAnswer yes(Qt::Key_Y);
    Key(form, Qt::Key_Left);
    ASSERT_TRUE(yes.Answered());
    EXPECT_EQ(Parts(form).YesNoDlg->MsgId, MsgNextLevel);
    EXPECT_EQ(Parts(form).YesNoDlg->ShownText(), "Hurrah, you made it!\nContinue with next level?");
    EXPECT_TRUE(Parts(form).YesNoDlg->NoButtonShown());

    EXPECT_EQ(Parts(form).game.CurrentLevel, 2);
    EXPECT_EQ(Parts(form).game.PlayState, PlayReady);
    EXPECT_EQ(Parts(form).game.Mark(1), 1);
    EXPECT_EQ(Parts(form).gsol->Progress(), 1);
    EXPECT_EQ(Parts(form).gsol->toolTip(), "1 of 2 levels solved");
    EXPECT_EQ(Parts(form).LevelLabel1->text(), "2");
    EXPECT_FALSE(Parts(form).toolbox->Solved());
    EXPECT_EQ(f.clock.Count(10), 9) << "the nine counted tiles of level 2 swept in";
    EXPECT_EQ(BallBox(Parts(form).view.buffer()).topLeft(),
        BallPosition(Parts(form).view.metrics(), 3, 3))
        << "the hero stands on the new start";
}

TEST(MainForm, LostLevelIsRepeatedOnYesAndLeftOnNo)
{
    for (const auto &[key, reloaded] :
        {std::pair {Qt::Key_Y, true}, std::pair {Qt::Key_N, false}}) {
        SCOPED_TRACE(reloaded ? "Yes" : "No");
        Form f({Level(Line, 0, 0)});
        TMainForm &form = f.form;
        Key(form, Qt::Key_Right);
        DialogAnswer answer(key);
        Key(form, Qt::Key_Up); // off the top edge
        ASSERT_TRUE(answer.Answered());
        EXPECT_EQ(Parts(form).YesNoDlg->MsgId, MsgRepeatLevel);
        EXPECT_GT(f.clock.Count(30), 5) << "the hero fell";
        if (reloaded) {
            EXPECT_EQ(Parts(form).game.PlayState, PlayReady);
            EXPECT_EQ(Parts(form).game.board, Line);
            EXPECT_EQ(Parts(form).game.HeroCol, 0);
        } else {
            EXPECT_EQ(Parts(form).game.PlayState, PlayLost);
            Key(form, Qt::Key_Right); // ignored once lost
            EXPECT_EQ(Parts(form).game.HeroRow, -1);
        }
    }
}

TEST(MainForm, KeysReachTheGameOnceWhateverHasTheFocus)
{
    struct Case
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int col, row;
    };
    for (const Case c :
        {Case {Qt::Key_Right, Qt::NoModifier, 4, 3}, Case {Qt::Key_Down, Qt::ShiftModifier, 3, 5},
            Case {Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier, 1, 3},
            Case {Qt::Key_Up, Qt::KeypadModifier, 3, 2}, Case {Qt::Key_A, Qt::NoModifier, 3, 3}}) {
        SCOPED_TRACE(testing::Message() << c.key);
        Form f({Level(Plus, 3, 3)});
        Parts(f.form).ExitBtn->setFocus(); // buttons never take it
        Parts(f.form).box->setFocus();
        Key(f.form, c.key, c.modifiers);
        EXPECT_EQ(Parts(f.form).game.HeroCol, c.col);
        EXPECT_EQ(Parts(f.form).game.HeroRow, c.row);
        EXPECT_EQ(Parts(f.form).game.PlayState, PlayInPlay) << "every key touches the level";
    }
}

TEST(MainForm, AHeldArrowKeyMovesOnce)
{
    // What the window system may send while Right is held, then let go and
    // pressed once more: each sequence moves the hero two cells, no more.
    struct Key
    {
        QEvent::Type type;
        bool autoRepeat;
        quint64 time;
    };
    const QEvent::Type Press = QEvent::KeyPress, Release = QEvent::KeyRelease;
    struct Case
    {
        const char *what;
        std::vector<Key> keys;
    };
    const Case cases[] = {
        {"repeats marked as such",
            {{Press, false, 10}, {Release, true, 700}, {Press, true, 700}, {Release, true, 740},
                {Press, true, 740}, {Release, false, 900}, {Press, false, 1200}}},
        {"repeats as a release and a press at the same moment",
            {{Press, false, 10}, {Release, false, 700}, {Press, false, 700}, {Release, false, 740},
                {Press, false, 740}, {Release, false, 900}, {Press, false, 1200}}},
        {"repeats as presses alone",
            {{Press, false, 10}, {Press, false, 700}, {Press, false, 740}, {Release, false, 900},
                {Press, false, 1200}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Form f({Level(Plus, 3, 3)});
        // Walking on would drop the hero off the row; the question that
        // follows is answered so that such a fault shows as a failure.
        DialogAnswers no([](QWidget *dialog) { QTest::keyClick(dialog, Qt::Key_N); });
        for (const Key &k : c.keys) {
            QKeyEvent event(k.type, Qt::Key_Right, Qt::NoModifier, QString(), k.autoRepeat);
            event.setTimestamp(k.time);
            QCoreApplication::sendEvent(f.form.windowHandle(), &event);
            if (k.time < 1200) {
                EXPECT_EQ(Parts(f.form).game.HeroCol, 4) << "at " << k.time;
            }
        }
        EXPECT_EQ(Parts(f.form).game.HeroCol, 5) << "pressed again";
        EXPECT_EQ(Parts(f.form).game.PlayState, PlayInPlay);
        EXPECT_EQ(no.Count(), 0);
    }
}

TEST(MainForm, AKeyLetGoWhileADialogIsOpenMovesAgainAfterwards)
{
    const Board row
        = Rows({"1 1 1 1 . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."});
    Form f({Level(row, 0, 0)});
    const auto send = [&](QWindow *window, QEvent::Type type) {
        QKeyEvent event(type, Qt::Key_Right, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &event);
    };
    send(f.form.windowHandle(), QEvent::KeyPress);
    ASSERT_EQ(Parts(f.form).game.HeroCol, 1);
    // The key is let go while a dialog has the keyboard.
    DialogAnswer back([&](QWidget *dialog) {
        send(dialog->windowHandle(), QEvent::KeyRelease);
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    f.form.info();
    ASSERT_TRUE(back.Answered());
    send(f.form.windowHandle(), QEvent::KeyPress);
    EXPECT_EQ(Parts(f.form).game.HeroCol, 2);
}

TEST(MainForm, ClicksOnTheBoardAimAtCells)
{
    struct Case
    {
        int col, row;
        Qt::MouseButton button;
        int toCol, toRow;
    };
    for (const Case c : {Case {4, 3, Qt::LeftButton, 4, 3}, Case {3, 1, Qt::LeftButton, 3, 1},
             Case {5, 3, Qt::RightButton, 5, 3}, Case {1, 3, Qt::MiddleButton, 1, 3},
             Case {4, 4, Qt::LeftButton, 3, 3}, Case {3, 3, Qt::LeftButton, 3, 3},
             Case {0, 3, Qt::LeftButton, 3, 3}}) {
        SCOPED_TRACE(testing::Message() << c.col << "," << c.row);
        Form f({Level(Plus, 3, 3)});
        QTest::mouseClick(
            Parts(f.form).box, c.button, Qt::NoModifier, FaceOf(f.form, c.col, c.row));
        EXPECT_EQ(Parts(f.form).game.HeroCol, c.toCol);
        EXPECT_EQ(Parts(f.form).game.HeroRow, c.toRow);
        EXPECT_EQ(Parts(f.form).game.PlayState, PlayInPlay);
    }
}

TEST(MainForm, AClickBeforeTheFirstLayoutMovesNothing)
{
    // Until the window is first shown and sized the board has no size.
    ProgramFolder folder({Level(Plus, 3, 3)});
    TMainForm form(folder.Folder(), folder.Settings());
    Parts(form).Timer->stop();
    ASSERT_EQ(Parts(form).view.metrics().CellW, 0);
    form.boxMouseDown(300, 100);
    EXPECT_EQ(Parts(form).game.HeroCol, 3);
    EXPECT_EQ(Parts(form).game.HeroRow, 3);
    EXPECT_EQ(Parts(form).game.board, Plus);
    EXPECT_EQ(Parts(form).game.PlayState, PlayInPlay);
}

TEST(MainForm, ClickWithOneTileLeftThatStillBearsMoreDoesNothing)
{
    const Board last
        = Rows({". . . . . . . .", ". . . . . . . .", ". . . 3 . . . .", ". . . . . . . .",
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."});
    Form f({Level(last, 3, 2)});
    QTest::mouseClick(Parts(f.form).box, Qt::LeftButton, Qt::NoModifier, FaceOf(f.form, 4, 2));
    EXPECT_EQ(Parts(f.form).game.PlayState, PlayInPlay);
    EXPECT_EQ(Parts(f.form).game.board, last);
    EXPECT_TRUE(f.clock.pauses.empty());
}

TEST(MainForm, WithoutAnimationsTheHeroLandsAtOnce)
{
    Form f({Level(Plus, 3, 3)}, "[common]\ntongue=0\nanimation=0\n");
    EXPECT_FALSE(Parts(f.form).game.AnimationOn);
    Key(f.form, Qt::Key_Right);
    EXPECT_EQ(f.clock.Count(20), 0);
    EXPECT_EQ(Parts(f.form).game.HeroCol, 4);
    EXPECT_EQ(BallBox(Parts(f.form).view.buffer()).topLeft(),
        BallPosition(Parts(f.form).view.metrics(), 4, 3));
}

TEST(MainForm, AnOutlineShowsWhereAClickMovesTheHero)
{
    // The hero in the middle of a plus of tiles.
    Form f({Level(Plus, 3, 3)});
    TMainForm &form = f.form;
    BoardBox *box = Parts(form).box;
    const auto hover = [&](int col, int row) {
        QMouseEvent move(QEvent::MouseMove, FaceOf(form, col, row),
            box->mapToGlobal(FaceOf(form, col, row)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &move);
        return box->Outline();
    };
    const Metrics m = Parts(form).view.metrics();
    const QImage board = Parts(form).view.buffer();
    for (const auto &[col, row] : {std::pair {4, 3}, std::pair {5, 3}, std::pair {3, 1}}) {
        SCOPED_TRACE(testing::Message() << col << "," << row);
        EXPECT_EQ(hover(col, row), TopFaceOf(m, CellX(m, col, row), CellY(m, row)));
    }
    // Diagonal, too far, or the hero's own cell: no outline.
    for (const auto &[col, row] :
        {std::pair {4, 4}, std::pair {3, 0}, std::pair {6, 3}, std::pair {3, 3}}) {
        SCOPED_TRACE(testing::Message() << col << "," << row);
        EXPECT_TRUE(hover(col, row).isEmpty());
    }
    EXPECT_TRUE(Parts(form).view.buffer() == board) << "the outline is not part of the board";

    // After a move it follows the hero's new place; once lost, it is gone.
    hover(5, 3);
    Key(form, Qt::Key_Right);
    EXPECT_EQ(box->Outline(), TopFaceOf(m, CellX(m, 5, 3), CellY(m, 3))) << "now one step away";
    DialogAnswer no(Qt::Key_N);
    Key(form, Qt::Key_Up); // off onto an empty cell: lost
    ASSERT_TRUE(no.Answered());
    EXPECT_TRUE(box->Outline().isEmpty());
    EXPECT_TRUE(hover(5, 3).isEmpty());
}

TEST(MainForm, WithoutAnXDisplayATwinklesStarsArePaintedAtOnce)
{
    // Here (Qt's offscreen platform) no pixel can go past a paint: each
    // tick paints its stars' pieces, and only those.
    Form f({Level(Plus, 3, 3)});
    BoardBox *box = Parts(f.form).box;
    struct PaintWatch : QObject
    {
        QRegion painted;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                painted += static_cast<QPaintEvent *>(event)->region();
            return false;
        }
    } watch;
    box->installEventFilter(&watch);
    const QImage before = Parts(f.form).view.buffer().copy();
    Parts(f.form).view.Twinkle();
    const QImage &after = Parts(f.form).view.buffer();
    QRegion changed;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (after.pixel(x, y) != before.pixel(x, y))
                changed += QRect(x, y, 1, 1);
    changed &= box->visibleRegion(); // what the window shows of the buffer
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_TRUE((changed - watch.painted).isEmpty()) << "every changed pixel painted at once";
    long long area = 0;
    for (const QRect &r : watch.painted)
        area += static_cast<long long>(r.width()) * r.height();
    EXPECT_LE(area, 50 * 9) << "the stars' pieces, not the board";
    box->removeEventFilter(&watch);
}
