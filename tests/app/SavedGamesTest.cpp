// Saved games as the player meets them: naming a game on closing, the silent
// save later, loading another game, the read-only medium, and keeping every
// solved level at once.
#include "FormFixture.h"
#include "LoadGame.h"
#include "SaveGame.h"
#include "SavedGameFile.h"
#include "YesNo.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>

#include <fstream>

namespace {

// A level solved with two presses of Right: a step off a tile of one, then
// the finishing key.
const Board TwoTiles = Rows({"1 1 . . . . . .", ". . . . . . . .", ". . . . . . . .",
    ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . ."});

std::vector<LevelRecord> Levels(int count)
{
    return std::vector<LevelRecord>(static_cast<std::size_t>(count), Level(TwoTiles, 0, 0));
}

std::string SavedBytes(const Form &f, const std::string &name)
{
    std::ifstream in(SavedGamePath(f.folder.Folder(), name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Marks(std::initializer_list<int> solvedLevels)
{
    std::string bytes(2000, '\0');
    for (int level : solvedLevels)
        bytes[static_cast<std::size_t>(level - 1) * 4] = 1;
    return bytes;
}

// A saved file told as its size and the levels marked solved, for short messages.
std::string Describe(const std::string &bytes)
{
    std::string text = std::to_string(bytes.size()) + " bytes, solved:";
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        if (bytes.compare(i, 4, std::string("\x01\0\0\0", 4)) == 0)
            text += " " + std::to_string(i / 4 + 1);
        else if (bytes.compare(i, 4, std::string(4, '\0')) != 0)
            text += " ?" + std::to_string(i / 4 + 1);
    }
    return text;
}

// What each kind of dialog is answered with; messages say Yes unless told.
struct Script
{
    QString saveName; // typed into the save dialog, then OK; empty: Cancel
    QString loadName; // picked in the load dialog, then OK; empty: Cancel
    int messageKey = Qt::Key_J;
    QStringList seen; // every message text and every error box, in order
};

DialogAnswers Answer(Script &script)
{
    return DialogAnswers([&script](QWidget *dialog) {
        if (auto *save = qobject_cast<TSaveGameDlg *>(dialog)) {
            script.seen << "save dialog";
            if (script.saveName.isEmpty()) {
                save->CancelBtnClick();
                return;
            }
            save->NameEdit->setText(script.saveName);
            save->exitClick();
        } else if (auto *load = qobject_cast<TLoadGameDlg *>(dialog)) {
            script.seen << "load dialog";
            const auto found = load->NameListBox->findItems(script.loadName, Qt::MatchExactly);
            if (script.loadName.isEmpty() || found.isEmpty()) {
                load->CancelBtnClick();
                return;
            }
            load->NameListBox->setCurrentItem(found.front());
            load->exitClick();
        } else if (auto *message = qobject_cast<TYesNoDlg *>(dialog)) {
            script.seen << message->ShownText();
            QTest::keyClick(dialog, static_cast<Qt::Key>(script.messageKey));
        } else if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            script.seen << box->text();
            box->accept();
        }
    });
}

struct ReadOnlyMedium
{
    ReadOnlyMedium()
    {
        SetReadOnlyProbe([](const std::string &) { return true; });
    }
    ~ReadOnlyMedium() { SetReadOnlyProbe({}); }
};

} // namespace

TEST(SavedGames, TheFirstCloseAsksForANameAndLaterClosesSaveSilently)
{
    ProgramFolder folder(Levels(3));
    {
        CountingClock clock;
        TMainForm form(folder.Folder(), folder.Settings());
        form.view.SetClock(&clock);
        form.show();
        form.CreateDialogs();
        form.game.Mark(2) = 1;
        Script script;
        script.saveName = "Anna";
        const DialogAnswers answers = Answer(script);
        EXPECT_TRUE(form.close());
        EXPECT_EQ(script.seen, QStringList({"Do you really want to go?", "save dialog"}));
    }
    std::ifstream saved(folder.Folder() + "games/Anna.twp", std::ios::binary);
    const std::string bytes {std::istreambuf_iterator<char>(saved), {}};
    EXPECT_EQ(Describe(bytes), Describe(Marks({2})));
    EXPECT_NE(folder.ReadSettings().find("game=Anna\n"), std::string::npos);

    // The next start knows the game; its close saves without asking.
    CountingClock clock;
    TMainForm form(folder.Folder(), folder.Settings());
    form.view.SetClock(&clock);
    form.show();
    form.CreateDialogs();
    EXPECT_EQ(form.windowTitle(), "Tumblewick 2.0 - Game: Anna");
    EXPECT_EQ(form.gsol->Progress(), 1);
    form.game.Mark(3) = 1;
    Script script;
    const DialogAnswers answers = Answer(script);
    EXPECT_TRUE(form.close());
    EXPECT_EQ(script.seen, QStringList({"Do you really want to go?"}));
    std::ifstream again(folder.Folder() + "games/Anna.twp", std::ios::binary);
    EXPECT_EQ(
        Describe(std::string(std::istreambuf_iterator<char>(again), {})), Describe(Marks({2, 3})));
}

TEST(SavedGames, ASolvedLevelIsKeptAtOnce)
{
    Form f(Levels(3), "[common]\ntongue=0\ngame=Anna\n", {"Anna"});
    Script script;
    script.messageKey = Qt::Key_N;
    const DialogAnswers answers = Answer(script);
    QTest::keyClick(f.form.windowHandle(), Qt::Key_Right);
    QTest::keyClick(
        f.form.windowHandle(), Qt::Key_Right); // finishes; the next-level question follows
    EXPECT_EQ(f.form.game.Mark(1), 1);
    EXPECT_EQ(Describe(SavedBytes(f, "Anna")), Describe(Marks({1})));
    ASSERT_EQ(script.seen.size(), 1);
    EXPECT_TRUE(script.seen.front().startsWith("Hurrah, you made it!"));
}

TEST(SavedGames, LoadingSavesTheCurrentGameAndTakesThePickedOne)
{
    Form f(Levels(5), "[common]\ntongue=0\nlevel=4\ngame=Anna\n", {"Anna", "bob"});
    std::ofstream(SavedGamePath(f.folder.Folder(), "bob"), std::ios::binary) << Marks({1, 5});
    f.form.game.Mark(2) = 1;
    Script script;
    script.loadName = "bob";
    const DialogAnswers answers = Answer(script);
    f.form.LoadBtnClick();
    EXPECT_EQ(script.seen, QStringList({"load dialog"}));
    EXPECT_EQ(Describe(SavedBytes(f, "Anna")), Describe(Marks({2})))
        << "saved before the other game was loaded";
    EXPECT_EQ(f.form.game.GameName, "bob");
    EXPECT_EQ(f.form.game.Mark(1), 1);
    EXPECT_EQ(f.form.game.Mark(2), 0);
    EXPECT_EQ(f.form.game.CurrentLevel, 4) << "loading changes no level";
    EXPECT_EQ(f.form.windowTitle(), "Tumblewick 2.0 - Game: bob");
    EXPECT_EQ(f.form.gsol->Progress(), 2);
}

TEST(SavedGames, ARememberedGameThatIsGoneOrUnusableIsForgotten)
{
    for (const char *name : {"Gone", "../x", "a/b"}) {
        SCOPED_TRACE(name);
        Form f(Levels(2), std::string("[common]\ntongue=0\ngame=") + name + "\n");
        EXPECT_EQ(f.form.game.GameName, "");
        EXPECT_EQ(f.form.windowTitle(), "Tumblewick 2.0");
        EXPECT_EQ(f.form.gsol->Progress(), 0);
    }
}

TEST(SavedGames, AGameThatCannotBeReadIsReportedAndForgotten)
{
    ProgramFolder folder(Levels(2), "[common]\ntongue=1\ngame=Old\n");
    std::filesystem::create_directories(folder.Folder() + "games/Old.twp"); // a folder, not a file
    Script script;
    const DialogAnswers answers = Answer(script);
    TMainForm form(folder.Folder(), folder.Settings());
    EXPECT_EQ(script.seen, QStringList({"Fehler beim Laden des Spiels Old!"}));
    EXPECT_EQ(form.game.GameName, "");
}

TEST(SavedGames, ANameThatCannotNameAFileIsRefusedAndNothingIsWritten)
{
    Form f(Levels(2));
    Script script;
    script.saveName = "../escape";
    const DialogAnswers answers = Answer(script);
    EXPECT_TRUE(f.form.close());
    EXPECT_EQ(script.seen,
        QStringList({"Do you really want to go?", "save dialog",
            "Cannot save game ../escape.twp. Drive full or not writable."}));
    EXPECT_FALSE(std::filesystem::exists(f.folder.Folder() + "escape.twp"));
    EXPECT_TRUE(std::filesystem::is_empty(f.folder.Folder() + "games"));
}

TEST(ReadOnlyMedium, NothingIsCreatedLoadedOrSaved)
{
    const ReadOnlyMedium medium;
    const std::string settings = "[common]\ntongue=0\nlevel=2\n";
    Form f(Levels(3), settings);
    EXPECT_FALSE(std::filesystem::exists(f.folder.Folder() + "games")) << "no games folder";
    const QString notice
        = "I cannot store anything on a CD-Rom. Please install the game to your harddisk.";

    Script script;
    const DialogAnswers answers = Answer(script);
    f.form.LoadBtnClick();
    EXPECT_EQ(script.seen, QStringList({notice})) << "neither saved nor asked what to load";

    // A new game starts all the same; only the saving is left out.
    script.seen.clear();
    f.form.game.Mark(1) = 1;
    f.form.NewGameBtnClick();
    EXPECT_EQ(script.seen, QStringList({"Do you really want to give up the game?", notice}));
    EXPECT_EQ(f.form.game.CurrentLevel, 1);
    EXPECT_EQ(f.form.game.Mark(1), 0);

    script.seen.clear();
    EXPECT_TRUE(f.form.close());
    EXPECT_EQ(script.seen, QStringList({"Do you really want to go?", notice}));
    EXPECT_EQ(f.folder.ReadSettings(), settings) << "no setting is written";
}
