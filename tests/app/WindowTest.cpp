// The main window's frame: its size rules, the placement kept between runs,
// the toolbar strip and its hints, and the first tick's language question.
#include "FormFixture.h"
#include "HelpViewer.h"
#include "InfoDialog.h"
#include "LanguageDialog.h"
#include "MessageDialog.h"
#include "PictureButton.h"
#include "SaveDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QWindow>

namespace {

const Board Small = Rows({"1 1 . . . . . .", ". . . . . . . .", ". . . . . . . .",
    ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."});

// Waits, without sleeping, until the window system has delivered a size.
void SettleAt(const TMainForm &form, QSize size)
{
    for (int i = 0; i < 50 && form.size() != size; ++i)
        QCoreApplication::processEvents();
}

QRect ScreenArea()
{
    return QGuiApplication::primaryScreen()->geometry();
}

} // namespace

TEST(MainWindow, ResizeKeepsFourToThreeAndTheRightHandButtons)
{
    Form f({Level(Small, 0, 0)});
    TMainForm &form = f.form;
    // The 4 : 3 rule holds for the outer size, frame included.
    const QSize frame = form.frameGeometry().size() - form.size();
    EXPECT_EQ(form.frameGeometry().size(), QSize(680, 510))
        << "the laid-out size raised to the minimum, at 4 : 3 with its frame";
    for (const auto &[asked, outer] : {std::pair {QSize(800, 500), QSize(800, 600)},
             std::pair {QSize(800, 700), QSize(933, 700)}}) {
        SCOPED_TRACE(testing::Message() << asked.width() << "x" << asked.height());
        const QSize got = outer - frame;
        form.resize(asked - frame);
        SettleAt(form, got);
        ASSERT_EQ(form.size(), got);
        const int w = got.width();
        EXPECT_EQ(Parts(form).ExitBtn->geometry(), QRect(w - 52, 4, 50, 50));
        EXPECT_EQ(Parts(form).RulesBtn->x(), w - 104);
        EXPECT_EQ(Parts(form).InfoBtn->x(), w - 156);
        EXPECT_EQ(Parts(form).OptionBtn->x(), w - 208);
        EXPECT_EQ(Parts(form).NextBtn->geometry(), QRect(160, 5, 50, 50)) << "the others stay";
        EXPECT_EQ(Parts(form).gsol->geometry(), QRect(0, got.height() - 10, w, 10));
        EXPECT_EQ(Parts(form).box->geometry(), QRect(0, 60, w, got.height() - 60));
        EXPECT_EQ(Parts(form).view.buffer().size(), Parts(form).box->size());
        EXPECT_EQ(Parts(form).view.metrics(), ComputeMetrics(w, got.height()));
    }
}

TEST(MainWindow, EverySizeChangeEndsAtFourToThreeAndAtLeastTheMinimum)
{
    Form f({Level(Small, 0, 0)});
    TMainForm &form = f.form;
    const QSize frame = form.frameGeometry().size() - form.size();
    struct Case
    {
        QSize asked, outer;
    };
    // The same size twice in a row, as a window manager asks for it again.
    for (const Case c : {Case {{900, 500}, {900, 675}}, Case {{900, 500}, {900, 675}},
             Case {{800, 700}, {933, 700}}, Case {{900, 500}, {900, 675}}}) {
        SCOPED_TRACE(testing::Message() << c.asked.width() << "x" << c.asked.height());
        form.resize(c.asked - frame);
        SettleAt(form, c.outer - frame);
        EXPECT_EQ(form.frameGeometry().size(), c.outer);
    }
    // Below the minimum, past the widget's own limits, as an X server
    // without a window manager lets any program size a window.
    for (const Case c : {Case {{400, 300}, {680, 510}}, Case {{690, 400}, {690, 517}}}) {
        SCOPED_TRACE(testing::Message() << c.asked.width() << "x" << c.asked.height());
        form.windowHandle()->resize(c.asked - frame);
        SettleAt(form, c.outer - frame);
        EXPECT_EQ(form.frameGeometry().size(), c.outer);
        EXPECT_EQ(form.windowHandle()->geometry().size(), c.outer - frame);
    }
}

TEST(MainWindow, PlacementIsRestoredMovedOntoTheDesktopOrCentred)
{
    const QRect screen = ScreenArea();
    const QRect desk = QGuiApplication::primaryScreen()->availableVirtualGeometry();
    const auto at = [](int left, int top) {
        return "200,0,1," + std::to_string(left) + "," + std::to_string(top) + ","
            + std::to_string(left + 680) + "," + std::to_string(top + 510);
    };
    const QPoint centre((screen.width() - 680) / 2, (screen.height() - 510) / 2);
    enum Expect { Exactly, OnTheDesktop, Centred };
    struct Case
    {
        std::string stored;
        Expect expect;
        QPoint at;
    };
    for (const Case &c : {
             Case {at(40, 30), Exactly, {40, 30}},
             Case {at(desk.left() - 100, 50), OnTheDesktop, {desk.left(), 50}},
             Case {at(desk.right() - 100, desk.bottom() - 20), OnTheDesktop,
                 {desk.right() + 1 - 680, desk.bottom() + 1 - 510}},
             Case {"201,0,1,40,30,720,540", Centred, centre},
             Case {"200,0,1,40,30,720", Centred, centre},
             Case {"200,0,1,40,30,720,x", Centred, centre},
             Case {"", Centred, centre},
         }) {
        SCOPED_TRACE(c.stored);
        Form f({Level(Small, 0, 0)}, "[common]\ntongue=0\nMainForm=" + c.stored + "\n");
        const QSize frame = f.form.frameGeometry().size() - f.form.size();
        if (c.expect == Centred)
            EXPECT_EQ(f.form.frameGeometry().size(), QSize(680, 510));
        else
            EXPECT_EQ(f.form.size(), FourToThree(QSize(680, 510) + frame) - frame)
                << "its size is kept, brought to 4 : 3 with its frame";
        switch (c.expect) {
        case Exactly:
            // A stored placement is the window's client area.
            EXPECT_EQ(f.form.geometry().topLeft(), c.at);
            break;
        case OnTheDesktop:
            // Moved back in; the platform may push it in by its frame too.
            EXPECT_LE((f.form.geometry().topLeft() - c.at).manhattanLength(), 2 * 4);
            break;
        case Centred:
            EXPECT_EQ(f.form.pos(), c.at); // centred with its frame
            break;
        }
    }
}

TEST(MainWindow, AStoredPlacementAtFourToThreeComesBackAtItsInnerSize)
{
    const QSize frame = [] {
        Form probe({Level(Small, 0, 0)});
        return probe.form.frameGeometry().size() - probe.form.size();
    }();
    const int outerWidth = 700 + frame.width();
    const QRect inner(40, 30, 700, outerWidth * 3 / 4 - frame.height());
    const std::string stored = FormatPlacement({0, ShowNormal, ToPlacementRect(inner)});
    Form f({Level(Small, 0, 0)}, "[common]\ntongue=0\nMainForm=" + stored + "\n");
    EXPECT_EQ(f.form.geometry(), inner);
}

TEST(MainWindow, PlacementIsStoredWhenTheWindowIsDestroyed)
{
    ProgramFolder folder({Level(Small, 0, 0)});
    QRect shown;
    {
        TMainForm form(folder.Folder(), folder.Settings());
        Parts(form).Timer->stop();
        form.show();
        Form::Settle(); // the player moves it once it is there
        form.move(70, 20);
        form.resize(720, 540);
        Form::Settle();
        shown = form.geometry();
    }
    const std::string settings = folder.ReadSettings();
    EXPECT_NE(settings.find("MainForm=" + FormatPlacement({0, ShowNormal, ToPlacementRect(shown)})),
        std::string::npos)
        << settings;
    // The next start brings it back where it was.
    Form again({Level(Small, 0, 0)}, settings);
    EXPECT_EQ(again.form.geometry(), shown);
}

TEST(Toolbar, GrowsInStepsWithTheWindowAndKeepsItsLayout)
{
    EXPECT_EQ(ToolbarScale(1199), 1.0);
    EXPECT_EQ(ToolbarScale(1200), 1.5);
    EXPECT_EQ(ToolbarScale(1599), 1.5);
    EXPECT_EQ(ToolbarScale(1600), 2.0);

    Form f({Level(Small, 0, 0)});
    TMainForm &form = f.form;
    struct Step
    {
        QSize size;
        qreal scale;
    };
    for (const Step s :
        {Step {QSize(1280, 960), 1.5}, Step {QSize(1600, 1200), 2}, Step {QSize(680, 510), 1}}) {
        SCOPED_TRACE(s.size.width());
        form.resize(s.size);
        SettleAt(form, s.size);
        ASSERT_EQ(form.width(), s.size.width());
        const auto grown = [&](QRect r) {
            return QRectF(QPointF(r.topLeft()) * s.scale, QSizeF(r.size()) * s.scale).toRect();
        };
        const int w = form.width();
        EXPECT_EQ(Parts(form).NewBtn->geometry(), grown(QRect(4, 5, 50, 50)));
        EXPECT_EQ(Parts(form).Level10UpBtn->geometry(), grown(QRect(332, 3, 18, 13)));
        EXPECT_EQ(Parts(form).UnSolvedDnBtn->geometry(), grown(QRect(372, 31, 25, 26)));
        EXPECT_EQ(Parts(form).LevelLabel1->geometry(), grown(QRect(348, 15, 25, 25)));
        EXPECT_EQ(Parts(form).LevelLabel1->font().pixelSize(), qRound(25 * s.scale));
        EXPECT_EQ(Parts(form).ExitBtn->geometry(),
            QRect(w - qRound(52 * s.scale), grown(QRect(616, 4, 50, 50)).y(), qRound(50 * s.scale),
                qRound(50 * s.scale)));
        EXPECT_EQ(Parts(form).box->y(), qRound(60 * s.scale));
        EXPECT_EQ(Parts(form).toolbox->IndicatorRect(), grown(QRect(405, 4, 50, 50)));
        // The faces are drawn anew for their size, not stretched.
        const QImage face = Parts(form).m.Image(9);
        EXPECT_EQ(face.width(), qRound(50 * s.scale)) << "one pixel per pixel shown";
    }
}

TEST(FullScreen, F11FillsTheScreenAndBringsTheSameWindowBack)
{
    Form f({Level(Small, 0, 0)});
    TMainForm &form = f.form;
    const QRect window = form.geometry();
    const QRect screen = ScreenArea();
    TapKey(form.windowHandle(), Qt::Key_F11);
    SettleAt(form, screen.size());
    ASSERT_TRUE(form.isFullScreen());
    EXPECT_EQ(form.geometry(), screen);
    // The board keeps 4 : 3 in the middle; toolbar, gauge and stars span
    // the whole screen.
    const QRect area = FourToThreeArea(screen.width(), screen.height());
    Metrics want = ComputeMetrics(area.width(), area.height());
    want.OriginX = area.x();
    want.OriginY = area.y();
    EXPECT_EQ(Parts(form).view.metrics(), want);
    EXPECT_EQ(Parts(form).ExitBtn->x(), screen.width() - 52);
    EXPECT_EQ(Parts(form).gsol->geometry(), QRect(0, screen.height() - 10, screen.width(), 10));
    EXPECT_EQ(Parts(form).game.PlayState, PlayReady) << "a command's key touches nothing";

    // A click aims at the cells where they are drawn.
    const Metrics &m = Parts(form).view.metrics();
    QTest::mouseClick(Parts(form).box, Qt::LeftButton, {},
        QPoint(CellX(m, 1, 0) + 3 * m.FaceW / 2, CellY(m, 0) - m.LayerH - m.FaceH / 2));
    EXPECT_EQ(Parts(form).game.HeroCol, 1);

    TapKey(form.windowHandle(), Qt::Key_F11);
    SettleAt(form, window.size());
    EXPECT_FALSE(form.isFullScreen());
    EXPECT_EQ(form.geometry(), window);
    EXPECT_EQ(Parts(form).view.metrics(), ComputeMetrics(window.width(), window.height()));
}

TEST(FullScreen, IsKeptWithThePlacementAcrossRestarts)
{
    ProgramFolder folder({Level(Small, 0, 0)});
    QRect window;
    {
        TMainForm form(folder.Folder(), folder.Settings());
        Parts(form).Timer->stop();
        form.show();
        Form::Settle();
        form.resize(720, 540);
        Form::Settle();
        window = form.geometry();
        form.ToggleFullScreen();
        SettleAt(form, ScreenArea().size());
        ASSERT_TRUE(form.isFullScreen());
    }
    const std::string settings = folder.ReadSettings();
    EXPECT_NE(settings.find("fullscreen=1"), std::string::npos) << settings;
    EXPECT_NE(
        settings.find("MainForm=" + FormatPlacement({0, ShowNormal, ToPlacementRect(window)})),
        std::string::npos)
        << "the window full screen came from\n"
        << settings;

    Form again({Level(Small, 0, 0)}, settings);
    SettleAt(again.form, ScreenArea().size());
    EXPECT_TRUE(again.form.isFullScreen());
    again.form.ToggleFullScreen();
    SettleAt(again.form, window.size());
    EXPECT_EQ(again.form.geometry(), window);
}

TEST(MainWindow, TheKeyboardComesBackWhenADialogCloses)
{
    Form f({Level(Small, 0, 0)});
    // Another window has the keyboard, as the root window has it on an X
    // server without a window manager once a dialog is gone.
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    Form::Settle();
    ASSERT_EQ(QGuiApplication::focusWindow(), elsewhere.windowHandle());

    DialogAnswer back(Qt::Key_Return);
    f.form.info();
    ASSERT_TRUE(back.Answered());
    Form::Settle();
    EXPECT_EQ(QGuiApplication::focusWindow(), f.form.windowHandle());
}

TEST(MainWindow, UnreadableLevelSetEndsTheStartUp)
{
    for (const auto &[settings, text] :
        {std::pair {"[common]\n", "Can't find file TMBW.DAT. Program aborted."},
            std::pair {"[common]\ntongue=1\n",
                "Datei TMBW.DAT konnte nicht gefunden werden. Programm wird abgebrochen."}}) {
        ProgramFolder folder({}, settings);
        std::filesystem::remove(folder.Folder() + "tmbw.dat");
        QStringList shown;
        DialogAnswer ok([&](QWidget *box) {
            for (const QLabel *label : box->findChildren<QLabel *>())
                shown << label->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        TMainForm form(folder.Folder(), folder.Settings());
        EXPECT_FALSE(form.Created());
        EXPECT_TRUE(shown.contains(text)) << shown.join("|").toStdString();
        EXPECT_FALSE(Parts(form).Timer->isActive());
        EXPECT_FALSE(form.isVisible());
    }
}

TEST(Toolbar, LanguageSwitchesEveryHintLabelAndTheCaption)
{
    Form f({Level(Small, 0, 0), Level(Small, 0, 0)}, "[common]\ntongue=0\ngame=Anna\n", {"Anna"});
    TMainForm &form = f.form;
    struct Hint
    {
        PictureButton *button;
        const char *german, *english;
    };
    const Hint hints[] = {
        {Parts(form).NewBtn, "Ich beginne ein neues Spiel.", "Ich start a new game."},
        {Parts(form).LoadBtn, "Ich möchte ein anderes Spiel laden.", "Ich want to load a game."},
        {Parts(form).StartBtn, "Ich fang die Stufe neu an.", "I start again with this level."},
        {Parts(form).NextBtn, "Ich mache mit der nächsten Stufe weiter.",
            "Ich continue with the next level."},
        {Parts(form).Level1UpBtn, "Eine Stufe weiter", "One level up"},
        {Parts(form).Level10UpBtn, "Zehn Stufen weiter", "Ten levels up"},
        {Parts(form).Level100UpBtn, "Hundert Stufen weiter", "Hundred levels up"},
        {Parts(form).Level1DnBtn, "Eine Stufe zurück", "One level back"},
        {Parts(form).Level10DnBtn, "Zehn Stufen zurück", "Ten levels back"},
        {Parts(form).Level100DnBtn, "Hundert Stufen zurück", "Hundred levels back"},
        {Parts(form).UnSolvedUpBtn, "Zur nächsten ungelösten Stufe", "To the next unsolved level"},
        {Parts(form).UnSolvedDnBtn, "Zur vorigen ungelösten Stufe",
            "To the previous unsolved level"},
        {Parts(form).RulesBtn, "Worum geht's da eigentlich?", "What's to do here?"},
        {Parts(form).ExitBtn, "Ich hab genug!", "I have enough!"},
        {Parts(form).InfoBtn, "Wer hat diese Spiele nur verbrochen?", "Who did these QUIRK GAME?"},
        {Parts(form).OptionBtn, "Ich möchte die Einstellungen ändern.",
            "I want to modify the options."},
    };
    for (const int language : {1, 0, -1, 1, 7}) {
        SCOPED_TRACE(language);
        Parts(form).game.Language = language;
        form.RefreshHints();
        const bool german = language == 1;
        // The keys of each button follow its text.
        for (const Hint &h : hints)
            EXPECT_TRUE(h.button->Hint().startsWith(
                QString::fromUtf8(german ? h.german : h.english) + QStringLiteral(" (")))
                << h.button->Hint().toStdString();
        EXPECT_EQ(Parts(form).LevelLabel->text(), german ? "Stufe:" : "Level:");
        EXPECT_EQ(form.windowTitle(),
            german ? "Tumblewick 2.0 - Spiel: Anna" : "Tumblewick 2.0 - Game: Anna");
        EXPECT_EQ(Parts(form).gsol->toolTip(),
            QString::fromUtf8(german ? "0 von 2 Ebenen gelöst" : "0 of 2 levels solved"));
    }
}

TEST(Toolbar, SolvedIndicatorIsBackAfterTheBoardRepaints)
{
    Form f({Level(Small, 0, 0)});
    TMainForm &form = f.form;
    const QImage indicator = Parts(form).m.Image(0).convertToFormat(QImage::Format_RGB32);
    const auto shown = [&] {
        return Parts(form)
            .toolbox->grab(QRect(Toolbox::IndicatorAt, QSize(50, 50)))
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    EXPECT_EQ(shown(), indicator.copy(0, 0, 50, 50)) << "not solved";

    Parts(form).game.Mark(1) = 1;
    Parts(form).game.ShowLevel(); // as when the level is solved
    DialogAnswer back(Qt::Key_Return);
    form.info(); // a dialog over the strip
    ASSERT_TRUE(back.Answered());
    form.boxPaint();
    Form::Settle();
    EXPECT_TRUE(Parts(form).toolbox->Solved());
    EXPECT_EQ(shown(), indicator.copy(50, 0, 50, 50)) << "solved";
}

TEST(FirstTick, AsksForTheLanguageOnceWhenNoneIsStored)
{
    Form f({Level(Small, 0, 0)}, "[common]\n");
    TMainForm &form = f.form;
    EXPECT_EQ(Parts(form).game.Language, -1);
    EXPECT_TRUE(Parts(form).NewBtn->Hint().startsWith("Ich start a new game."))
        << "-1 speaks English";
    int asked = 0;
    DialogAnswer german([&](QWidget *dialog) {
        ++asked;
        form.TimerTimer(); // ticks go on while the question is open
        form.TimerTimer();
        ASSERT_EQ(dialog, Parts(form).TongueDlg);
        Parts(form).TongueDlg->GermanBtn->click();
    });
    form.TimerTimer();
    for (int i = 0; i < 20 && !german.Answered(); ++i)
        QCoreApplication::processEvents();
    Form::Settle();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Parts(form).game.Language, 1);
    EXPECT_TRUE(Parts(form).NewBtn->Hint().startsWith("Ich beginne ein neues Spiel."))
        << "German at once";
    EXPECT_EQ(Parts(form).LevelLabel->text(), "Stufe:");

    DialogAnswer never([&](QWidget *) { ++asked; });
    form.TimerTimer();
    Form::Settle();
    EXPECT_EQ(asked, 1) << "never twice";
}

TEST(FirstTick, ClosingTheQuestionWithoutAChoiceLeavesNoLanguage)
{
    Form f({Level(Small, 0, 0)}, "[common]\n");
    DialogAnswer escape(Qt::Key_Escape);
    f.form.TimerTimer();
    for (int i = 0; i < 20 && !escape.Answered(); ++i)
        QCoreApplication::processEvents();
    Form::Settle();
    ASSERT_TRUE(escape.Answered());
    EXPECT_EQ(Parts(f.form).game.Language, -1);
    EXPECT_EQ(Parts(f.form).LevelLabel->text(), "Level:");
}

TEST(FirstTick, AStoredLanguageAsksNothing)
{
    Form f({Level(Small, 0, 0)}, "[common]\ntongue=1\n");
    int asked = 0;
    DialogAnswer none([&](QWidget *) { ++asked; });
    f.form.TimerTimer();
    Form::Settle();
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(Parts(f.form).FirstTick);
}

TEST(Closing, AsksFirstAndWritesTheSettingsOnYes)
{
    Form f({Level(Small, 0, 0), Level(Small, 0, 0)}, "[common]\ntongue=1\nsound=0\n");
    Parts(f.form).game.Level1UpBtnClick();
    {
        DialogAnswer no(Qt::Key_N);
        EXPECT_FALSE(f.form.close());
        EXPECT_EQ(Parts(f.form).YesNoDlg->ShownText(), "Willst Du wirklich schon aufhören?");
    }
    EXPECT_TRUE(f.form.isVisible());
    // Yes, then the unnamed game is not given a name.
    DialogAnswers answers([](QWidget *dialog) {
        if (auto *save = qobject_cast<TSaveGameDlg *>(dialog))
            save->CancelBtnClick();
        else
            QTest::keyClick(dialog, Qt::Key_J);
    });
    EXPECT_TRUE(f.form.close());
    EXPECT_EQ(answers.Count(), 2);
    EXPECT_FALSE(Parts(f.form).Timer->isActive());
    const std::string settings = f.folder.ReadSettings();
    for (const char *line :
        {"sound=0", "music=1", "animation=1", "tongue=1", "level=2", "game=\n", "grafmode=0"})
        EXPECT_NE(settings.find(line), std::string::npos) << line << " in\n" << settings;
}

TEST(RulesButton, OpensTheRulesBesideTheGameInThePlayersLanguage)
{
    Form f({Level(Small, 0, 0)});
    // The program folder of the test has no help file: the viewer says so.
    for (const int language : {1, 0, -1}) {
        SCOPED_TRACE(language);
        Parts(f.form).game.Language = language;
        QTest::mouseClick(Parts(f.form).RulesBtn, Qt::LeftButton);
        THelpViewer *viewer = Parts(f.form).HelpHook->Viewer();
        ASSERT_NE(viewer, nullptr);
        EXPECT_TRUE(viewer->isVisible());
        EXPECT_TRUE(viewer->ShowsProblem());
        EXPECT_FALSE(viewer->isModal());
        EXPECT_EQ(viewer->parentWidget(), nullptr) << "a window of its own";
        EXPECT_EQ(viewer->windowIcon().cacheKey(), f.form.windowIcon().cacheKey());
        const QString text = viewer->Browser()->toPlainText();
        EXPECT_EQ(text.contains("Hilfedatei"), language == 1) << text.toStdString();
    }
}
