// The save and load dialogs: what they take as the game's name, when they
// close, and the list of saved games.
#include "DlgRes.h"
#include "LoadGame.h"
#include "PictureButton.h"
#include "SaveGame.h"
#include "SavedGameFile.h"
#include "TempDir.h"

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
    std::string gameName;
    TempDir dir;
    std::string program = dir.Path().string() + "/";
    TSaveGameDlg save {resources, gameName, [this] { return language; }, &main};
    TLoadGameDlg load {resources, program, gameName, [this] { return language; }, &main};

    Dialogs()
    {
        CreateGamesFolder(program);
        main.setGeometry(100, 80, 680, 510);
        main.show();
    }
    void AddGame(const std::string &entry) const
    {
        TempDir::Write(std::filesystem::path(GamesFolder(program)) / entry, "");
    }
    QStringList Listed() const
    {
        QStringList names;
        for (int i = 0; i < load.NameListBox->count(); ++i)
            names << load.NameListBox->item(i)->text();
        return names;
    }
};

} // namespace

TEST(SaveGameDlg, TakesTheNameExactlyAsTyped)
{
    Dialogs d;
    d.gameName = "Anna";
    d.save.show();
    EXPECT_EQ(d.save.NameEdit->text(), "Anna") << "the field shows the current name";
    d.save.NameEdit->clear();
    QTest::keyClicks(d.save.NameEdit, "  Jy Nn ");
    QTest::keyClick(d.save.NameEdit, Qt::Key_Escape);
    QTest::keyClick(d.save.NameEdit, Qt::Key_Return);
    EXPECT_TRUE(d.save.isVisible()) << "neither Enter nor Esc closes it";
    QTest::mouseClick(d.save.OKBtn, Qt::LeftButton);
    EXPECT_FALSE(d.save.isVisible());
    EXPECT_EQ(d.save.result(), MrOk);
    EXPECT_EQ(d.gameName, "  Jy Nn ");
}

TEST(SaveGameDlg, CancelKeepsTheNameAndAnEmptyFieldIsAllowed)
{
    Dialogs d;
    d.gameName = "Anna";
    d.save.show();
    QTest::keyClicks(d.save.NameEdit, "Bob");
    QTest::mouseClick(d.save.CancelBtn, Qt::LeftButton);
    EXPECT_EQ(d.save.result(), MrCancel);
    EXPECT_EQ(d.gameName, "Anna");

    d.save.show();
    d.save.NameEdit->clear();
    QTest::mouseClick(d.save.OKBtn, Qt::LeftButton);
    EXPECT_EQ(d.save.result(), MrOk);
    EXPECT_EQ(d.gameName, "");
}

TEST(SaveGameDlg, SpeaksThePlayersLanguageAndSitsOverTheMainWindow)
{
    Dialogs d;
    d.language = 1;
    d.save.show();
    EXPECT_EQ(d.save.AskLabel->text(),
        QString::fromUtf8("Unter welchem Namen soll ich das Spiel speichern?"));
    EXPECT_EQ(d.save.OKBtn->Hint(), "Name akzeptieren");
    EXPECT_EQ(d.save.CancelBtn->Hint(), "");
    EXPECT_EQ(d.save.pos(), DialogPlacement(d.main, d.save.size()));
    d.save.hide();
    d.language = -1;
    d.save.show();
    EXPECT_EQ(d.save.AskLabel->text(), "Enter the name of the game to save!");
    EXPECT_EQ(d.save.OKBtn->Hint(), "Accept name");
}

TEST(LoadGameDlg, ListsTheSavedGamesAfreshAtEveryShowing)
{
    Dialogs d;
    d.AddGame("bob.twp");
    d.AddGame("Anna.twp");
    d.AddGame("notes.txt");
    std::filesystem::create_directory(GamesFolder(d.program) + "Old.twp");
    d.load.show();
    EXPECT_EQ(d.Listed(), QStringList({"Anna", "bob", "Old"}));
    EXPECT_TRUE(d.load.NameListBox->selectedItems().isEmpty());
    d.load.hide();

    d.AddGame("Carl.twp"); // saved while the dialog was closed
    d.load.show();
    EXPECT_EQ(d.Listed(), QStringList({"Anna", "bob", "Carl", "Old"}));
    EXPECT_EQ(d.load.WhatLabel->text(), "Which game shall be loaded?");
    EXPECT_EQ(d.load.OKBtn->Hint(), "Load selected game");
}

TEST(LoadGameDlg, OkTakesTheSelectedGameAndWaitsWhileNoneIsSelected)
{
    Dialogs d;
    d.gameName = "Anna";
    d.AddGame("Anna.twp");
    d.AddGame("bob.twp");
    d.load.show();
    QTest::mouseClick(d.load.OKBtn, Qt::LeftButton);
    EXPECT_TRUE(d.load.isVisible()) << "nothing picked: no name is taken";
    EXPECT_EQ(d.gameName, "Anna");

    d.load.NameListBox->setCurrentRow(1);
    QTest::mouseClick(d.load.OKBtn, Qt::LeftButton);
    EXPECT_FALSE(d.load.isVisible());
    EXPECT_EQ(d.load.result(), MrOk);
    EXPECT_EQ(d.gameName, "bob");
}

TEST(LoadGameDlg, ADoubleClickLoadsAndCancelLeavesTheName)
{
    Dialogs d;
    d.gameName = "Anna";
    d.AddGame("bob.twp");
    d.load.show();
    d.load.NameListBox->setCurrentRow(0);
    d.load.NameListBoxDblClick();
    EXPECT_EQ(d.load.result(), MrOk);
    EXPECT_EQ(d.gameName, "bob");

    d.gameName = "Anna";
    d.load.show();
    d.load.NameListBoxDblClick(); // nothing selected after a new showing
    EXPECT_TRUE(d.load.isVisible());
    d.load.NameListBox->setCurrentRow(0);
    QTest::mouseClick(d.load.CancelBtn, Qt::LeftButton);
    EXPECT_EQ(d.load.result(), MrCancel);
    EXPECT_EQ(d.gameName, "Anna");
}

TEST(LoadGameDlg, AnEmptyListClosesWithOkAndKeepsTheName)
{
    Dialogs d;
    d.gameName = "Anna";
    std::filesystem::remove_all(GamesFolder(d.program)); // no games folder at all
    d.language = 1;
    d.load.show();
    EXPECT_EQ(d.load.NameListBox->count(), 0);
    EXPECT_EQ(d.load.WhatLabel->text(), "Welches Spiel soll geladen werden?");
    QTest::mouseClick(d.load.OKBtn, Qt::LeftButton);
    EXPECT_EQ(d.load.result(), MrOk);
    EXPECT_EQ(d.gameName, "Anna");
}
