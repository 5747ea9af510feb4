// The message, options and language dialogs: texts, key answers, switches
// and where they appear.
#include "DialogResources.h"
#include "LanguageDialog.h"
#include "MessageDialog.h"
#include "OptionsDialog.h"
#include "PictureButton.h"
#include "RaisedLabel.h"
#include "UiSupport.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

namespace {

struct Dialogs
{
    TDlgResources resources;
    QWidget main;
    int language = 0;
    TYesNoDlg yesNo {resources, [this] { return language; }, &main};

    Dialogs()
    {
        main.setGeometry(100, 80, 680, 510);
        main.show();
    }
};

} // namespace

TEST(MessageTable, TextsAndButtonsInBothLanguages)
{
    struct Case
    {
        int id, buttons;
        const char *german, *english;
    };
    for (const Case c : {
             Case {2, 2, "Willst Du die Stufe wirklich aufgeben?",
                 "Do you really want to give up the level?"},
             Case {3, 2, "Willst Du wirklich schon aufhören?", "Do you really want to go?"},
             Case {6, 1, "Gratulation, Du hast alle Stufen gelöst.",
                 "Congratulation, you solved all levels."},
             Case {12, 1, "Spiel angehalten.\rWeitermachen?", "Game paused.\rContinue?"},
             Case {13, 2, "Leider nein!\rStufe wiederholen?", "That was it!\rRepeat level?"},
             Case {14, 2, "Hurra, geschafft!\rMit der nächste Stufe weitermachen?",
                 "Hurrah, you made it!\rContinue with next level?"},
         }) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(ButtonCountOf(c.id), c.buttons);
        EXPECT_EQ(MessageText(c.id, 1), QString::fromUtf8(c.german));
        EXPECT_EQ(MessageText(c.id, 0), QString::fromUtf8(c.english));
        EXPECT_EQ(MessageText(c.id, -1), QString::fromUtf8(c.english)) << "-1 speaks English";
    }
    for (int id : {1, 5, 6, 7, 8, 9, 10, 12})
        EXPECT_EQ(ButtonCountOf(id), 1) << id;
    for (int id : {2, 3, 4, 11, 13, 14})
        EXPECT_EQ(ButtonCountOf(id), 2) << id;
}

TEST(MessageDialog, KeysAnswerInEveryLanguage)
{
    struct Case
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        ModalResult result;
    };
    Dialogs d;
    for (const Case c : {Case {Qt::Key_Return, {}, MrYes},
             Case {Qt::Key_Enter, Qt::KeypadModifier, MrYes}, Case {Qt::Key_J, {}, MrYes},
             Case {Qt::Key_J, Qt::ShiftModifier, MrYes}, Case {Qt::Key_Y, {}, MrYes},
             Case {Qt::Key_Y, Qt::ShiftModifier, MrYes}, Case {Qt::Key_Escape, {}, MrNo},
             Case {Qt::Key_N, {}, MrNo}, Case {Qt::Key_N, Qt::ShiftModifier, MrNo}}) {
        for (int id : {2, 6}) { // a one-button message answers No as well
            SCOPED_TRACE(testing::Message() << c.key << " on message " << id);
            DialogAnswer answer([&](QWidget *w) { QTest::keyClick(w, c.key, c.modifiers); });
            EXPECT_EQ(d.yesNo.ShowMsg(id), c.result);
        }
    }
}

TEST(MessageDialog, OtherKeysAreIgnoredAndButtonsAnswer)
{
    Dialogs d;
    DialogAnswer keys([&](QWidget *w) {
        QTest::keyClick(w, Qt::Key_X);
        QTest::keyClick(w, Qt::Key_Space);
        QTest::keyClick(w, Qt::Key_Right);
        EXPECT_TRUE(w->isVisible());
        QTest::mouseClick(w->findChildren<PictureButton *>().at(0), Qt::LeftButton);
    });
    EXPECT_EQ(d.yesNo.ShowMsg(13), MrNo) << "the first button is the cross";
}

