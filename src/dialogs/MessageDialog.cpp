#include "MessageDialog.h"

#include "DialogResources.h"
#include "PictureButton.h"
#include "PicturePanel.h"

#include <QKeyEvent>
#include <QLabel>

namespace {

struct Message
{
    int buttons;
    const char *german;
    const char *english;
};

// Ids 10 and 11 show the caller's text.
const Message Messages[MessageCount] = {
    {1, "Hurra, geschafft!", "Hurrah, you did it!"},
    {2, "Willst Du die Stufe wirklich aufgeben?", "Do you really want to give up the level?"},
    {2, "Willst Du wirklich schon aufhören?", "Do you really want to go?"},
    {2, "Willst Du das Spiel wirklich aufgeben?", "Do you really want to give up the game?"},
    {1, "Du warst leider zu langsam!", "Sorry, you weren't quick enough!"},
    {1, "Gratulation, Du hast alle Stufen gelöst.", "Congratulation, you solved all levels."},
    {1, "Das Spiel ist leider aus.", "Sorry, game over!"},
    {1, "Auf zur nächsten Stufe!", "The next level is waiting!"},
    {1, "Du hast leider verloren!", "Sorry, that was it!"},
    {1, "", ""},
    {2, "", ""},
    {1, "Spiel angehalten.\rWeitermachen?", "Game paused.\rContinue?"},
    {2, "Leider nein!\rStufe wiederholen?", "That was it!\rRepeat level?"},
    {2, "Hurra, geschafft!\rMit der nächste Stufe weitermachen?",
        "Hurrah, you made it!\rContinue with next level?"},
};

} // namespace

int ButtonCountOf(int id)
{
    return id >= 1 && id <= MessageCount ? Messages[id - 1].buttons : 1;
}

QString MessageText(int id, int language)
{
    if (id < 1 || id > MessageCount)
        return {};
    const Message &m = Messages[id - 1];
    return QString::fromUtf8(language == 1 ? m.german : m.english);
}

ModalResult KeyAnswer(int key, const QString &text)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter || text == "J" || text == "j" || text == "Y"
        || text == "y")
        return MrYes;
    if (key == Qt::Key_Escape || text == "N" || text == "n")
        return MrNo;
    return MrNone;
}

TYesNoDlg::TYesNoDlg(
    const TDlgResources &resources, std::function<int()> language, QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint)
    , language_(std::move(language))
    , mainWindow_(mainWindow)
{
    setFixedSize(319, 158);
    const PictureList &dlgs = resources.dlgs;
    auto *background = new PicturePanel(this);
    background->setGeometry(rect());
    background->SetPicture(dlgs.Image(DlgGraniteLight));

    Pan = new PicturePanel(background);
    Pan->setGeometry(11, 12, 298, 77);
    Pan->SetPicture(dlgs.Image(DlgGraniteDark));
    txt = DialogLabel(Pan, QRect(5, 5, 288, 67), 16);
    txt->setAlignment(Qt::AlignCenter);
    txt->setWordWrap(true);

    NoBtn = DialogButton(background, QRect(204, 100, 50, 50), dlgs, DlgCross, DlgCrossHot);
    YesBtn = DialogButton(background, QRect(260, 100, 50, 50), dlgs, DlgCheck, DlgCheckHot);
    connect(YesBtn, &QAbstractButton::clicked, this, &TYesNoDlg::ByesClick);
    connect(NoBtn, &QAbstractButton::clicked, this, &TYesNoDlg::BnoClick);
}

ModalResult TYesNoDlg::ShowMsg(int id)
{
    MsgId = id;
    ButtonCount = ButtonCountOf(id);
    return Run();
}

ModalResult TYesNoDlg::ShowMsgText(int id, const QString &text)
{
    ButtonCount = id == 11 ? 2 : 1;
    MsgId = id;
    MsgText = text;
    return Run();
}

ModalResult TYesNoDlg::Run()
{
    setResult(MrNone);
    const int answer = exec();
    return answer == MrYes || answer == MrNo ? static_cast<ModalResult>(answer) : MrNone;
}

void TYesNoDlg::showEvent(QShowEvent *event)
{
    FormActivate();
    QDialog::showEvent(event);
}

void TYesNoDlg::FormActivate()
{
    if (mainWindow_)
        move(DialogPlacement(*mainWindow_, size()));
    NoBtn->setVisible(ButtonCount == 2);
    QString text = MsgId == 10 || MsgId == 11 ? MsgText : MessageText(MsgId, language_());
    // A carriage return in a message starts a new line.
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    txt->setText(text);
}

QString TYesNoDlg::ShownText() const
{
    return txt->text();
}

bool TYesNoDlg::NoButtonShown() const
{
    return !NoBtn->isHidden();
}

void TYesNoDlg::keyPressEvent(QKeyEvent *event)
{
    const ModalResult answer = KeyAnswer(event->key(), event->text());
    if (answer != MrNone)
        done(answer);
}
