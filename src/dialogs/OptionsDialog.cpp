#include "OptionsDialog.h"

#include "DialogResources.h"
#include "PictureButton.h"
#include "PicturePanel.h"
#include "RaisedLabel.h"

#include <QKeyEvent>
#include <QLabel>

#include <algorithm>

namespace {

// The dialog's own pictures, `bmps`.
enum Bmp {
    BmpGraniteLight,
    BmpGraniteDark,
    BmpLogo,
    BmpCheck,
    BmpCheckHot,
    BmpMouth,
    BmpMouthHot,
    BmpSpeaker,
    BmpSpeakerHot,
    BmpClef,
    BmpClefHot,
    BmpClefGrey,
    BmpRunner,
    BmpRunnerHot,
    BmpRunnerGrey,
    BmpSmooth,
    BmpSmoothHot,
    BmpCalm,
    BmpCalmHot,
    BmpContrast,
    BmpContrastHot,
    BmpLamps,
    BmpLampsHot,
};

// The rows of the inner panel: a switch and its line every 56 pixels.
constexpr int RowStep = 56;

PictureList LoadBmps()
{
    const QString dir = QStringLiteral(":/pictures/dialogs/");
    const QSize face(50, 50);
    PictureList bmps;
    bmps.Add(dir + "granite-light.svg", QSize(160, 120));
    bmps.Add(dir + "granite-dark.svg", QSize(160, 120));
    bmps.Add(dir + "logo.svg", QSize(100, 75));
    for (const char *name : {"check", "check-hot", "mouth", "mouth-hot", "speaker", "speaker-hot",
             "clef", "clef-hot", "clef-grey", "runner", "runner-hot", "runner-grey", "smooth",
             "smooth-hot", "calm", "calm-hot", "contrast", "contrast-hot", "lamps", "lamps-hot"})
        bmps.Add(dir + name + ".svg", face);
    return bmps;
}

QString Choose(int language, const char *german, const char *english)
{
    return QString::fromUtf8(language == 1 ? german : english);
}

} // namespace

