// The save and load dialogs: what they take as the game's name, when they
// close, and the list of saved games.
#include "DialogResources.h"
#include "LoadDialog.h"
#include "PictureButton.h"
#include "SaveDialog.h"
#include "SavedGameFile.h"
#include "TempDir.h"
#include "UiSupport.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace {

struct Dialogs
{
    TDlgResources resources;
    QWidget main;
    int language = 0;
    TempDir dir;
    std::string games = GamesBesideProgram(dir.Path().string() + "/");
    TSaveGameDlg save {resources, [this] { return language; }, &main};
    TLoadGameDlg load {resources, games, [this] { return language; }, &main};

    Dialogs()
    {
        CreateGamesFolder(games);
        main.setGeometry(100, 80, 680, 510);
        main.show();
    }
    void AddGame(const std::string &entry) const
    {
        TempDir::Write(std::filesystem::path(games) / entry, "");
    }
    QStringList Listed() const
    {
        QStringList names;
        for (int i = 0; i < load.NameListBox->count(); ++i)
            names << load.NameListBox->item(i)->text();
        return names;
    }
    // Shows the save dialog with `name` and lets `answer` act on it.
    int Save(const std::string &name, std::function<void()> answer)
    {
        const DialogAnswer answering([&](QWidget *) { answer(); });
        return save.ShowModal(name);
    }
    int Load(std::function<void()> answer)
    {
        const DialogAnswer answering([&](QWidget *) { answer(); });
        return load.ShowModal();
    }
};

} // namespace

TEST(SaveGameDlg, TakesTheNameExactlyAsTyped)
{
    Dialogs d;
    QString shown;
    bool stayedOpen = false;
    EXPECT_EQ(d.Save("Anna",
                  [&] {
                      shown = d.save.NameEdit->text();
                      d.save.NameEdit->clear();
                      QTest::keyClicks(d.save.NameEdit, "  Jy Nn ");
                      QTest::keyClick(d.save.NameEdit, Qt::Key_Escape);
                      QTest::keyClick(d.save.NameEdit, Qt::Key_Return);
                      stayedOpen = d.save.isVisible();
                      QTest::mouseClick(d.save.OKBtn, Qt::LeftButton);
                  }),
        MrOk);
    EXPECT_EQ(shown, "Anna") << "the field shows the current name";
    EXPECT_TRUE(stayedOpen) << "neither Enter nor Esc closes it";
    EXPECT_FALSE(d.save.isVisible());
    EXPECT_EQ(d.save.Name(), "  Jy Nn ");
}

TEST(SaveGameDlg, CancelTheCloseBoxAndAnEmptyField)
{
    Dialogs d;
    EXPECT_EQ(d.Save("Anna",
                  [&] {
                      QTest::keyClicks(d.save.NameEdit, "Bob");
                      QTest::mouseClick(d.save.CancelBtn, Qt::LeftButton);
                  }),
        MrCancel);
    EXPECT_EQ(d.Save("Anna", [&] { d.save.close(); }), MrCancel) << "closed by the window system";
    EXPECT_EQ(d.Save("Anna",
                  [&] {
                      d.save.NameEdit->clear();
                      QTest::mouseClick(d.save.OKBtn, Qt::LeftButton);
                  }),
        MrOk);
    EXPECT_EQ(d.save.Name(), "");
}

TEST(SaveGameDlg, SpeaksThePlayersLanguageAndSitsOverTheMainWindow)
{
    Dialogs d;
    d.language = 1;
    d.Save("", [&] {
        EXPECT_EQ(d.save.AskLabel->text(),
            QString::fromUtf8("Unter welchem Namen soll ich das Spiel speichern?"));
        EXPECT_EQ(d.save.OKBtn->Hint(), "Name akzeptieren");
        EXPECT_EQ(d.save.CancelBtn->Hint(), "");
        EXPECT_EQ(d.save.pos(), DialogPlacement(d.main, d.save.size()));
        d.save.CancelBtnClick();
    });
    d.language = -1;
    d.Save("", [&] {
        EXPECT_EQ(d.save.AskLabel->text(), "Enter the name of the game to save!");
        EXPECT_EQ(d.save.OKBtn->Hint(), "Accept name");
        d.save.CancelBtnClick();
    });
}

