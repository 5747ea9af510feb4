// The save dialog: asks for the name under which the current game is saved.
#pragma once

#include "GameHost.h"

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class PictureButton;
class TDlgResources;

class TSaveGameDlg : public QDialog
{
    Q_OBJECT
public:
    // Works on the main window's `gameName`; centres itself over `mainWindow`.
    TSaveGameDlg(const TDlgResources &resources, std::string &gameName,
        std::function<int()> language, QWidget *mainWindow);

    // OK (1) when a name was accepted, Cancel (2) otherwise.
    int ShowModal();

    void exitClick();
    void CancelBtnClick();

    QLabel *AskLabel;
    QLineEdit *NameEdit;
    PictureButton *CancelBtn;
    PictureButton *OKBtn;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormActivate();
    void SetTexts();

    std::string &gameName_;
    std::function<int()> language_;
    QWidget *mainWindow_;
};
