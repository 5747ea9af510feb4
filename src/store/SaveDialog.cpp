#include "SaveDialog.h"

#include "DialogResources.h"
#include "PictureButton.h"
#include "PicturePanel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <climits>

TSaveGameDlg::TSaveGameDlg(
    const TDlgResources &resources, std::function<int()> language, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint)
    , language_(std::move(language))
    , mainWindow_(mainWindow)
{
    setFixedSize(357, 187);
    const PictureList &dlgs = resources.dlgs;
    auto *background = new PicturePanel(this);
    background->setGeometry(rect());
    background->SetPicture(dlgs.Image(DlgGraniteLight));

    auto *inner = new PicturePanel(background);
    inner->setGeometry(12, 12, 333, 105);
    inner->SetPicture(dlgs.Image(DlgGraniteDark));
    AskLabel = DialogLabel(inner, QRect(12, 12, 266, 38), 16);
    AskLabel->setWordWrap(true);

    NameEdit = new QLineEdit(inner);
    NameEdit->setGeometry(12, 63, 309, 26);
    NameEdit->setFont(DialogFont(16));
    NameEdit->setFrame(false);
    NameEdit->setMaxLength(INT_MAX);
    NameEdit->setStyleSheet(QStringLiteral("color: black; background: white; border: none;"));

    CancelBtn = DialogButton(background, QRect(240, 128, 50, 50), dlgs, DlgCross, DlgCrossHot);
    OKBtn = DialogButton(background, QRect(296, 127, 50, 50), dlgs, DlgCheck, DlgCheckHot);
    connect(OKBtn, &QAbstractButton::clicked, this, &TSaveGameDlg::exitClick);
    connect(CancelBtn, &QAbstractButton::clicked, this, &TSaveGameDlg::CancelBtnClick);
}

int TSaveGameDlg::ShowModal(const std::string &name)
{
    name_ = name;
    SetTexts();
    return exec();
}

void TSaveGameDlg::SetTexts()
{
    const bool german = language_() == 1;
    AskLabel->setText(german
            ? QString::fromUtf8("Unter welchem Namen soll ich das Spiel speichern?")
            : QStringLiteral("Enter the name of the game to save!"));
    OKBtn->SetHint(german ? QStringLiteral("Name akzeptieren") : QStringLiteral("Accept name"));
}

void TSaveGameDlg::FormActivate()
{
    if (mainWindow_ && mainWindow_->isVisible())
        move(DialogPlacement(*mainWindow_, size()));
    NameEdit->setText(QString::fromStdString(name_));
    SetTexts();
    NameEdit->setFocus();
}

void TSaveGameDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TSaveGameDlg::exitClick()
{
    // Taken exactly as typed: blanks and all. The saving step checks whether
    // the name can name a file.
    name_ = NameEdit->text().toStdString();
    done(MrOk);
}

void TSaveGameDlg::CancelBtnClick()
{
    done(MrCancel);
}

void TSaveGameDlg::keyPressEvent(QKeyEvent *event)
{
    // Every key belongs to the name: neither Enter nor Esc closes the dialog.
    event->accept();
}

void TSaveGameDlg::closeEvent(QCloseEvent *event)
{
    // Closed by the window system rather than a button: nothing is named.
    done(MrCancel);
    event->accept();
}
