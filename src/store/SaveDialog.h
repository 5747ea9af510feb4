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
    // Centres itself over `mainWindow`.
    TSaveGameDlg(
        const TDlgResources &resources, std::function<int()> language, QWidget *mainWindow);

    // Shows the dialog with `name` in its field: OK (1) when a name was
    // accepted, Cancel (2) otherwise. The dialog only asks: the name becomes
    // the game's name once the game has been saved under it.
    int ShowModal(const std::string &name);
    // The name accepted by OK, exactly as typed.
    const std::string &Name() const { return name_; }

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

    std::string name_;
    std::function<int()> language_;
    QWidget *mainWindow_;
};
