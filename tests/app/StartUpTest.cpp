// What the start-up leaves for after the first picture, and what it must
// still do on time: the music on the first tick, the dialogs when needed.
#include "AudioDevice.h"
#include "FormFixture.h"
#include "LanguageDialog.h"
#include "MessageDialog.h"
#include "PictureButton.h"
#include "PictureList.h"
#include "ScopedEnv.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <filesystem>

namespace {

const Board Small = Rows({"1 1 . . . . . .", ". . . . . . . .", ". . . . . . . .",
    ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."});

// A shown window with its timer held still and no dialogs made yet, as the
// program has it right after show().
struct Bare
{
    ScopedEnv driver {"SDL_AUDIODRIVER", "dummy"}; // a device that plays into nothing
    ProgramFolder folder;
    TMainForm form;

    Bare(const std::string &settings, bool music)
        : folder({Level(Small, 0, 0)}, settings)
        , form(Prepared(folder, music), folder.Settings())
    {
        Parts(form).Timer->stop();
        form.show();
    }

    static std::string Prepared(const ProgramFolder &folder, bool music)
    {
        if (music)
            std::filesystem::copy_file(std::filesystem::path(TUMBLEWICK_GAME_DIR) / "lullaby.mid",
                std::filesystem::path(folder.Folder()) / "lullaby.mid");
        return folder.Folder();
    }
};

// True while the output pulls the game's music.
bool MusicPulled()
{
    return AudioDevice::MusicPulled();
}

} // namespace

TEST(StartUp, MusicOnStartsOnTheFirstTick)
{
    Bare b("[common]\ntongue=0\nmusic=1\n", true);
    EXPECT_FALSE(MusicPulled()) << "nothing plays before the first tick";
    b.form.TimerTimer();
    EXPECT_TRUE(MusicPulled());
    EXPECT_TRUE(Parts(b.form).midi.Prepared());
}

TEST(StartUp, MusicOffNeverLoadsTheSynthesiser)
{
    Bare b("[common]\ntongue=0\nmusic=0\n", true);
    for (int i = 0; i < 3; ++i)
        b.form.TimerTimer();
    EXPECT_FALSE(MusicPulled());
    EXPECT_FALSE(Parts(b.form).midi.Prepared()) << "the soundfont stays unread";
    // The piece was found and opened all the same: switching music on plays it.
    EXPECT_TRUE(Parts(b.form).midi.MusicAvailable());
    EXPECT_TRUE(Parts(b.form).midi.MusicBtnClick(false));
    EXPECT_TRUE(MusicPulled());
    EXPECT_TRUE(Parts(b.form).midi.Prepared());
}

TEST(StartUp, WithMusicOffTheOutputRestsUntilTheFirstSound)
{
    Bare b("[common]\ntongue=0\nsound=1\nmusic=0\n", true);
    CountingClock clock;
    Parts(b.form).view.SetClock(&clock);
    b.form.TimerTimer(); // after the sound's start-up
    EXPECT_FALSE(AudioDevice::IsOpen()) << "no thread wakes to play silence";
    TapKey(b.form.windowHandle(), Qt::Key_Right); // a step, and its sound
    ASSERT_FALSE(clock.pauses.empty()) << "the hero moved";
    EXPECT_TRUE(AudioDevice::IsOpen());
    b.form.TimerTimer();
    EXPECT_TRUE(AudioDevice::IsOpen()) << "a next step may follow soon";
}

TEST(StartUp, WithoutMusicFilesTheTicksPlayNothing)
{
    Bare b("[common]\ntongue=0\nmusic=1\n", false);
    b.form.TimerTimer();
    EXPECT_FALSE(MusicPulled());
    EXPECT_FALSE(Parts(b.form).midi.MusicAvailable());
}

TEST(StartUp, TheIconComesAfterTheFirstPaintAndTheDialogsWhenNeeded)
{
    const int drawnBefore = PicturesDrawn();
    Bare b("[common]\ntongue=0\n", false);
    b.form.SetIconAfterFirstPaint();
    EXPECT_TRUE(b.form.windowIcon().isNull());
    b.form.repaint(); // the first paint
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    EXPECT_FALSE(b.form.windowIcon().isNull());
    EXPECT_EQ(Parts(b.form).TongueDlg, nullptr) << "nothing has asked for a dialog yet";
    if (ScreenPixelRatio() == 1) {
        EXPECT_EQ(PicturesDrawn(), drawnBefore) << "every picture so far was drawn by the build";
    }

    // The first message makes every dialog, and shows the message.
    int shown = 0;
    DialogAnswer no([&](QWidget *dialog) {
        ++shown;
        ASSERT_EQ(dialog, static_cast<QWidget *>(Parts(b.form).YesNoDlg));
        Parts(b.form).YesNoDlg->reject();
    });
    b.form.ShowMsg(MsgRepeatLevel);
    EXPECT_EQ(shown, 1);
    EXPECT_NE(Parts(b.form).TongueDlg, nullptr);
    EXPECT_NE(Parts(b.form).OptionDlg, nullptr);
    if (ScreenPixelRatio() == 1) {
        EXPECT_EQ(PicturesDrawn(), drawnBefore) << "the dialogs' pictures too";
    }
}

TEST(StartUp, AQuestionBeforeTheDialogsExistMakesThemAtOnce)
{
    // A first run whose first tick comes before the first paint: the
    // language question is asked all the same.
    Bare b("[common]\n", false);
    int asked = 0;
    DialogAnswer english([&](QWidget *dialog) {
        ++asked;
        ASSERT_EQ(dialog, Parts(b.form).TongueDlg);
        Parts(b.form).TongueDlg->EnglishBtn->click();
    });
    b.form.TimerTimer();
    for (int i = 0; i < 20 && !english.Answered(); ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Parts(b.form).game.Language, 0);
}
