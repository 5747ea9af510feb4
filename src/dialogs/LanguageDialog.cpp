#include "LanguageDialog.h"

#include "DialogResources.h"
#include "PictureButton.h"
#include "PicturePanel.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

TTongueDlg::TTongueDlg(const TDlgResources &resources, int &language, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , language_(language)
{
    setFixedSize(408, 162);
    const PictureList &dlgs = resources.dlgs;
    auto *background = new PicturePanel(this);
    background->setGeometry(rect());
    background->SetPicture(dlgs.Image(DlgGraniteLight));
    LogoPicture(background, dlgs.Image(DlgLogo), QRect(0, 12, 105, 77));

    auto *inner = new PicturePanel(background);
    inner->setGeometry(108, 12, 289, 137);
    inner->SetPicture(dlgs.Image(DlgGraniteDark));
    GermanBtn = DialogButton(inner, QRect(16, 15, 50, 50), dlgs, DlgFlagsGerman, DlgFlagsGermanHot);
    EnglishBtn
        = DialogButton(inner, QRect(16, 71, 50, 50), dlgs, DlgFlagsEnglish, DlgFlagsEnglishHot);
    // Both lines speak their own language, whatever is chosen.
    DialogLabel(inner, QRect(79, 32, 190, 18), 16, false)
        ->setText(QStringLiteral("Ich spreche deutsch"));
    DialogLabel(inner, QRect(79, 88, 190, 18), 16, false)
        ->setText(QStringLiteral("I speak English"));

    connect(GermanBtn, &QAbstractButton::clicked, this, &TTongueDlg::GermanBtnClick);
    connect(EnglishBtn, &QAbstractButton::clicked, this, &TTongueDlg::EnglishBtnClick);
}

void TTongueDlg::GermanBtnClick()
{
    language_ = 1;
    accept();
}

void TTongueDlg::EnglishBtnClick()
{
    language_ = 0;
    accept();
}

void TTongueDlg::showEvent(QShowEvent *event)
{
    // It stays centred on the screen, not over the main window.
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (s) {
        const QRect area = s->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    QDialog::showEvent(event);
}