TEST(MessageDialog, ShowsTheTextOfItsLanguageOrTheCallersAndCentresOverTheWindow)
{
    Dialogs d;
    struct Case
    {
        int id, language;
        QString callerText, shown;
        bool noButton;
    };
    for (const Case &c :
        {Case {14, 1, {},
             QString::fromUtf8("Hurra, geschafft!\nMit der nächste Stufe weitermachen?"), true},
            Case {14, 0, {}, "Hurrah, you made it!\nContinue with next level?", true},
            Case {6, -1, {}, "Congratulation, you solved all levels.", false},
            Case {10, 1, "The game runs from a disc.", "The game runs from a disc.", false},
            Case {11, 1, "Kept as written", "Kept as written", true}}) {
        SCOPED_TRACE(c.id);
        d.language = c.language;
        QPoint at;
        DialogAnswer answer([&](QWidget *w) {
            at = w->pos();
            QTest::keyClick(w, Qt::Key_Y);
        });
        if (c.callerText.isEmpty())
            d.yesNo.ShowMsg(c.id);
        else
            d.yesNo.ShowMsgText(c.id, c.callerText);
        EXPECT_EQ(d.yesNo.ShownText(), c.shown);
        EXPECT_EQ(d.yesNo.NoButtonShown(), c.noButton);
        const QRect frame = d.main.frameGeometry();
        EXPECT_EQ(at,
            QPoint(frame.left() + (frame.width() - 319) / 2,
                frame.top() + frame.height() - (d.main.height() + 158) / 2));
    }
}

TEST(DialogPlacement, CentresAcrossTheWindowAndDownItsClientArea)
{
    struct Case
    {
        QRect frame;
        int clientHeight;
        QSize dialog;
        QPoint at;
    };
    for (const Case c : {Case {{100, 80, 680, 510}, 510, {319, 158}, {280, 256}},
             Case {{10, 20, 689, 516}, 478, {497, 416}, {106, 89}},
             Case {{0, 0, 300, 200}, 200, {319, 158}, {-9, 21}}}) {
        EXPECT_EQ(DialogPlacement(c.frame, c.clientHeight, c.dialog), c.at);
    }
}

TEST(OptionDialog, SwitchesTakeEffectAtOnce)
{
    int language = -1;
    bool sound = true, music = true, animation = true;
    int refreshed = 0;
    bool available = false;
    int clicks = 0;
    TOptionDlg dlg(
        {&language, &sound, &music, &animation},
        {[&] { return available; }, [] { return QStringLiteral("song.mid"); },
            [&](bool on) {
                ++clicks;
                return !on;
            },
            {}, {}},
        [&] { ++refreshed; }, nullptr);
    dlg.RefreshTexts();
    EXPECT_EQ(dlg.OptLabel->text(), "Options:");
    EXPECT_EQ(dlg.TongueLabel->text(), "I speak English.");
    EXPECT_EQ(dlg.ProgLabel->Text(), "Tumblewick");
    EXPECT_EQ(dlg.VersionLabel->Text(), "Version  2.0");
    EXPECT_FALSE(dlg.MusicBtn->isEnabled());
    EXPECT_EQ(dlg.MusicLabel->text(), "No music files available.");
    EXPECT_TRUE(dlg.AnimBtn->Hint().isEmpty());

    dlg.TongueBtn->click(); // -1 becomes 0
    EXPECT_EQ(language, 0);
    dlg.TongueBtn->click();
    EXPECT_EQ(language, 1);
    EXPECT_EQ(refreshed, 2) << "the main window follows each change";
    EXPECT_EQ(dlg.OptLabel->text(), "Einstellungen:");
    EXPECT_EQ(dlg.OKBtn->Hint(), QString::fromUtf8("Zurück zum Spiel"));
    EXPECT_EQ(dlg.MusicLabel->text(), "Keine Musikdateien vorhanden.");
    dlg.MusicBtn->click(); // disabled: nothing happens
    EXPECT_EQ(clicks, 0);

    dlg.SoundBtn->click();
    EXPECT_FALSE(sound);
    EXPECT_EQ(dlg.SoundLabel->text(), QString::fromUtf8("Geräusche sind aus."));
    dlg.AnimBtn->click();
    EXPECT_FALSE(animation);
    EXPECT_EQ(dlg.AnimLabel->text(), "Pip-Animationen deaktiviert.");
    dlg.TongueBtn->click();
    EXPECT_EQ(language, 0);
    EXPECT_EQ(dlg.SoundLabel->text(), "Sound is off.");
    EXPECT_EQ(dlg.AnimLabel->text(), "Pip-animations deactivated.");
    EXPECT_EQ(dlg.SoundBtn->Hint(), "Sound on or off");

    available = true;
    dlg.RefreshTexts();
    EXPECT_TRUE(dlg.MusicBtn->isEnabled());
    EXPECT_EQ(dlg.MusicLabel->text(), "Music: song.mid");
    dlg.MusicBtn->click();
    EXPECT_FALSE(music);
    EXPECT_EQ(dlg.MusicLabel->text(), "Music is off.");
    EXPECT_EQ(clicks, 1);
}

