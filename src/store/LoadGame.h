// The load dialog: lists the saved games of the games folder and lets the
// player pick one.
#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QListWidget;
class PictureButton;
class TDlgResources;

class TLoadGameDlg : public QDialog
{
    Q_OBJECT
public:
    // Lists the games of `programFolder` + "games/" at every activation and
    // sets the main window's `gameName` to the one picked.
    TLoadGameDlg(const TDlgResources &resources, std::string programFolder, std::string &gameName,
        std::function<int()> language, QWidget *mainWindow);

    // OK (1) or Cancel (2).
    int ShowModal();

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

private:
    void FormActivate();
    void SetTexts();
    bool TakeSelected();

    std::string programFolder_;
    std::string &gameName_;
    std::function<int()> language_;
    QWidget *mainWindow_;
};
