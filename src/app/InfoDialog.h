// The information dialog: the game's name and version along its left edge,
// and our contact card.
#pragma once

#include <QDialog>

class QLabel;
class PictureButton;
class RaisedLabel;
class TDlgResources;

class TInfoDlg : public QDialog
{
    Q_OBJECT
public:
    TInfoDlg(const TDlgResources &resources, QWidget *mainWindow);

    // Texts and hint in the language, then the dialog, modally.
    int ShowInfo(int language);
    void SetTexts(int language);

    RaisedLabel *ProgLabel;
    RaisedLabel *VersionLabel;
    QLabel *Card;
    PictureButton *BackBtn;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *mainWindow_;
};
