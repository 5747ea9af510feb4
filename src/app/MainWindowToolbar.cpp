// The toolbar strip: sixteen picture buttons, the level display, the solved
// indicator, and the hints in both languages.
#include "MainWindow.h"

#include "Controls.h"
#include "InfoDialog.h"
#include "OptionsDialog.h"
#include "PictureButton.h"
#include "Shortcuts.h"

#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

// The pictures of `m`, in their order: the solved indicator, the small and
// the large arrows, then the faces of the 50 x 50 buttons.
// The pictures of `m` at the toolbar's scale, drawn for the screen's density.
void LoadToolbarPictures(PictureList &m, qreal scale = 1)
{
    const QString dir = QStringLiteral(":/pictures/toolbar/");
    const qreal ratio = scale * ScreenPixelRatio();
    m = PictureList();
    m.Add(dir + "solved-indicator.svg", QSize(100, 100), ratio);
    for (const char *name :
        {"arrow-up-small", "arrow-up-small-hot", "arrow-down-small", "arrow-down-small-hot"})
        m.Add(dir + name + ".svg", QSize(17, 13), ratio);
    for (const char *name : {"arrow-up", "arrow-up-hot", "arrow-down", "arrow-down-hot"})
        m.Add(dir + name + ".svg", QSize(25, 25), ratio);
    for (const char *name : {"new", "new-hot", "new-grey", "load", "load-hot", "load-grey",
             "restart", "restart-hot", "restart-grey", "next", "next-hot", "next-grey", "options",
             "options-hot", "info", "info-hot", "exit", "exit-hot", "rules", "rules-hot"})
        m.Add(dir + name + ".svg", QSize(50, 50), ratio);
}

// A picture drawn for a grown toolbar, shown at its grown size.
QImage Grown(QImage picture, qreal scale)
{
    picture.setDevicePixelRatio(picture.devicePixelRatio() / scale);
    return picture;
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
    // White on the strip; a label paints no background of its own.
    QPalette white = label->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(white);
    return label;
}

QString Say(int language, const char *german, const char *english)
{
    return QString::fromUtf8(language == 1 ? german : english);
}

} // namespace

void TMainForm::SetIcon()
{
    // Once: after the first picture, or earlier by the first dialog.
    if (!windowIcon().isNull())
        return;
    setWindowIcon(
        PictureIcon(QStringLiteral(":/pictures/icon/tumblewick.svg"), {16, 32, 48, 64, 256}));
}

void TMainForm::CreateToolbar()
{
    LoadToolbarPictures(m);

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
        toolbarItems_.push_back({b, QRect(left, top, w, h), normal, hot, greyed});
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
    for (QLabel *label : {LevelLabel, LevelLabel100, LevelLabel10, LevelLabel1})
        toolbarItems_.push_back({label, label->geometry()});
    // The digits lie under the small arrows' reach; the arrows stay on top.
    for (PictureButton *b :
        {Level100UpBtn, Level10UpBtn, Level1UpBtn, Level1DnBtn, Level10DnBtn, Level100DnBtn})
        b->raise();
}

qreal ToolbarScale(int windowWidth)
{
    if (windowWidth >= 1600)
        return 2;
    if (windowWidth >= 1200)
        return 1.5;
    return 1;
}

int TMainForm::ToolbarHeightNow() const
{
    return qRound(ToolbarHeight * toolbarScale_);
}

void TMainForm::ScaleToolbar(qreal scale)
{
    if (scale == toolbarScale_)
        return;
    toolbarScale_ = scale;
    LoadToolbarPictures(m, scale);
    const auto grown = [scale](const QRect &r) {
        return QRectF(QPointF(r.topLeft()) * scale, QSizeF(r.size()) * scale).toRect();
    };
    for (const ToolbarItem &item : toolbarItems_) {
        item.control->setGeometry(grown(item.place));
        if (auto *b = qobject_cast<PictureButton *>(item.control)) {
            b->SetFaces(Grown(m.Image(item.normal), scale), Grown(m.Image(item.hot), scale),
                Grown(m.Image(item.greyed), scale));
        } else {
            QFont f = item.control->font();
            f.setPixelSize(qRound(25 * scale));
            item.control->setFont(f);
        }
    }
    toolbox->SetScale(scale, m.Image(0));
}

void TMainForm::PlaceRightButtons()
{
    const int w = width();
    const qreal s = toolbarScale_;
    ExitBtn->move(w - qRound(52 * s), ExitBtn->y());
    RulesBtn->move(w - qRound(104 * s), RulesBtn->y());
    InfoBtn->move(w - qRound(156 * s), InfoBtn->y());
    OptionBtn->move(w - qRound(208 * s), OptionBtn->y());
}

