// The load dialog: lists the saved games of the games folder and lets the
// player pick one.
#pragma once

#include "SavedGameFile.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class PictureButton;
class TDlgResources;

class TLoadGameDlg : public QDialog
{
    Q_OBJECT
public:
    // Lists the games of `gamesFolder` at every activation.
    TLoadGameDlg(const TDlgResources &resources, std::string gamesFolder,
        std::function<int()> language, QWidget *mainWindow);

    // OK (1) or Cancel (2). OK with an empty list picks nothing.
    int ShowModal();
    // The game picked by the last OK or double click, as the folder lists
    // it; nothing when none was picked.
    const std::optional<SavedGame> &Picked() const { return picked_; }

    void exitClick();
    void NameListBoxDblClick();
    void CancelBtnClick();

    QLabel *WhatLabel;
    QListWidget *NameListBox;
    PictureButton *CancelBtn;
    PictureButton *OKBtn;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormActivate();
    void SetTexts();
    bool TakeSelected();

    std::string gamesFolder_;
    std::vector<SavedGame> games_;
    std::optional<SavedGame> picked_;
    std::function<int()> language_;
    QWidget *mainWindow_;
};
