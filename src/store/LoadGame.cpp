#include "LoadGame.h"

#include "DlgRes.h"
#include "GameHost.h"
#include "PictureButton.h"
#include "PicturePanel.h"
#include "SavedGameFile.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

TLoadGameDlg::TLoadGameDlg(const TDlgResources &resources, std::string programFolder,
    std::string &gameName, std::function<int()> language, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint)
    , programFolder_(std::move(programFolder))
    , gameName_(gameName)
    , language_(std::move(language))
    , mainWindow_(mainWindow)
{
    setFixedSize(357, 416);
    const PictureList &dlgs = resources.dlgs;
    auto *background = new PicturePanel(this);
    background->setGeometry(rect());
    background->SetPicture(dlgs.Image(DlgGraniteLight));

    auto *inner = new PicturePanel(background);
    inner->setGeometry(12, 12, 333, 333);
    inner->SetPicture(dlgs.Image(DlgGraniteDark));
    WhatLabel = DialogLabel(inner, QRect(8, 12, 274, 19), 16);

    NameListBox = new QListWidget(inner);
    NameListBox->setGeometry(12, 40, 309, 281);
    NameListBox->setFont(DialogFont(16));
    NameListBox->setFrameShape(QFrame::NoFrame);
    NameListBox->setUniformItemSizes(true);
    NameListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    NameListBox->setStyleSheet(
        QStringLiteral("QListWidget { color: black; background: white; border: none; }"
                       "QListWidget::item { height: 19px; padding: 0px 2px; }"
                       "QListWidget::item:selected { color: white; background: #1b3f8f; }"));

    CancelBtn = DialogButton(background, QRect(240, 356, 50, 50), dlgs, DlgCross, DlgCrossHot);
    OKBtn = DialogButton(background, QRect(296, 355, 50, 50), dlgs, DlgCheck, DlgCheckHot);
    connect(OKBtn, &QAbstractButton::clicked, this, &TLoadGameDlg::exitClick);
    connect(CancelBtn, &QAbstractButton::clicked, this, &TLoadGameDlg::CancelBtnClick);
    connect(NameListBox, &QListWidget::itemDoubleClicked, this, &TLoadGameDlg::NameListBoxDblClick);
}

int TLoadGameDlg::ShowModal()
{
    SetTexts();
    return exec();
}

void TLoadGameDlg::SetTexts()
{
    const bool german = language_() == 1;
    WhatLabel->setText(german ? QStringLiteral("Welches Spiel soll geladen werden?")
                              : QStringLiteral("Which game shall be loaded?"));
    OKBtn->SetHint(
        german ? QStringLiteral("Gewähltes Spiel Laden") : QStringLiteral("Load selected game"));
}

void TLoadGameDlg::FormActivate()
{
    if (mainWindow_ && mainWindow_->isVisible())
        move(DialogPlacement(*mainWindow_, size()));
    // Built anew every time, so a game saved just before is already listed.
    NameListBox->clear();
    for (const std::string &name : ListSavedGames(programFolder_))
        NameListBox->addItem(QString::fromStdString(name));
    NameListBox->setCurrentRow(-1);
    NameListBox->clearSelection();
    SetTexts();
    // The list takes no focus on its own: a focused list marks its first line,
    // which would look picked when nothing is.
}

void TLoadGameDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

bool TLoadGameDlg::TakeSelected()
{
    const QList<QListWidgetItem *> selected = NameListBox->selectedItems();
    if (selected.isEmpty())
        return false;
    gameName_ = selected.front()->text().toStdString();
    return true;
}

void TLoadGameDlg::exitClick()
{
    // With games listed but none picked there is nothing to load: the dialog
    // stays open. An empty list closes with OK and leaves the name alone.
    if (NameListBox->count() > 0 && !TakeSelected())
        return;
    done(MrOk);
}

void TLoadGameDlg::NameListBoxDblClick()
{
    if (TakeSelected())
        done(MrOk);
}

void TLoadGameDlg::CancelBtnClick()
{
    done(MrCancel);
}

void TLoadGameDlg::keyPressEvent(QKeyEvent *event)
{
    // Enter loads the game picked, as the OK button does; Esc cancels.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        exitClick();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        CancelBtnClick();
        return;
    }
    QDialog::keyPressEvent(event);
}