TEST(LoadGameDlg, ListsTheSavedGamesAfreshAtEveryShowing)
{
    Dialogs d;
    d.AddGame("bob.twp");
    d.AddGame("Anna.twp");
    d.AddGame("notes.txt");
    std::filesystem::create_directory(d.games + "Old.twp");
    d.Load([&] {
        EXPECT_EQ(d.Listed(), QStringList({"Anna", "bob", "Old"}));
        EXPECT_TRUE(d.load.NameListBox->selectedItems().isEmpty());
        d.load.CancelBtnClick();
    });

    d.AddGame("Carl.twp"); // saved while the dialog was closed
    d.AddGame("Carl.TWP"); // the same name in another file: told apart
    d.Load([&] {
        EXPECT_EQ(d.Listed(), QStringList({"Anna", "bob", "Carl.TWP", "Carl.twp", "Old"}));
        EXPECT_EQ(d.load.WhatLabel->text(), "Which game shall be loaded?");
        EXPECT_EQ(d.load.OKBtn->Hint(), "Load selected game");
        d.load.CancelBtnClick();
    });
}

TEST(LoadGameDlg, NoLineLooksPickedUntilThePlayerPicksOne)
{
    Dialogs d;
    d.AddGame("Anna.twp");
    d.AddGame("bob.twp");
    d.AddGame("carl.twp");
    d.Load([&] {
        EXPECT_FALSE(d.load.NameListBox->hasFocus());
        EXPECT_FALSE(d.load.NameListBox->currentIndex().isValid()) << "no focus bar on a line";
        EXPECT_TRUE(d.load.NameListBox->selectedItems().isEmpty());
        // The arrows still move through the list from the dialog.
        QTest::keyClick(&d.load, Qt::Key_Down);
        EXPECT_EQ(d.load.NameListBox->selectedItems().value(0)->text(), "Anna");
        QTest::keyClick(&d.load, Qt::Key_Down);
        QTest::keyClick(&d.load, Qt::Key_End);
        QTest::keyClick(&d.load, Qt::Key_Down); // stays on the last line
        EXPECT_EQ(d.load.NameListBox->selectedItems().value(0)->text(), "carl");
        QTest::keyClick(&d.load, Qt::Key_Up);
        QTest::keyClick(&d.load, Qt::Key_Return);
    });
    ASSERT_TRUE(d.load.Picked());
    EXPECT_EQ(d.load.Picked()->name, "bob");
}

TEST(LoadGameDlg, OkTakesTheSelectedGameAndWaitsWhileNoneIsSelected)
{
    Dialogs d;
    d.AddGame("Anna.twp");
    d.AddGame("bob.TWP");
    bool waited = false;
    EXPECT_EQ(d.Load([&] {
        QTest::mouseClick(d.load.OKBtn, Qt::LeftButton);
        waited = d.load.isVisible();
        d.load.NameListBox->setCurrentRow(1);
        QTest::mouseClick(d.load.OKBtn, Qt::LeftButton);
    }),
        MrOk);
    EXPECT_TRUE(waited) << "nothing picked: no game is taken";
    EXPECT_EQ(d.load.Picked(), (SavedGame {"bob", "bob.TWP"})) << "the file as it was listed";
}

TEST(LoadGameDlg, ADoubleClickPicksAndCancelOrTheCloseBoxPickNothing)
{
    Dialogs d;
    d.AddGame("bob.twp");
    d.AddGame("Caf\xe9.twp"); // not valid text: picked by its bytes all the same
    EXPECT_EQ(d.Load([&] {
        d.load.NameListBox->setCurrentRow(1);
        d.load.NameListBoxDblClick();
    }),
        MrOk);
    EXPECT_EQ(d.load.Picked(), (SavedGame {"Caf\xe9", "Caf\xe9.twp"}));

    bool stayed = false;
    EXPECT_EQ(d.Load([&] {
        d.load.NameListBoxDblClick(); // nothing selected after a new showing
        stayed = d.load.isVisible();
        d.load.NameListBox->setCurrentRow(0);
        QTest::mouseClick(d.load.CancelBtn, Qt::LeftButton);
    }),
        MrCancel);
    EXPECT_TRUE(stayed);
    EXPECT_FALSE(d.load.Picked());

    EXPECT_EQ(d.Load([&] {
        d.load.NameListBox->setCurrentRow(0);
        d.load.close();
    }),
        MrCancel);
    EXPECT_FALSE(d.load.Picked()) << "closed by the window system";
}

TEST(LoadGameDlg, AnEmptyListClosesWithOkAndPicksNothing)
{
    Dialogs d;
    std::filesystem::remove_all(d.games); // no games folder at all
    d.language = 1;
    EXPECT_EQ(d.Load([&] {
        EXPECT_EQ(d.load.NameListBox->count(), 0);
        EXPECT_EQ(d.load.WhatLabel->text(), "Welches Spiel soll geladen werden?");
        QTest::mouseClick(d.load.OKBtn, Qt::LeftButton);
    }),
        MrOk);
    EXPECT_FALSE(d.load.Picked());
}
