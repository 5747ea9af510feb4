// The message dialog: every question and announcement of the game, by id,
// in German or English, with one button (Yes) or two (No and Yes).
#pragma once

#include "GameHost.h"

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class PictureButton;
class PicturePanel;
class TDlgResources;

constexpr int MessageCount = 14;

// 1 for a message with only the Yes button, 2 for No and Yes.
int ButtonCountOf(int id);
// The stored text of a message in a language (German when it is 1). A
// carriage return starts a new line. Ids 10 and 11 carry the caller's text
// and have none.
QString MessageText(int id, int language);

class TYesNoDlg : public QDialog
{
    Q_OBJECT
public:
    // The language is asked for at every showing; `mainWindow` is the
    // window the dialog centres itself over.
    TYesNoDlg(const TDlgResources &resources, std::function<int()> language, QWidget *mainWindow);

    int MsgId = 0;
    int ButtonCount = 1;
    QString MsgText;

    // Shows the message modally; the answer is the dialog's result, Yes (6)
    // or No (7). Closed in any other way, it is neither.
    ModalResult ShowMsg(int id);
    ModalResult ShowMsgText(int id, const QString &text);

    QString ShownText() const;
    bool NoButtonShown() const;

    void ByesClick() { done(MrYes); }
    void BnoClick() { done(MrNo); }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormActivate();
    ModalResult Run();

    std::function<int()> language_;
    QWidget *mainWindow_;
    PicturePanel *Pan;
    QLabel *txt;
    PictureButton *NoBtn;
    PictureButton *YesBtn;
};

// The key answers of the message and information dialogs: Enter, J, j, Y
// and y say Yes; Esc, N and n say No; every other key is none.
ModalResult KeyAnswer(int key, const QString &text);