TOptionDlg::TOptionDlg(OptionVariables variables, MusicHooks music,
    std::function<void()> refreshHints, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint)
    , v_(variables)
    , music_(std::move(music))
    , refreshHints_(std::move(refreshHints))
    , mainWindow_(mainWindow)
{
    // The game's own switches make the dialog and its inner panel taller by
    // their rows; everything of the design keeps its place.
    // The game's own switches below the design's four: the three looks, then
    // the lamp; the dialog grows by a row for each the game has.
    const int lookRows = v_.SmoothOn ? 3 : 0;
    const int markRow = v_.SolvableMarkOn ? lookRows + 1 : 0;
    const int grown = std::max(lookRows, markRow) * RowStep;
    setFixedSize(497, 416 + grown);
    const PictureList bmps = LoadBmps();
    auto *background = new PicturePanel(this);
    background->setGeometry(rect());
    background->SetPicture(bmps.Image(BmpGraniteLight));

    LogoPicture(background, bmps.Image(BmpLogo), QRect(0, 12, 105, 77));
    ProgLabel = new RaisedLabel(QString(), 32, background);
    ProgLabel->setGeometry(12, 84, 53, 316);
    VersionLabel = new RaisedLabel(QString(), 16, background);
    VersionLabel->setGeometry(56, 130, 21, 266);
    OKBtn = DialogButton(background, QRect(436, 355 + grown, 50, 50), bmps, BmpCheck, BmpCheckHot);

    auto *inner = new PicturePanel(background);
    inner->setGeometry(116, 12, 369, 333 + grown);
    inner->SetPicture(bmps.Image(BmpGraniteDark));
    OptLabel = DialogLabel(inner, QRect(19, 12, 254, 29), 21);
    TongueBtn = DialogButton(inner, QRect(16, 47, 50, 50), bmps, BmpMouth, BmpMouthHot);
    SoundBtn = DialogButton(inner, QRect(16, 103, 50, 50), bmps, BmpSpeaker, BmpSpeakerHot);
    MusicBtn = DialogButton(inner, QRect(16, 159, 50, 50), bmps, BmpClef, BmpClefHot, BmpClefGrey);
    AnimBtn
        = DialogButton(inner, QRect(16, 215, 50, 50), bmps, BmpRunner, BmpRunnerHot, BmpRunnerGrey);
    TongueLabel = DialogLabel(inner, QRect(79, 64, 294, 18), 16, false);
    SoundLabel = DialogLabel(inner, QRect(79, 120, 294, 18), 16, false);
    MusicLabel = DialogLabel(inner, QRect(79, 176, 294, 18), 16, false);
    AnimLabel = DialogLabel(inner, QRect(79, 232, 294, 18), 16, false);
    const auto row = [&](int i, int normal, int hot, PictureButton *&button, QLabel *&label) {
        const int top = 215 + i * RowStep;
        button = DialogButton(inner, QRect(16, top, 50, 50), bmps, normal, hot);
        label = DialogLabel(inner, QRect(79, top + 17, 294, 18), 16, false);
        button->setVisible(i <= lookRows);
        label->setVisible(i <= lookRows);
    };
    row(1, BmpSmooth, BmpSmoothHot, SmoothBtn, SmoothLabel);
    row(2, BmpCalm, BmpCalmHot, CalmBtn, CalmLabel);
    row(3, BmpContrast, BmpContrastHot, ContrastBtn, ContrastLabel);
    // The "still solvable?" lamp, when the game has one.
    row(std::max(markRow, 1), BmpLamps, BmpLampsHot, MarkBtn, MarkLabel);
    MarkBtn->setVisible(markRow > 0);
    MarkLabel->setVisible(markRow > 0);

    connect(OKBtn, &QAbstractButton::clicked, this, &TOptionDlg::exitClick);
    connect(TongueBtn, &QAbstractButton::clicked, this, &TOptionDlg::TongueBtnClick);
    connect(SoundBtn, &QAbstractButton::clicked, this, &TOptionDlg::SoundBtnClick);
    connect(MusicBtn, &QAbstractButton::clicked, this, &TOptionDlg::MusicBtnClick);
    connect(AnimBtn, &QAbstractButton::clicked, this, &TOptionDlg::AnimBtnClick);
    const auto flip = [this](bool *variable) {
        if (!variable)
            return;
        *variable = !*variable;
        RefreshTexts();
        if (onLookChanged)
            onLookChanged();
    };
    connect(SmoothBtn, &QAbstractButton::clicked, this, [this, flip] { flip(v_.SmoothOn); });
    connect(CalmBtn, &QAbstractButton::clicked, this, [this, flip] { flip(v_.CalmOn); });
    connect(ContrastBtn, &QAbstractButton::clicked, this, [this, flip] { flip(v_.ContrastOn); });
    connect(MarkBtn, &QAbstractButton::clicked, this, &TOptionDlg::MarkBtnClick);
}

bool TOptionDlg::MusicAvailable() const
{
    return music_.available && music_.available();
}

bool TOptionDlg::DeviceOpen() const
{
    return !music_.deviceOpen || music_.deviceOpen();
}

int TOptionDlg::ShowModal()
{
    RefreshTexts();
    return exec();
}

