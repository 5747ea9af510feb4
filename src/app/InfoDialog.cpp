#include "InfoDialog.h"

#include "DialogResources.h"
#include "MessageDialog.h"
#include "PictureButton.h"
#include "PicturePanel.h"
#include "RaisedLabel.h"

#include <QKeyEvent>
#include <QLabel>

namespace {

constexpr const char *ProjectPage = "https://github.com/quirkgames/tumblewick";
constexpr const char *Licence = "GNU General Public License, version 3 or later";

QString CardText(int language)
{
    const QString page = QString::fromLatin1(ProjectPage);
    const QString head
        = QStringLiteral("<p style='font-size:28px; font-weight:bold;'>Tumblewick</p>"
                         "<p style='font-size:16px; font-weight:bold;'>Version 2.0</p>");
    if (language == 1)
        return head
            + QString::fromUtf8(
                "<p>Ein Denkspiel für den Linux-Desktop. Pip, ein roter Ball, hüpft über ein Brett "
                "aus Kacheln; jede Kachel, die er verlässt, verliert eine Schicht oder fällt "
                "weg.</p>"
                "<p><b>Lizenz:</b> GNU General Public License, Version 3 oder später</p>"
                "<p><b>Projektseite:</b><br>")
            + page + QStringLiteral("</p>");
    return head
        + QStringLiteral(
            "<p>A puzzle game for the Linux desktop. Pip, a red ball, hops across a board of "
            "tiles; every tile he leaves loses a slab or falls away.</p>"
            "<p><b>Licence:</b> ")
        + QString::fromLatin1(Licence) + QStringLiteral("</p><p><b>Project page:</b><br>") + page
        + QStringLiteral("</p>");
}

} // namespace

TInfoDlg::TInfoDlg(const TDlgResources &resources, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint)
    , mainWindow_(mainWindow)
{
    setFixedSize(497, 416);
    const PictureList &dlgs = resources.dlgs;
    auto *background = new PicturePanel(this);
    background->setGeometry(rect());
    background->SetPicture(dlgs.Image(DlgGraniteLight));

    LogoPicture(background, dlgs.Image(DlgLogo), QRect(0, 12, 105, 77));
    ProgLabel = new RaisedLabel(QStringLiteral("Tumblewick"), 32, background);
    ProgLabel->setGeometry(12, 84, 53, 316);
    VersionLabel = new RaisedLabel(QStringLiteral("Version  2.0"), 16, background);
    VersionLabel->setGeometry(56, 130, 21, 266);

    auto *page = new PicturePanel(background);
    page->setGeometry(104, 12, 381, 333);
    page->SetPicture(dlgs.Image(DlgGraniteDark));
    Card = DialogLabel(page, QRect(16, 12, 349, 309), 16, false);
    Card->setTextFormat(Qt::RichText);
    Card->setWordWrap(true);
    Card->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Card->setTextInteractionFlags(Qt::TextSelectableByMouse);

    BackBtn = DialogButton(background, QRect(436, 355, 50, 50), dlgs, DlgBack, DlgBackHot);
    connect(BackBtn, &QAbstractButton::clicked, this, &QDialog::accept);
}

int TInfoDlg::ShowInfo(int language)
{
    SetTexts(language);
    return exec();
}

void TInfoDlg::SetTexts(int language)
{
    BackBtn->SetHint(QString::fromUtf8(language == 1 ? "Zurück zum Spiel" : "Back to game"));
    Card->setText(CardText(language));
}

void TInfoDlg::showEvent(QShowEvent *event)
{
    if (mainWindow_ && mainWindow_->isVisible())
        move(DialogPlacement(*mainWindow_, size()));
    QDialog::showEvent(event);
}

void TInfoDlg::keyPressEvent(QKeyEvent *event)
{
    // Enter, J, j, Y and y close it like the back button; Esc closes it too.
    const ModalResult answer = KeyAnswer(event->key(), event->text());
    if (answer == MrYes)
        accept();
    else if (event->key() == Qt::Key_Escape)
        reject();
}