const std::vector<TMainForm::Command> &TMainForm::Commands()
{
    // Letters without a modifier are safe here: a command's key is taken
    // before the game sees it, so it never touches the level. Where a letter
    // would be ambiguous, or a command ends or leaves the game, a modifier or
    // a function key is used.
    using K = QKeyCombination;
    constexpr auto Ctrl = Qt::ControlModifier;
    constexpr auto Shift = Qt::ShiftModifier;
    static const std::vector<Command> table = {
        {&TMainForm::NewBtn, [](TMainForm &f) { f.game.NewGameBtnClick(); }, {K(Ctrl, Qt::Key_N)},
            "Ich beginne ein neues Spiel.", "Ich start a new game."},
        {&TMainForm::LoadBtn, [](TMainForm &f) { f.LoadBtnClick(); }, {K(Ctrl, Qt::Key_O)},
            "Ich möchte ein anderes Spiel laden.", "Ich want to load a game."},
        // There is no undo: starting the level again is the nearest to it.
        {&TMainForm::StartBtn, [](TMainForm &f) { f.game.RestartBtnClick(); },
            {K(Qt::Key_R), K(Ctrl, Qt::Key_Z)}, "Ich fang die Stufe neu an.",
            "I start again with this level."},
        {&TMainForm::NextBtn, [](TMainForm &f) { f.game.Level1UpBtnClick(); }, {K(Qt::Key_N)},
            "Ich mache mit der nächsten Stufe weiter.", "Ich continue with the next level."},
        {&TMainForm::Level1UpBtn, [](TMainForm &f) { f.game.Level1UpBtnClick(); },
            {K(Qt::Key_PageUp)}, "Eine Stufe weiter", "One level up"},
        {&TMainForm::Level10UpBtn, [](TMainForm &f) { f.game.Level10UpBtnClick(); },
            {K(Shift, Qt::Key_PageUp)}, "Zehn Stufen weiter", "Ten levels up"},
        {&TMainForm::Level100UpBtn, [](TMainForm &f) { f.game.Level100UpBtnClick(); },
            {K(Ctrl, Qt::Key_PageUp)}, "Hundert Stufen weiter", "Hundred levels up"},
        {&TMainForm::Level1DnBtn, [](TMainForm &f) { f.game.Level1DnBtnClick(); },
            {K(Qt::Key_PageDown)}, "Eine Stufe zurück", "One level back"},
        {&TMainForm::Level10DnBtn, [](TMainForm &f) { f.game.Level10DnBtnClick(); },
            {K(Shift, Qt::Key_PageDown)}, "Zehn Stufen zurück", "Ten levels back"},
        {&TMainForm::Level100DnBtn, [](TMainForm &f) { f.game.Level100DnBtnClick(); },
            {K(Ctrl, Qt::Key_PageDown)}, "Hundert Stufen zurück", "Hundred levels back"},
        {&TMainForm::UnSolvedUpBtn, [](TMainForm &f) { f.game.sUpBtnClick(); }, {K(Qt::Key_U)},
            "Zur nächsten ungelösten Stufe", "To the next unsolved level"},
        {&TMainForm::UnSolvedDnBtn, [](TMainForm &f) { f.game.sDownBtnClick(); },
            {K(Shift, Qt::Key_U)}, "Zur vorigen ungelösten Stufe",
            "To the previous unsolved level"},
        {&TMainForm::RulesBtn, [](TMainForm &f) { f.rules(); }, {K(Qt::Key_F1)},
            "Worum geht's da eigentlich?", "What's to do here?"},
        {&TMainForm::ExitBtn, [](TMainForm &f) { f.ExitBtnClick(); },
            {K(Qt::Key_Escape), K(Ctrl, Qt::Key_Q)}, "Ich hab genug!", "I have enough!"},
        {&TMainForm::InfoBtn, [](TMainForm &f) { f.info(); }, {K(Ctrl, Qt::Key_I)},
            "Wer hat diese Spiele nur verbrochen?", "Who did these QUIRK GAME?"},
        {&TMainForm::OptionBtn, [](TMainForm &f) { f.OptionBtnClick(); }, {K(Ctrl, Qt::Key_Comma)},
            "Ich möchte die Einstellungen ändern.", "I want to modify the options."},
        {nullptr, [](TMainForm &f) { f.ToggleFullScreen(); }, {K(Qt::Key_F11)},
            "Vollbild ein und aus", "Full screen on and off"},
        // The help when stuck: a click on the solved indicator or the level
        // label does the same; their hints name these keys.
        {nullptr, [](TMainForm &f) { f.AskHint(); }, {K(Qt::Key_H)},
            "Tipp: Welcher Zug führt weiter?", "Hint: which move leads on?"},
        // Opened once the key has been handled, so that the overview's own
        // keys start with the next press.
        {nullptr, [](TMainForm &f) { QTimer::singleShot(0, &f, [&f] { f.OpenLevelOverview(); }); },
            {K(Qt::Key_Tab)}, "Alle Stufen im Überblick", "All levels at a glance"},
    };
    return table;
}

std::vector<QKeyCombination> TMainForm::CommandKeys()
{
    std::vector<QKeyCombination> keys;
    for (const Command &c : Commands())
        keys.insert(keys.end(), c.keys.begin(), c.keys.end());
    return keys;
}

const TMainForm::Command *TMainForm::CommandFor(QKeyCombination key)
{
    for (const Command &c : Commands()) {
        if (std::find(c.keys.begin(), c.keys.end(), key) != c.keys.end())
            return &c;
    }
    return nullptr;
}

void TMainForm::RefreshHints()
{
    const int l = game.Language;
    // The design's hint, then the keys that do the same.
    for (const Command &c : Commands()) {
        if (c.button)
            (this->*c.button)->SetHint(Say(l, c.german, c.english) + KeysNote(c.keys, l));
    }
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
    if (DialogsReady())
        OptionDlg->ShowModal();
}

void TMainForm::info()
{
    if (DialogsReady())
        InfoDlg->ShowInfo(game.Language);
}

void TMainForm::rules()
{
    HelpHook->ShowRules(game.Language);
}