void TOptionDlg::RefreshTexts()
{
    const int l = *v_.Language;
    ProgLabel->SetText(QStringLiteral("Tumblewick"));
    VersionLabel->SetText(QStringLiteral("Version  2.0"));
    MusicBtn->setEnabled(MusicAvailable());

    OKBtn->SetHint(Choose(l, "Zurück zum Spiel", "Back to game"));
    OptLabel->setText(Choose(l, "Einstellungen:", "Options:"));
    TongueBtn->SetHint(Choose(l, "Sprache ändern", "Change language"));
    TongueLabel->setText(Choose(l, "Ich spreche deutsch.", "I speak English."));
    SoundBtn->SetHint(Choose(l, "Geräusche ein- und ausschalten.", "Sound on or off"));
    // Without a sound device nothing can sound: the labels say so rather
    // than report sound as on or the pieces beside the program as missing.
    // The button still switches the choice that is kept for the next start.
    if (!DeviceOpen())
        SoundLabel->setText(
            Choose(l, "Kein Audiogerät ließ sich öffnen.", "No sound device could be opened."));
    else
        SoundLabel->setText(*v_.SoundOn ? Choose(l, "Geräusche sind an.", "Sound is on.")
                                        : Choose(l, "Geräusche sind aus.", "Sound is off."));
    MusicBtn->SetHint(Choose(l, "Musik ein- und ausschalten.", "Music on or off."));
    QString music;
    if (!DeviceOpen() && music_.piecesFound && music_.piecesFound())
        music = Choose(l, "Ohne Audiogerät keine Musik.", "No music without a sound device.");
    else if (!MusicAvailable())
        music = Choose(l, "Keine Musikdateien vorhanden.", "No music files available.");
    else if (*v_.MusicOn)
        music
            = Choose(l, "Musik: ", "Music: ") + (music_.pieceName ? music_.pieceName() : QString());
    else
        music = Choose(l, "Musik ist aus.", "Music is off.");
    // A long file name is cut short rather than run out of the panel.
    MusicLabel->setText(
        MusicLabel->fontMetrics().elidedText(music, Qt::ElideMiddle, MusicLabel->width()));
    MusicLabel->setToolTip(music);
    AnimLabel->setText(*v_.AnimationOn
            ? Choose(l, "Pip-Animationen aktiviert.", "Pip-animations activated.")
            : Choose(l, "Pip-Animationen deaktiviert.", "Pip-animations deactivated."));

    if (!v_.SmoothOn)
        return;
    SmoothBtn->SetHint(Choose(l, "Glatte Kanten für Platten und Pip ein- und ausschalten.",
        "Smooth edges of tiles and Pip on or off."));
    SmoothLabel->setText(*v_.SmoothOn
            ? Choose(l, "Glatte Kanten sind an.", "Smooth drawing is on.")
            : Choose(l, "Glatte Kanten sind aus.", "Smooth drawing is off."));
    CalmBtn->SetHint(Choose(l, "Ruhiges Bild: keine funkelnden Sterne, kein Siegestanz.",
        "Calm screen: no twinkling stars, no victory dance."));
    CalmLabel->setText(*v_.CalmOn ? Choose(l, "Ruhiges Bild ist an.", "Calm screen is on.")
                                  : Choose(l, "Ruhiges Bild ist aus.", "Calm screen is off."));
    ContrastBtn->SetHint(Choose(l, "Zeichen auf den Platten in kräftigen Farben, auch unter Pip.",
        "Marks on the tiles in high-contrast colours, also under Pip."));
    ContrastLabel->setText(*v_.ContrastOn
            ? Choose(l, "Kräftige Zeichen sind an.", "High-contrast marks are on.")
            : Choose(l, "Kräftige Zeichen sind aus.", "High-contrast marks are off."));
    if (!v_.SolvableMarkOn)
        return;
    MarkBtn->SetHint(Choose(l, "Anzeige, ob die Stufe noch lösbar ist, ein- und ausschalten.",
        "Show whether the level can still be solved, or not"));
    MarkLabel->setText(*v_.SolvableMarkOn
            ? Choose(l, "Lösbarkeit wird angezeigt.", "Solvability is shown.")
            : Choose(l, "Lösbarkeit wird nicht angezeigt.", "Solvability is not shown."));
}

void TOptionDlg::TongueBtnClick()
{
    *v_.Language = NextLanguage(*v_.Language);
    RefreshTexts();
    if (refreshHints_)
        refreshHints_();
}

void TOptionDlg::SoundBtnClick()
{
    *v_.SoundOn = !*v_.SoundOn;
    RefreshTexts();
}

void TOptionDlg::AnimBtnClick()
{
    *v_.AnimationOn = !*v_.AnimationOn;
    RefreshTexts();
}

void TOptionDlg::MarkBtnClick()
{
    if (v_.SolvableMarkOn)
        *v_.SolvableMarkOn = !*v_.SolvableMarkOn;
    RefreshTexts();
    if (markSwitched)
        markSwitched();
}

void TOptionDlg::MusicBtnClick()
{
    if (MusicAvailable() && music_.click)
        *v_.MusicOn = music_.click(*v_.MusicOn);
    RefreshTexts();
}

void TOptionDlg::showEvent(QShowEvent *event)
{
    if (mainWindow_ && mainWindow_->isVisible())
        move(DialogPlacement(*mainWindow_, size()));
    QDialog::showEvent(event);
}

void TOptionDlg::keyPressEvent(QKeyEvent *event)
{
    // The dialog answers no keys: only its button closes it.
    event->accept();
}
