// Every toolbar command on the keyboard: the keys run their commands through
// the window, and a command's key never touches a fresh level.
#include "Shortcuts.h"
#include "FormFixture.h"
#include "HelpViewer.h"
#include "InfoDialog.h"
#include "MessageDialog.h"
#include "OptionsDialog.h"
#include "PictureButton.h"
#include "SaveDialog.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QWindow>

#include <functional>

namespace {

const Board Two = Rows({"1 1 . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
    ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."});

constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto Shift = Qt::ShiftModifier;

// As a keyboard sends it: the modifiers are pressed first, each as a key of
// its own, and let go last.
void Press(TMainForm &form, QKeyCombination key)
{
    TapKey(form.windowHandle(), key.key(), key.keyboardModifiers());
}

std::vector<LevelRecord> Levels(int count)
{
    return std::vector<LevelRecord>(static_cast<std::size_t>(count), Level(Two, 0, 0));
}

// Checks that the dialog that opened is of that kind, and closes it.
template <class Dialog> std::function<void(QWidget *)> Kind()
{
    return [](QWidget *dialog) {
        EXPECT_NE(qobject_cast<Dialog *>(dialog), nullptr) << dialog->metaObject()->className();
        qobject_cast<QDialog *>(dialog)->reject();
    };
}

} // namespace

TEST(KeyNames, AsTheKeyboardReadsInEitherLanguage)
{
    struct Case
    {
        QKeyCombination key;
        const char *german, *english;
    };
    for (const Case c : {Case {QKeyCombination(Ctrl, Qt::Key_N), "Strg+N", "Ctrl+N"},
             Case {QKeyCombination(Shift, Qt::Key_PageUp), "Umschalt+Bild auf", "Shift+Page Up"},
             Case {QKeyCombination(Qt::Key_PageDown), "Bild ab", "Page Down"},
             Case {QKeyCombination(Ctrl | Shift, Qt::Key_U), "Strg+Umschalt+U", "Ctrl+Shift+U"},
             Case {QKeyCombination(Qt::Key_F11), "F11", "F11"},
             Case {QKeyCombination(Qt::Key_Escape), "Esc", "Esc"},
             Case {QKeyCombination(Ctrl, Qt::Key_Comma), "Strg+,", "Ctrl+,"}}) {
        EXPECT_EQ(KeyName(c.key, 1), QString::fromUtf8(c.german));
        EXPECT_EQ(KeyName(c.key, 0), QString::fromUtf8(c.english));
        EXPECT_EQ(KeyName(c.key, -1), QString::fromUtf8(c.english)) << "-1 speaks English";
    }
    EXPECT_EQ(KeysNote({QKeyCombination(Qt::Key_R), QKeyCombination(Ctrl, Qt::Key_Z)}, 1),
        " (R, Strg+Z)");
    EXPECT_EQ(KeysNote({}, 0), "");
    // The keypad's Page Up is Page Up; Shift stays part of the key.
    EXPECT_EQ(PressedKey(Qt::Key_PageUp, Qt::KeypadModifier | Qt::ShiftModifier),
        QKeyCombination(Shift, Qt::Key_PageUp));
}

TEST(Shortcuts, LevelKeysChangeAFreshLevelWithoutAsking)
{
    // A key that touched the level first would bring the question whether
    // to give it up.
    struct Case
    {
        QKeyCombination key;
        int level;
    };
    for (const Case c :
        {Case {QKeyCombination(Qt::Key_N), 121}, Case {QKeyCombination(Qt::Key_PageUp), 121},
            Case {QKeyCombination(Qt::Key_PageDown), 119},
            Case {QKeyCombination(Shift, Qt::Key_PageUp), 130},
            Case {QKeyCombination(Shift, Qt::Key_PageDown), 110},
            Case {QKeyCombination(Ctrl, Qt::Key_PageUp), 220},
            Case {QKeyCombination(Ctrl, Qt::Key_PageDown), 20},
            Case {QKeyCombination(Qt::Key_U), 122}, Case {QKeyCombination(Shift, Qt::Key_U), 118},
            Case {QKeyCombination(Qt::Key_R), 120}, Case {QKeyCombination(Ctrl, Qt::Key_Z), 120}}) {
        SCOPED_TRACE(KeyName(c.key, 0).toStdString());
        Form f(Levels(250), "[common]\ntongue=0\nlevel=120\n");
        TMainForm &form = f.form;
        Parts(form).game.Mark(121) = 1; // the unsolved searches pass over it
        Parts(form).game.Mark(119) = 1;
        DialogAnswers no([](QWidget *dialog) { QTest::keyClick(dialog, Qt::Key_N); });
        Press(form, c.key);
        EXPECT_EQ(Parts(form).game.CurrentLevel, c.level);
        EXPECT_EQ(Parts(form).game.PlayState, PlayReady);
        EXPECT_EQ(no.Count(), 0) << "nothing asked";
        EXPECT_GT(f.clock.Count(10), 0) << "the level was swept in anew";
    }
}

TEST(Shortcuts, ALevelInPlayIsGivenUpOnlyAfterTheQuestion)
{
    Form f(Levels(3), "[common]\ntongue=0\nlevel=2\n");
    TMainForm &form = f.form;
    TapKey(form.windowHandle(), Qt::Key_Right);
    ASSERT_EQ(Parts(form).game.PlayState, PlayInPlay);
    {
        DialogAnswer no(Qt::Key_N);
        Press(form, QKeyCombination(Qt::Key_PageUp));
        ASSERT_TRUE(no.Answered());
        EXPECT_EQ(Parts(form).YesNoDlg->MsgId, MsgGiveUpLevel);
        EXPECT_EQ(Parts(form).game.CurrentLevel, 2);
    }
    DialogAnswer yes(Qt::Key_Y);
    Press(form, QKeyCombination(Qt::Key_PageDown));
    ASSERT_TRUE(yes.Answered());
    EXPECT_EQ(Parts(form).game.CurrentLevel, 1);
}

TEST(Shortcuts, OtherCommandsLeaveAFreshLevelReady)
{
    struct Case
    {
        QKeyCombination key;
        // Looks at the dialog the key opened and closes it.
        std::function<void(QWidget *dialog)> check;
    };
    Form f(Levels(3), "[common]\ntongue=0\nlevel=2\n");
    TMainForm &form = f.form;
    const auto message = [&](int id) {
        return [&form, id](QWidget *dialog) {
            EXPECT_EQ(dialog, Parts(form).YesNoDlg);
            EXPECT_EQ(Parts(form).YesNoDlg->MsgId, id);
            QTest::keyClick(dialog, Qt::Key_N);
        };
    };
    const Case cases[] = {
        {QKeyCombination(Ctrl, Qt::Key_N), message(MsgGiveUpGame)},
        {QKeyCombination(Qt::Key_Escape), message(MsgQuit)},
        {QKeyCombination(Ctrl, Qt::Key_Q), message(MsgQuit)},
        // A game without a name asks for one before another is loaded.
        {QKeyCombination(Ctrl, Qt::Key_O), Kind<TSaveGameDlg>()},
        {QKeyCombination(Ctrl, Qt::Key_Comma), Kind<TOptionDlg>()},
        {QKeyCombination(Ctrl, Qt::Key_I), Kind<TInfoDlg>()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(KeyName(c.key, 0).toStdString());
        // The first dialog is looked at; any that follows it (the load
        // dialog after the save dialog) is closed without a choice.
        QWidget *first = nullptr;
        DialogAnswers answers([&](QWidget *dialog) {
            if (first) {
                qobject_cast<QDialog *>(dialog)->reject();
                return;
            }
            first = dialog;
            c.check(dialog);
        });
        Press(form, c.key);
        EXPECT_NE(first, nullptr) << "a dialog opened";
        EXPECT_EQ(Parts(form).game.PlayState, PlayReady);
        EXPECT_EQ(Parts(form).game.CurrentLevel, 2);
        EXPECT_TRUE(form.isVisible());
    }

    Press(form, QKeyCombination(Qt::Key_F1));
    ASSERT_NE(Parts(form).HelpHook->Viewer(), nullptr);
    EXPECT_TRUE(Parts(form).HelpHook->Viewer()->isVisible()) << "the rules";
    Parts(form).HelpHook->Viewer()->close();
    EXPECT_EQ(Parts(form).game.PlayState, PlayReady);
}

TEST(Shortcuts, AModifierAloneStillTouchesTheLevel)
{
    // Every key counts as touching the level, a lone Shift or Ctrl too, also
    // when a click or another key follows it.
    for (const Qt::Key modifier : {Qt::Key_Shift, Qt::Key_Control}) {
        Form f(Levels(2));
        TMainForm &form = f.form;
        TapKey(form.windowHandle(), modifier);
        EXPECT_EQ(Parts(form).game.PlayState, PlayInPlay);
    }
    Form f(Levels(2));
    PressKey(f.form.windowHandle(), Qt::Key_Shift);
    TapKey(f.form.windowHandle(), Qt::Key_A, Shift);
    EXPECT_EQ(Parts(f.form).game.PlayState, PlayInPlay);
}

TEST(Shortcuts, HintsNameTheKeysAfterTheDesignsText)
{
    Form f(Levels(2));
    TMainForm &form = f.form;
    struct Hint
    {
        PictureButton *button;
        const char *german, *english;
    };
    const Hint hints[] = {
        {Parts(form).NewBtn, "neues Spiel. (Strg+N)", "new game. (Ctrl+N)"},
        {Parts(form).StartBtn, "neu an. (R, Strg+Z)", "this level. (R, Ctrl+Z)"},
        {Parts(form).Level10DnBtn, "Zehn Stufen zurück (Umschalt+Bild ab)",
            "Ten levels back (Shift+Page Down)"},
        {Parts(form).UnSolvedDnBtn, "ungelösten Stufe (Umschalt+U)", "unsolved level (Shift+U)"},
        {Parts(form).RulesBtn, "eigentlich? (F1)", "to do here? (F1)"},
        {Parts(form).ExitBtn, "genug! (Esc, Strg+Q)", "enough! (Esc, Ctrl+Q)"},
    };
    for (const int language : {1, 0}) {
        Parts(form).game.Language = language;
        form.RefreshHints();
        for (const Hint &h : hints) {
            const QString want = QString::fromUtf8(language == 1 ? h.german : h.english);
            EXPECT_TRUE(h.button->Hint().endsWith(want)) << h.button->Hint().toStdString();
        }
    }
}

TEST(Shortcuts, TheRulesListEveryKeyInBothLanguages)
{
    const auto page = [](const char *name) {
        QFile file(QStringLiteral(TUMBLEWICK_HELP_SOURCES "/") + name);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        return QString::fromUtf8(file.readAll());
    };
    const QString german = page("regeln.html"), english = page("rules.html");
    const std::vector<QKeyCombination> keys = TMainForm::CommandKeys();
    EXPECT_GE(keys.size(), 17u) << "a key at least for every command";
    for (const QKeyCombination key : keys) {
        const QString span = QStringLiteral("<span class=\"key\">");
        EXPECT_TRUE(german.contains(
            QRegularExpression(span + "[^<]*" + QRegularExpression::escape(KeyName(key, 1)))))
            << KeyName(key, 1).toStdString();
        EXPECT_TRUE(english.contains(
            QRegularExpression(span + "[^<]*" + QRegularExpression::escape(KeyName(key, 0)))))
            << KeyName(key, 0).toStdString();
    }
}
