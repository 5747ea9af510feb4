// The settings as the player meets them: read at start, written at close in
// one step, never replaced when they could not be read, and every failure
// told.
#include "FormFixture.h"
#include "LanguageDialog.h"
#include "PictureButton.h"
#include "SafeFile.h"
#include "SaveDialog.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTest>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const Board Small = Rows({"1 1 . . . . . .", ". . . . . . . .", ". . . . . . . .",
    ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."});

// Answers every dialog: Cancel to the save dialog, English to the language
// question, Yes to a message; records the text of every error box.
struct Answering
{
    QStringList boxes;
    int languageAsked = 0;
    DialogAnswers answers {[this](QWidget *dialog) {
        if (auto *save = qobject_cast<TSaveGameDlg *>(dialog)) {
            save->CancelBtnClick();
        } else if (auto *tongue = qobject_cast<TTongueDlg *>(dialog)) {
            ++languageAsked;
            tongue->EnglishBtn->click();
        } else if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            boxes << box->text();
            box->accept();
        } else {
            QTest::keyClick(dialog, Qt::Key_J);
        }
    }};
};

void Tick(TMainForm &form)
{
    form.TimerTimer();
    for (int i = 0; i < 40; ++i)
        QCoreApplication::processEvents();
}

} // namespace

TEST(SettingsKept, AFailedWriteAtCloseIsToldAndTheOldFileStays)
{
    Form f({Level(Small, 0, 0)}, "[common]\ntongue=0\nlevel=1\n");
    Answering answering;
    SetWriteFault([](WriteStep step) { return step == WriteStep::Write ? ENOSPC : 0; });
    const bool closed = f.form.close();
    SetWriteFault({});
    EXPECT_TRUE(closed) << "the game still ends: nothing of the record is at stake";
    ASSERT_EQ(answering.boxes.size(), 1);
    EXPECT_EQ(answering.boxes[0].toStdString(),
        "The settings could not be saved in " + f.folder.Settings().string() + " (disk full).");
    EXPECT_EQ(f.folder.ReadSettings(), "[common]\ntongue=0\nlevel=1\n");
}

TEST(SettingsKept, SettingsThatCannotBeReadAreToldOnceAndNeverReplaced)
{
    ProgramFolder folder({Level(Small, 0, 0)});
    fs::remove(folder.Settings());
    fs::create_directories(folder.Settings() / "kept");
    Answering answering;
    {
        TMainForm form(folder.Folder(), folder.Settings());
        Parts(form).Timer->stop();
        form.show();
        form.CreateDialogs();
        Tick(form);
        Tick(form);
        ASSERT_EQ(answering.boxes.size(), 1);
        EXPECT_TRUE(answering.boxes[0].startsWith("The settings in "));
        EXPECT_TRUE(answering.boxes[0].contains("a folder, not a file"));
        EXPECT_EQ(answering.languageAsked, 1) << "the defaults: no language yet";
        EXPECT_TRUE(form.close());
    }
    EXPECT_EQ(answering.boxes.size(), 1) << "told once, not again at close";
    EXPECT_TRUE(fs::is_directory(folder.Settings() / "kept"));
}

TEST(SettingsKept, TheCloseWritesTheFileOnceWithEverythingInIt)
{
    Form f({Level(Small, 0, 0)}, "; by hand\n[common]\ntongue=1\n[mine]\nx=1\n");
    Answering answering;
    int writes = 0;
    SetWriteFault([&](WriteStep step) {
        writes += step == WriteStep::Create ? 1 : 0;
        return 0;
    });
    EXPECT_TRUE(f.form.close());
    SetWriteFault({});
    EXPECT_EQ(writes, 1);
    const std::string text = f.folder.ReadSettings();
    EXPECT_EQ(text.substr(0, text.find("MainForm=")),
        "; by hand\n[common]\ntongue=1\nsound=1\nmusic=1\nanimation=1\nlevel=1\ngame=\n"
        "grafmode=0\nsmooth=0\ncalm=0\ncontrast=0\nsolvablemark=0\n");
    EXPECT_NE(text.find("MainForm=200,0,1,"), std::string::npos);
    EXPECT_NE(text.find("fullscreen=0\n"), std::string::npos);
    EXPECT_NE(text.find("[mine]\nx=1\n"), std::string::npos);
}
