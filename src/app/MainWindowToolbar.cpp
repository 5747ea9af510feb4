// The toolbar strip: sixteen picture buttons, the level display, the solved
// indicator, and the hints in both languages.
#include "MainWindow.h"

#include "Controls.h"
#include "InfoDialog.h"
#include "OptionsDialog.h"
#include "PictureButton.h"

#include <QLabel>

#include <functional>

namespace {

// The pictures of `m`, in their order: the solved indicator, the small and
// the large arrows, then the faces of the 50 x 50 buttons.
void LoadToolbarPictures(PictureList &m)
{
    const QString dir = QStringLiteral(":/pictures/toolbar/");
    m.Add(dir + "solved-indicator.svg", QSize(100, 100));
    for (const char *name :
        {"arrow-up-small", "arrow-up-small-hot", "arrow-down-small", "arrow-down-small-hot"})
        m.Add(dir + name + ".svg", QSize(17, 13));
    for (const char *name : {"arrow-up", "arrow-up-hot", "arrow-down", "arrow-down-hot"})
        m.Add(dir + name + ".svg", QSize(25, 25));
    for (const char *name : {"new", "new-hot", "new-grey", "load", "load-hot", "load-grey",
             "restart", "restart-hot", "restart-grey", "next", "next-hot", "next-grey", "options",
             "options-hot", "info", "info-hot", "exit", "exit-hot", "rules", "rules-hot"})
        m.Add(dir + name + ".svg", QSize(50, 50));
}

QLabel *LevelDisplayLabel(QWidget *parent, const QRect &place, Qt::Alignment alignment)
{
    auto *label = new QLabel(parent);
    label->setGeometry(place);
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(25);
    label->setFont(f);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    return label;
}

QString Say(int language, const char *german, const char *english)
{
    return QString::fromUtf8(language == 1 ? german : english);
}

} // namespace

void TMainForm::CreateToolbar()
{
    LoadToolbarPictures(m);
    QIcon icon;
    for (int side : {16, 32, 48, 64, 256})
        icon.addPixmap(QPixmap::fromImage(
            RenderPicture(QStringLiteral(":/pictures/icon/tumblewick.svg"), QSize(side, side))));
    setWindowIcon(icon);

    toolbox = new Toolbox(m.Image(0), this);
    toolbox->setGeometry(0, 0, width(), ToolbarHeight);

    // A button of the strip and what a click on it does; the level commands
    // go straight to the game.
    const auto button = [this](int left, int top, int w, int h, int normal, int hot, int greyed,
                            const std::function<void()> &click) {
        auto *b = new PictureButton(toolbox);
        b->setGeometry(left, top, w, h);
        b->SetFaces(m.Image(normal), m.Image(hot), m.Image(greyed));
        connect(b, &QAbstractButton::clicked, this, click);
        return b;
    };
    NewBtn = button(4, 5, 50, 50, 9, 10, 11, [this] { game.NewGameBtnClick(); });
    LoadBtn = button(56, 5, 50, 50, 12, 13, 14, [this] { LoadBtnClick(); });
    StartBtn = button(108, 5, 50, 50, 15, 16, 17, [this] { game.RestartBtnClick(); });
    NextBtn = button(160, 5, 50, 50, 18, 19, 20, [this] { game.Level1UpBtnClick(); });
    Level100UpBtn = button(312, 3, 18, 13, 1, 2, 1, [this] { game.Level100UpBtnClick(); });
    Level10UpBtn = button(332, 3, 18, 13, 1, 2, 1, [this] { game.Level10UpBtnClick(); });
    Level1UpBtn = button(352, 3, 18, 13, 1, 2, 1, [this] { game.Level1UpBtnClick(); });
    UnSolvedUpBtn = button(372, 3, 25, 26, 5, 6, 5, [this] { game.sUpBtnClick(); });
    UnSolvedDnBtn = button(372, 31, 25, 26, 7, 8, 7, [this] { game.sDownBtnClick(); });
    Level1DnBtn = button(352, 43, 18, 13, 3, 4, 3, [this] { game.Level1DnBtnClick(); });
    Level10DnBtn = button(332, 43, 18, 13, 3, 4, 3, [this] { game.Level10DnBtnClick(); });
    Level100DnBtn = button(312, 43, 18, 13, 3, 4, 3, [this] { game.Level100DnBtnClick(); });
    OptionBtn = button(460, 4, 50, 50, 21, 22, 21, [this] { OptionBtnClick(); });
    InfoBtn = button(512, 4, 50, 50, 23, 24, 23, [this] { info(); });
    RulesBtn = button(564, 4, 50, 50, 27, 28, 27, [this] { rules(); });
    ExitBtn = button(616, 4, 50, 50, 25, 26, 25, [this] { ExitBtnClick(); });

    LevelLabel = LevelDisplayLabel(toolbox, QRect(224, 15, 81, 29), Qt::AlignRight);
    LevelLabel100 = LevelDisplayLabel(toolbox, QRect(308, 15, 25, 25), Qt::AlignHCenter);
    LevelLabel10 = LevelDisplayLabel(toolbox, QRect(328, 15, 25, 25), Qt::AlignHCenter);
    LevelLabel1 = LevelDisplayLabel(toolbox, QRect(348, 15, 25, 25), Qt::AlignHCenter);
    for (QLabel *digit : {LevelLabel100, LevelLabel10, LevelLabel1})
        digit->setText(QStringLiteral("0"));
    // The digits lie under the small arrows' reach; the arrows stay on top.
    for (PictureButton *b :
        {Level100UpBtn, Level10UpBtn, Level1UpBtn, Level1DnBtn, Level10DnBtn, Level100DnBtn})
        b->raise();
}