TEST(OptionDialog, TheGamesOwnSwitchesSitBelowTheDesignsFour)
{
    int language = 0;
    bool sound = true, music = true, animation = true;
    bool smooth = false, calm = false, contrast = false;
    int lookChanges = 0;
    TOptionDlg dlg(
        {&language, &sound, &music, &animation, &smooth, &calm, &contrast}, {}, nullptr, nullptr);
    dlg.onLookChanged = [&] { ++lookChanges; };
    dlg.RefreshTexts();
    // The design's rows keep their places; the dialog grows by three rows.
    EXPECT_EQ(dlg.AnimBtn->geometry(), QRect(16, 215, 50, 50));
    EXPECT_EQ(dlg.SmoothBtn->geometry(), QRect(16, 271, 50, 50));
    EXPECT_EQ(dlg.CalmBtn->geometry(), QRect(16, 327, 50, 50));
    EXPECT_EQ(dlg.ContrastBtn->geometry(), QRect(16, 383, 50, 50));
    EXPECT_EQ(dlg.ContrastLabel->geometry(), QRect(79, 400, 294, 18));
    EXPECT_EQ(dlg.size(), QSize(497, 416 + 3 * 56));
    EXPECT_EQ(dlg.OKBtn->geometry(), QRect(436, 355 + 3 * 56, 50, 50));
    EXPECT_TRUE(dlg.ContrastBtn->parentWidget()->geometry().contains(
        dlg.ContrastBtn->geometry().translated(dlg.ContrastBtn->parentWidget()->pos())))
        << "inside the inner panel";
    EXPECT_FALSE(dlg.MarkBtn->isVisibleTo(&dlg)) << "no lamp switch without the lamp";

    // With the "still solvable?" lamp as well, its switch ends the rows.
    bool mark = false;
    TOptionDlg withMark({&language, &sound, &music, &animation, &smooth, &calm, &contrast, &mark},
        {}, nullptr, nullptr);
    EXPECT_EQ(withMark.ContrastBtn->geometry(), QRect(16, 383, 50, 50));
    EXPECT_EQ(withMark.MarkBtn->geometry(), QRect(16, 439, 50, 50));
    EXPECT_TRUE(withMark.MarkBtn->isVisibleTo(&withMark));
    EXPECT_EQ(withMark.size(), QSize(497, 416 + 4 * 56));
    EXPECT_TRUE(withMark.MarkBtn->parentWidget()->geometry().contains(
        withMark.MarkBtn->geometry().translated(withMark.MarkBtn->parentWidget()->pos())))
        << "inside the inner panel";

    EXPECT_EQ(dlg.SmoothLabel->text(), "Smooth drawing is off.");
    EXPECT_EQ(dlg.CalmLabel->text(), "Calm screen is off.");
    EXPECT_EQ(dlg.ContrastLabel->text(), "High-contrast marks are off.");
    dlg.SmoothBtn->click();
    dlg.CalmBtn->click();
    dlg.ContrastBtn->click();
    EXPECT_TRUE(smooth && calm && contrast);
    EXPECT_EQ(lookChanges, 3) << "the board follows each switch at once";
    EXPECT_EQ(dlg.SmoothLabel->text(), "Smooth drawing is on.");
    EXPECT_EQ(dlg.CalmLabel->text(), "Calm screen is on.");
    EXPECT_EQ(dlg.ContrastLabel->text(), "High-contrast marks are on.");
    EXPECT_EQ(dlg.CalmBtn->Hint(), "Calm screen: no twinkling stars, no victory dance.");

    dlg.TongueBtn->click(); // German
    EXPECT_EQ(dlg.SmoothLabel->text(), "Glatte Kanten sind an.");
    EXPECT_EQ(dlg.CalmLabel->text(), "Ruhiges Bild ist an.");
    EXPECT_EQ(dlg.ContrastLabel->text(), QString::fromUtf8("Kräftige Zeichen sind an."));
    EXPECT_EQ(dlg.SmoothBtn->Hint(),
        QString::fromUtf8("Glatte Kanten für Platten und Pip ein- und ausschalten."));
    dlg.CalmBtn->click();
    EXPECT_FALSE(calm);
    EXPECT_EQ(dlg.CalmLabel->text(), "Ruhiges Bild ist aus.");
    EXPECT_TRUE(sound && music && animation) << "the design's four untouched";
}

