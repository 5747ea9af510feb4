#include "LoadDialog.h"

#include "DialogResources.h"
#include "GameHost.h"
#include "PictureButton.h"
#include "PicturePanel.h"
#include "SavedGameFile.h"

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

#include <algorithm>

TLoadGameDlg::TLoadGameDlg(const TDlgResources &resources, std::string gamesFolder,
    std::function<int()> language, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint)
    , gamesFolder_(std::move(gamesFolder))
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
    // A list with the keyboard focus marks a line as current, which looks
    // picked when nothing is: it takes the focus only from a click, and the
    // dialog passes the arrow keys on to it.
    NameListBox->setFocusPolicy(Qt::ClickFocus);
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
    picked_.reset();
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
    games_ = ListSavedGames(gamesFolder_);
    for (std::size_t i = 0; i < games_.size(); ++i) {
        // Two files whose extensions differ only in case show their whole
        // names, so that the player can tell them apart.
        const bool twin = (i > 0 && games_[i - 1].name == games_[i].name)
            || (i + 1 < games_.size() && games_[i + 1].name == games_[i].name);
        NameListBox->addItem(QFile::decodeName(
            QByteArray::fromStdString(twin ? games_[i].fileName : games_[i].name)));
    }
    NameListBox->setCurrentRow(-1);
    NameListBox->clearSelection();
    SetTexts();
    setFocus();
}

void TLoadGameDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

bool TLoadGameDlg::TakeSelected()
{
    // The game is taken by its place in the list, not by the text shown,
    // which may not give back the bytes of a name in another encoding.
    const QList<QListWidgetItem *> selected = NameListBox->selectedItems();
    if (selected.isEmpty())
        return false;
    const int row = NameListBox->row(selected.front());
    if (row < 0 || static_cast<std::size_t>(row) >= games_.size())
        return false;
    picked_ = games_[static_cast<std::size_t>(row)];
    return true;
}

void TLoadGameDlg::exitClick()
{
    // With games listed but none picked there is nothing to load: the dialog
    // stays open. An empty list closes with OK and picks nothing.
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
    // The arrows move through the list; the first press picks the first or
    // last line.
    const int count = NameListBox->count();
    const int row = NameListBox->selectedItems().isEmpty() ? -1 : NameListBox->currentRow();
    int next = row;
    switch (event->key()) {
    case Qt::Key_Down:
        next = row < 0 ? 0 : row + 1;
        break;
    case Qt::Key_Up:
        next = row < 0 ? count - 1 : row - 1;
        break;
    case Qt::Key_Home:
        next = 0;
        break;
    case Qt::Key_End:
        next = count - 1;
        break;
    default:
        QDialog::keyPressEvent(event);
        return;
    }
    if (count > 0) {
        next = std::clamp(next, 0, count - 1);
        NameListBox->setCurrentRow(next, QItemSelectionModel::ClearAndSelect);
        NameListBox->scrollToItem(NameListBox->item(next));
    }
    event->accept();
}

void TLoadGameDlg::closeEvent(QCloseEvent *event)
{
    // Closed by the window system: nothing is picked, nothing is loaded.
    picked_.reset();
    done(MrCancel);
    event->accept();
}