void TMainForm::PlaceRightButtons()
{
    const int w = width();
    ExitBtn->move(w - 52, ExitBtn->y());
    RulesBtn->move(w - 104, RulesBtn->y());
    InfoBtn->move(w - 156, InfoBtn->y());
    OptionBtn->move(w - 208, OptionBtn->y());
}

void TMainForm::RefreshHints()
{
    const int l = game.Language;
    NewBtn->SetHint(Say(l, "Ich beginne ein neues Spiel.", "Ich start a new game."));
    LoadBtn->SetHint(Say(l, "Ich möchte ein anderes Spiel laden.", "Ich want to load a game."));
    StartBtn->SetHint(Say(l, "Ich fang die Stufe neu an.", "I start again with this level."));
    NextBtn->SetHint(
        Say(l, "Ich mache mit der nächsten Stufe weiter.", "Ich continue with the next level."));
    Level1UpBtn->SetHint(Say(l, "Eine Stufe weiter", "One level up"));
    Level10UpBtn->SetHint(Say(l, "Zehn Stufen weiter", "Ten levels up"));
    Level100UpBtn->SetHint(Say(l, "Hundert Stufen weiter", "Hundred levels up"));
    Level1DnBtn->SetHint(Say(l, "Eine Stufe zurück", "One level back"));
    Level10DnBtn->SetHint(Say(l, "Zehn Stufen zurück", "Ten levels back"));
    Level100DnBtn->SetHint(Say(l, "Hundert Stufen zurück", "Hundred levels back"));
    UnSolvedUpBtn->SetHint(Say(l, "Zur nächsten ungelösten Stufe", "To the next unsolved level"));
    UnSolvedDnBtn->SetHint(
        Say(l, "Zur vorigen ungelösten Stufe", "To the previous unsolved level"));
    RulesBtn->SetHint(Say(l, "Worum geht's da eigentlich?", "What's to do here?"));
    ExitBtn->SetHint(Say(l, "Ich hab genug!", "I have enough!"));
    InfoBtn->SetHint(Say(l, "Wer hat diese Spiele nur verbrochen?", "Who did these QUIRK GAME?"));
    OptionBtn->SetHint(
        Say(l, "Ich möchte die Einstellungen ändern.", "I want to modify the options."));
    LevelLabel->setText(Say(l, "Stufe:", "Level:"));
    RefreshHelpHints();
    game.UpdateStatus();
}

void TMainForm::ShowLevel(const LevelDisplay &display)
{
    LevelLabel100->setText(QString::number(display.hundreds));
    LevelLabel10->setText(QString::number(display.tens));
    LevelLabel1->setText(QString::number(display.ones));
    toolbox->SetSolved(display.solved);
}

void TMainForm::OptionBtnClick()
{
    if (OptionDlg)
        OptionDlg->ShowModal();
}

void TMainForm::info()
{
    if (InfoDlg)
        InfoDlg->ShowInfo(game.Language);
}

void TMainForm::rules()
{
    HelpHook->ShowRules(game.Language);
}