TEST(OptionDialog, WithoutTheGamesOwnSwitchesItKeepsTheDesignsSize)
{
    int language = 0;
    bool sound = true, music = true, animation = true;
    TOptionDlg dlg({&language, &sound, &music, &animation}, {}, nullptr, nullptr);
    dlg.RefreshTexts();
    EXPECT_EQ(dlg.size(), QSize(497, 416));
    EXPECT_EQ(dlg.OKBtn->geometry(), QRect(436, 355, 50, 50));
    EXPECT_FALSE(dlg.SmoothBtn->isVisibleTo(&dlg));
    dlg.SmoothBtn->click(); // nothing to switch
}

TEST(OptionDialog, WithoutASoundDeviceTheLabelsSaySo)
{
    struct Case
    {
        bool device, pieces;
        bool soundOn;
        const char *sound, *music;
    };
    for (const Case c : {
             Case {false, true, true, "No sound device could be opened.",
                 "No music without a sound device."},
             Case {false, true, false, "No sound device could be opened.",
                 "No music without a sound device."},
             Case {false, false, true, "No sound device could be opened.",
                 "No music files available."},
             Case {true, true, true, "Sound is on.", "Music: song.mid"},
             Case {true, false, true, "Sound is on.", "No music files available."},
         }) {
        SCOPED_TRACE(testing::Message() << c.device << c.pieces << c.soundOn);
        int language = 0;
        bool sound = c.soundOn, music = true, animation = true;
        // Without a device no piece opens, so music is available only with one.
        const bool available = c.device && c.pieces;
        TOptionDlg dlg({&language, &sound, &music, &animation},
            {[&] { return available; }, [] { return QStringLiteral("song.mid"); },
                [](bool on) { return on; }, [&] { return c.device; }, [&] { return c.pieces; }},
            {}, nullptr);
        dlg.RefreshTexts();
        EXPECT_EQ(dlg.SoundLabel->text(), c.sound);
        EXPECT_EQ(dlg.MusicLabel->text(), c.music);
        EXPECT_EQ(dlg.MusicBtn->isEnabled(), available);
        dlg.SoundBtn->click(); // the choice is kept for a later start
        EXPECT_EQ(sound, !c.soundOn);
        language = 1;
        dlg.RefreshTexts();
        if (!c.device) {
            EXPECT_EQ(
                dlg.SoundLabel->text(), QString::fromUtf8("Kein Audiogerät ließ sich öffnen."));
            EXPECT_EQ(dlg.MusicLabel->text(),
                c.pieces ? QString::fromUtf8("Ohne Audiogerät keine Musik.")
                         : QString::fromUtf8("Keine Musikdateien vorhanden."));
        }
    }
}

TEST(OptionDialog, AnswersNoKeysAndClosesByItsButton)
{
    int language = 0;
    bool sound = true, music = true, animation = true;
    TOptionDlg dlg({&language, &sound, &music, &animation}, {}, {}, nullptr);
    DialogAnswer answer([&](QWidget *w) {
        QTest::keyClick(w, Qt::Key_Escape);
        QTest::keyClick(w, Qt::Key_Return);
        EXPECT_TRUE(w->isVisible());
        dlg.OKBtn->click();
    });
    dlg.ShowModal();
    EXPECT_TRUE(answer.Answered());
    EXPECT_FALSE(dlg.isVisible());
}

TEST(LanguageDialog, SetsTheChosenLanguageOrNone)
{
    TDlgResources resources;
    for (const auto &[choice, expected] :
        {std::pair {"german", 1}, std::pair {"english", 0}, std::pair {"none", -1}}) {
        SCOPED_TRACE(choice);
        int language = -1;
        TTongueDlg dlg(resources, language);
        DialogAnswer answer([&, choice = std::string(choice)](QWidget *w) {
            if (choice == "german")
                dlg.GermanBtn->click();
            else if (choice == "english")
                dlg.EnglishBtn->click();
            else
                QTest::keyClick(w, Qt::Key_Escape);
        });
        dlg.exec();
        EXPECT_EQ(language, expected);
    }
}
