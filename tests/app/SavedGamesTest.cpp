// Saved games as the player meets them: naming a game on closing, the silent
// save later, loading another game, the read-only medium, and keeping every
// solved level at once.
#include "FormFixture.h"
#include "GameFolders.h"
#include "LoadDialog.h"
#include "MessageDialog.h"
#include "PictureButton.h"
#include "SafeFile.h"
#include "SaveDialog.h"
#include "SavedGameFile.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
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
    std::ifstream in(SavedGamePath(GamesBesideProgram(f.folder.Folder()), name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string FileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
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
    QStringList saveNames; // typed into the save dialog in turn, then OK; none left: Cancel
    QString loadName; // picked in the load dialog, then OK; empty: Cancel
    int messageKey = Qt::Key_J;
    QString choice; // the button pressed in a box with choices; empty: Esc
    QStringList seen; // every message text and every error box, in order
};

DialogAnswers Answer(Script &script)
{
    return DialogAnswers([&script](QWidget *dialog) {
        if (auto *save = qobject_cast<TSaveGameDlg *>(dialog)) {
            script.seen << "save dialog";
            if (script.saveNames.isEmpty()) {
                save->CancelBtnClick();
                return;
            }
            save->NameEdit->setText(script.saveNames.takeFirst());
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
            if (box->buttons().size() == 1) {
                box->accept();
                return;
            }
            for (QAbstractButton *button : box->buttons()) {
                if (button->text() == script.choice) {
                    button->click();
                    return;
                }
            }
            QTest::keyClick(box, Qt::Key_Escape);
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

// Shows the window of an unnamed game, marks level 2 solved and closes it:
// the close asks, and the save dialog is given `name`.
void CloseWithLevelTwoSolved(TMainForm &form, CountingClock &clock, const QString &name)
{
    Parts(form).view.SetClock(&clock);
    form.show();
    form.CreateDialogs();
    Parts(form).game.Mark(2) = 1;
    Script script;
    script.saveNames = {name};
    const DialogAnswers answers = Answer(script);
    EXPECT_TRUE(form.close());
    EXPECT_EQ(script.seen, QStringList({"Do you really want to go?", "save dialog"}));
}

} // namespace

TEST(SavedGames, TheFirstCloseAsksForANameAndLaterClosesSaveSilently)
{
    ProgramFolder folder(Levels(3));
    {
        CountingClock clock;
        TMainForm form(folder.Folder(), folder.Settings());
        CloseWithLevelTwoSolved(form, clock, "Anna");
    }
    std::ifstream saved(folder.Folder() + "games/Anna.twp", std::ios::binary);
    const std::string bytes {std::istreambuf_iterator<char>(saved), {}};
    EXPECT_EQ(Describe(bytes), Describe(Marks({2})));
    EXPECT_NE(folder.ReadSettings().find("game=Anna\n"), std::string::npos);

    // The next start knows the game; its close saves without asking.
    CountingClock clock;
    TMainForm form(folder.Folder(), folder.Settings());
    Parts(form).view.SetClock(&clock);
    form.show();
    form.CreateDialogs();
    EXPECT_EQ(form.windowTitle(), "Tumblewick 2.0 - Game: Anna");
    EXPECT_EQ(Parts(form).gsol->Progress(), 1);
    Parts(form).game.Mark(3) = 1;
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
    TapKey(f.form.windowHandle(), Qt::Key_Right);
    TapKey(f.form.windowHandle(), Qt::Key_Right); // finishes; the next-level question follows
    EXPECT_EQ(Parts(f.form).game.Mark(1), 1);
    EXPECT_EQ(Describe(SavedBytes(f, "Anna")), Describe(Marks({1})));
    ASSERT_EQ(script.seen.size(), 1);
    EXPECT_TRUE(script.seen.front().startsWith("Hurrah, you made it!"));
}

TEST(SavedGames, LoadingSavesTheCurrentGameAndTakesThePickedOne)
{
    Form f(Levels(5), "[common]\ntongue=0\nlevel=4\ngame=Anna\n", {"Anna", "bob"});
    std::ofstream(SavedGamePath(GamesBesideProgram(f.folder.Folder()), "bob"), std::ios::binary)
        << Marks({1, 5});
    Parts(f.form).game.Mark(2) = 1;
    Script script;
    script.loadName = "bob";
    const DialogAnswers answers = Answer(script);
    f.form.LoadBtnClick();
    EXPECT_EQ(script.seen, QStringList({"load dialog"}));
    EXPECT_EQ(Describe(SavedBytes(f, "Anna")), Describe(Marks({2})))
        << "saved before the other game was loaded";
    EXPECT_EQ(Parts(f.form).game.GameName, "bob");
    EXPECT_EQ(Parts(f.form).game.Mark(1), 1);
    EXPECT_EQ(Parts(f.form).game.Mark(2), 0);
    EXPECT_EQ(Parts(f.form).game.CurrentLevel, 4) << "loading changes no level";
    EXPECT_EQ(f.form.windowTitle(), "Tumblewick 2.0 - Game: bob");
    EXPECT_EQ(Parts(f.form).gsol->Progress(), 2);
}

TEST(SavedGames, ARememberedGameThatIsGoneOrUnusableIsForgotten)
{
    for (const char *name : {"Gone", "../x", "a/b"}) {
        SCOPED_TRACE(name);
        Form f(Levels(2), std::string("[common]\ntongue=0\ngame=") + name + "\n");
        EXPECT_EQ(Parts(f.form).game.GameName, "");
        EXPECT_EQ(f.form.windowTitle(), "Tumblewick 2.0");
        EXPECT_EQ(Parts(f.form).gsol->Progress(), 0);
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
    EXPECT_EQ(Parts(form).game.GameName, "");
}

TEST(SavedGames, ANameThatCannotNameAFileIsRefusedAndNothingIsWritten)
{
    Form f(Levels(2));
    Script script;
    script.saveNames = {"../escape"};
    script.choice = "Quit without saving";
    const DialogAnswers answers = Answer(script);
    EXPECT_TRUE(f.form.close());
    EXPECT_EQ(script.seen,
        QStringList({"Do you really want to go?", "save dialog",
            "Cannot save game ../escape.twp. Drive full or not writable."}));
    EXPECT_FALSE(std::filesystem::exists(f.folder.Folder() + "escape.twp"));
    EXPECT_TRUE(std::filesystem::is_empty(f.folder.Folder() + "games"));
    EXPECT_NE(f.folder.ReadSettings().find("game=\n"), std::string::npos)
        << "a refused name is never remembered";
}

TEST(SavedGames, ASaveThatFailsOnClosingLetsThePlayerSaveElsewhereOrStay)
{
    // Another name: the game closes saved under it.
    {
        Form f(Levels(2));
        Parts(f.form).game.Mark(1) = 1;
        Script script;
        script.saveNames = {"what?", "Anna"};
        script.choice = "Save under another name";
        const DialogAnswers answers = Answer(script);
        EXPECT_TRUE(f.form.close());
        EXPECT_EQ(script.seen,
            QStringList({"Do you really want to go?", "save dialog",
                "Cannot save game what?.twp. Drive full or not writable.", "save dialog"}));
        EXPECT_EQ(Describe(SavedBytes(f, "Anna")), Describe(Marks({1})));
        EXPECT_NE(f.folder.ReadSettings().find("game=Anna\n"), std::string::npos);
    }
    // Back to the game: nothing is lost, nothing is written, the game goes on.
    {
        Form f(Levels(2), "[common]\ntongue=0\n");
        Parts(f.form).game.Mark(1) = 1;
        Script script;
        script.saveNames = {"a/b"};
        const DialogAnswers answers = Answer(script); // the box is left with Esc
        EXPECT_FALSE(f.form.close());
        EXPECT_TRUE(f.form.isVisible());
        EXPECT_TRUE(Parts(f.form).Timer->isActive()) << "the stars and the music go on";
        EXPECT_EQ(Parts(f.form).game.Mark(1), 1);
        EXPECT_EQ(Parts(f.form).game.GameName, "");
        EXPECT_EQ(f.folder.ReadSettings(), "[common]\ntongue=0\n");
    }
    // A named game on a full disk: the same choice, and its name stays.
    {
        Form f(Levels(2), "[common]\ntongue=0\ngame=Anna\n", {"Anna"});
        Parts(f.form).game.Mark(2) = 1;
        SetWriteFault([](WriteStep step) { return step == WriteStep::Write ? ENOSPC : 0; });
        Script script;
        script.choice = "Back to game";
        const DialogAnswers answers = Answer(script);
        EXPECT_FALSE(f.form.close());
        SetWriteFault({});
        EXPECT_EQ(script.seen,
            QStringList({"Do you really want to go?",
                "Cannot save game Anna.twp. Drive full or not writable."}));
        EXPECT_EQ(Parts(f.form).game.GameName, "Anna");
        EXPECT_EQ(Describe(SavedBytes(f, "Anna")), Describe(Marks({})));
    }
}

TEST(SavedGames, AFailedSaveBeforeLoadingKeepsTheRecord)
{
    // Nothing to pick: the load dialog closes with OK and loads nothing.
    {
        Form f(Levels(3));
        Parts(f.form).game.Mark(1) = 1;
        Script script;
        script.saveNames = {"a/b"};
        script.choice = "Load without saving";
        const DialogAnswers answers = Answer(script);
        f.form.LoadBtnClick();
        EXPECT_EQ(script.seen,
            QStringList({"save dialog", "Cannot save game a/b.twp. Drive full or not writable.",
                "load dialog"}));
        EXPECT_EQ(Parts(f.form).game.Mark(1), 1) << "the record is kept";
        EXPECT_EQ(Parts(f.form).game.GameName, "") << "the refused name was never taken";
        EXPECT_EQ(f.form.windowTitle(), "Tumblewick 2.0");
    }
    // Games listed, none picked, the dialog closed by the window system.
    {
        Form f(Levels(3), "[common]\ntongue=0\ngame=Anna\n", {"Anna", "bob"});
        Parts(f.form).game.Mark(2) = 1;
        Script script;
        const DialogAnswers answers([&script](QWidget *dialog) {
            if (auto *load = qobject_cast<TLoadGameDlg *>(dialog)) {
                script.seen << "load dialog";
                load->close();
            }
        });
        f.form.LoadBtnClick();
        EXPECT_EQ(script.seen, QStringList({"load dialog"}));
        EXPECT_EQ(Parts(f.form).game.Mark(2), 1);
        EXPECT_EQ(Parts(f.form).game.GameName, "Anna");
    }
}

TEST(SavedGames, TheGameListedIsTheGameLoaded)
{
    Form f(Levels(3), "[common]\ntongue=0\n");
    const std::string games = f.folder.Folder() + "games/";
    std::ofstream(games + "Bob.TWP", std::ios::binary) << Marks({3});
    std::ofstream(games + "Caf\xe9.twp", std::ios::binary) << Marks({2});
    Script script;
    script.loadName = "Bob";
    const DialogAnswers answers = Answer(script);
    f.form.LoadBtnClick();
    EXPECT_EQ(script.seen, QStringList({"save dialog", "load dialog"}));
    EXPECT_EQ(Parts(f.form).game.GameName, "Bob");
    EXPECT_EQ(Parts(f.form).game.Mark(3), 1);
    EXPECT_EQ(f.form.windowTitle(), "Tumblewick 2.0 - Game: Bob");

    // Saved again into the file it came from, not beside it.
    Parts(f.form).game.Mark(1) = 1;
    script.seen.clear();
    script.loadName = QString::fromUtf8("Caf\xef\xbf\xbd"); // as a name in no encoding is shown
    f.form.LoadBtnClick();
    EXPECT_EQ(Describe(SavedBytes(f, "Bob")), Describe(Marks({1, 3})));
    EXPECT_FALSE(std::filesystem::exists(games + "Bob.twp"));
    EXPECT_EQ(Parts(f.form).game.GameName, "Caf\xe9");
    EXPECT_EQ(Parts(f.form).game.Mark(2), 1);
}

TEST(SavedGames, AGameThatCannotBeLoadedLeavesTheCurrentOne)
{
    Form f(Levels(3), "[common]\ntongue=0\ngame=Anna\n", {"Anna"});
    std::filesystem::create_directory(f.folder.Folder() + "games/Old.twp");
    Parts(f.form).game.Mark(2) = 1;
    Script script;
    script.loadName = "Old";
    const DialogAnswers answers = Answer(script);
    f.form.LoadBtnClick();
    EXPECT_EQ(script.seen, QStringList({"load dialog", "Error occured while loading file Old!"}));
    EXPECT_EQ(Parts(f.form).game.GameName, "Anna");
    EXPECT_EQ(Parts(f.form).game.Mark(2), 1);
}

TEST(SavedGames, TheCaptionFollowsANameGivenBeforeLoading)
{
    Form f(Levels(3));
    Script script;
    script.saveNames = {"Anna"}; // named in the saving step, then the load dialog is cancelled
    const DialogAnswers answers = Answer(script);
    f.form.LoadBtnClick();
    EXPECT_EQ(script.seen, QStringList({"save dialog", "load dialog"}));
    EXPECT_EQ(f.form.windowTitle(), "Tumblewick 2.0 - Game: Anna");
}

TEST(SavedGames, ASaveAfterASolvedLevelThatFailsIsToldOncePerGame)
{
    Form f(Levels(4), "[common]\ntongue=0\ngame=Anna\n", {"Anna"});
    const auto solve = [&f](bool failing) {
        if (failing)
            SetWriteFault([](WriteStep step) { return step == WriteStep::Create ? EACCES : 0; });
        TapKey(f.form.windowHandle(), Qt::Key_Right);
        TapKey(f.form.windowHandle(), Qt::Key_Right);
        SetWriteFault({});
    };
    const QString failure = "Cannot save game Anna.twp. Drive full or not writable.";
    Script script; // Yes to every next-level question
    const DialogAnswers answers = Answer(script);
    solve(true);
    solve(true);
    EXPECT_EQ(Parts(f.form).game.Mark(1), 1);
    EXPECT_EQ(Parts(f.form).game.Mark(2), 1);
    EXPECT_EQ(script.seen.count(failure), 1);
    EXPECT_EQ(script.seen.size(), 3) << script.seen.join(" | ").toStdString();

    // Once a save works again, a later failure is told again.
    solve(false);
    EXPECT_EQ(Describe(SavedBytes(f, "Anna")), Describe(Marks({1, 2, 3})));
    solve(true);
    EXPECT_EQ(script.seen.count(failure), 2);
}

TEST(SavedGames, AVeryLongNameIsShortenedInTheMessage)
{
    Form f(Levels(2));
    const QString name = QString(300, QChar('n'));
    Script script;
    script.saveNames = {name};
    script.choice = "Quit without saving";
    const DialogAnswers answers = Answer(script);
    EXPECT_TRUE(f.form.close());
    ASSERT_EQ(script.seen.size(), 3);
    const QString told = script.seen[2];
    EXPECT_TRUE(told.startsWith("Cannot save game nnnn"));
    EXPECT_TRUE(told.contains(QChar(0x2026)));
    EXPECT_LT(told.size(), 120);
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
    Parts(f.form).game.Mark(1) = 1;
    Parts(f.form).NewBtn->click();
    EXPECT_EQ(script.seen, QStringList({"Do you really want to give up the game?", notice}));
    EXPECT_EQ(Parts(f.form).game.CurrentLevel, 1);
    EXPECT_EQ(Parts(f.form).game.Mark(1), 0);

    script.seen.clear();
    EXPECT_TRUE(f.form.close());
    EXPECT_EQ(script.seen, QStringList({"Do you really want to go?", notice}));
    // Only the window's placement (full screen or not) is kept, as for any window.
    std::string written = f.folder.ReadSettings();
    for (const char *value : {"MainForm=", "fullscreen="}) {
        const std::size_t placement = written.find(value);
        ASSERT_NE(placement, std::string::npos) << value;
        written.erase(placement, written.find('\n', placement) + 1 - placement);
    }
    EXPECT_EQ(written, settings) << "no setting is written";
}

namespace {

// An installed copy: the program in usr/bin/, the level set in the data
// folder the install puts beside it, the settings and the player's own
// folder (not there yet) elsewhere.
struct InstalledCopy
{
    ProgramFolder folder;
    std::string program = folder.Folder() + "usr/bin/";
    std::string data = InstalledDataFolder(program);
    std::string players = folder.Folder() + "home/.local/share/QuirkGames/Tumblewick/games/";
    explicit InstalledCopy(int levels, const std::string &settings = "[common]\ntongue=0\n")
        : folder(Levels(levels), settings)
    {
        std::filesystem::create_directories(program);
        std::filesystem::create_directories(data);
        std::filesystem::rename(folder.Folder() + LevelSetFileName, data + LevelSetFileName);
    }
    // Nothing was written into the install: the program folder is as empty
    // as it was, and the data folder holds only the level set.
    bool InstallUntouched() const
    {
        std::vector<std::string> entries;
        for (const auto &entry : std::filesystem::directory_iterator(data))
            entries.push_back(entry.path().filename().string());
        return std::filesystem::is_empty(program)
            && entries == std::vector<std::string> {LevelSetFileName};
    }
};

} // namespace

TEST(InstalledCopy, ReadsTheInstallsDataAndKeepsGamesInThePlayersFolder)
{
    InstalledCopy copy(3);
    {
        CountingClock clock;
        TMainForm form(copy.program, copy.folder.Settings(), copy.players);
        ASSERT_TRUE(form.Created());
        EXPECT_EQ(Parts(form).DataFolder, copy.data);
        EXPECT_EQ(Parts(form).GamesFolder, copy.players);
        EXPECT_EQ(Parts(form).game.LevelCount(), 3);
        CloseWithLevelTwoSolved(form, clock, "Anna");
    }
    EXPECT_EQ(Describe(FileBytes(copy.players + "Anna.twp")), Describe(Marks({2})));
    EXPECT_TRUE(copy.InstallUntouched());

    // The next start finds the game there again, and so does the load dialog.
    TMainForm again(copy.program, copy.folder.Settings(), copy.players);
    EXPECT_EQ(Parts(again).game.GameName, "Anna");
    EXPECT_EQ(Parts(again).game.Mark(2), 1);
    EXPECT_EQ(
        ListSavedGames(Parts(again).GamesFolder), (std::vector<SavedGame> {{"Anna", "Anna.twp"}}));
}

TEST(InstalledCopy, ABrokenInstallIsToldAsAMissingLevelSet)
{
    for (const bool withDataFolder : {true, false}) {
        SCOPED_TRACE(withDataFolder ? "data folder without its level set" : "no data folder");
        InstalledCopy copy(1);
        std::filesystem::remove_all(withDataFolder ? copy.data + LevelSetFileName : copy.data);
        QStringList shown;
        DialogAnswer ok([&](QWidget *box) {
            for (const QLabel *label : box->findChildren<QLabel *>())
                shown << label->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        TMainForm form(copy.program, copy.folder.Settings(), copy.players);
        EXPECT_FALSE(form.Created());
        EXPECT_TRUE(shown.contains("Can't find file TMBW.DAT. Program aborted."))
            << shown.join("|").toStdString();
        EXPECT_FALSE(std::filesystem::exists(copy.folder.Folder() + "home"))
            << "nothing is created for a game that does not start";
        EXPECT_FALSE(std::filesystem::exists(copy.program + "games"));
    }
}

TEST(InstalledCopy, APlayersFolderThatCannotBeMadeGivesTheSaveErrorAndLosesNothing)
{
    InstalledCopy copy(2);
    std::ofstream(copy.folder.Folder() + "home") << "a file where the home folder should be";
    CountingClock clock;
    TMainForm form(copy.program, copy.folder.Settings(), copy.players);
    ASSERT_TRUE(form.Created());
    Parts(form).view.SetClock(&clock);
    form.show();
    form.CreateDialogs();
    Parts(form).game.Mark(1) = 1;
    Script script;
    script.saveNames = {"Anna"};
    script.choice = "Back to game";
    const DialogAnswers answers = Answer(script);
    EXPECT_FALSE(form.close());
    EXPECT_EQ(script.seen,
        QStringList({"Do you really want to go?", "save dialog",
            "Cannot save game Anna.twp. Drive full or not writable."}));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(Parts(form).game.Mark(1), 1);
    EXPECT_EQ(copy.folder.ReadSettings(), "[common]\ntongue=0\n") << "nothing written yet";
    EXPECT_TRUE(copy.InstallUntouched());
}

TEST(ReadOnlyMedium, ThePlayersOwnFolderTakesTheGamesWhenThereIsOne)
{
    const ReadOnlyMedium medium;
    ProgramFolder folder(Levels(2));
    const std::string players = folder.Folder() + "home/games/";
    {
        CountingClock clock;
        TMainForm form(folder.Folder(), folder.Settings(), players);
        Parts(form).view.SetClock(&clock);
        form.show();
        form.CreateDialogs();
        Parts(form).game.Mark(1) = 1;
        Script script;
        script.saveNames = {"Anna"};
        const DialogAnswers answers = Answer(script);
        EXPECT_TRUE(form.close());
        EXPECT_EQ(script.seen, QStringList({"Do you really want to go?", "save dialog"}))
            << "no notice: the game can be saved";
    }
    EXPECT_EQ(Describe(FileBytes(players + "Anna.twp")), Describe(Marks({1})));
    EXPECT_FALSE(std::filesystem::exists(folder.Folder() + "games"));
    EXPECT_NE(folder.ReadSettings().find("game=Anna\n"), std::string::npos);
}
