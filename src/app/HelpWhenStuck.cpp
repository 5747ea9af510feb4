// Help when stuck, in the main window: the hint (key H, or a click on the
// solved indicator), the "still solvable?" lamp beside the indicator, and
// the overview of all levels (Tab, or a click on the level label or digits).
#include "MainWindow.h"

#include "Controls.h"
#include "HintArrow.h"
#include "LevelOverview.h"
#include "PictureButton.h"
#include "StuckHelp.h"
#include "StuckWidgets.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include <functional>
#include <utility>

namespace {

QString Say(int language, const char *german, const char *english)
{
    return QString::fromUtf8(language == 1 ? german : english);
}

// Opens the overview on a press on the level label or one of its digits.
class OverviewClick : public QObject
{
public:
    OverviewClick(QObject *parent, std::function<void()> open)
        : QObject(parent)
        , open_(std::move(open))
    { }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            // Opened once the press is over, not inside it.
            QTimer::singleShot(0, this, open_);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> open_;
};

} // namespace

void TMainForm::CreateHelpWhenStuck()
{
    stuckHelp = std::make_unique<StuckHelp>(game);

    // The solved indicator is there at every window size and has no click of
    // its own, and it sits beside the level it speaks of; the toolbar keeps
    // the design's layout, which leaves no room for another button at the
    // smallest size.
    hintSpot = new HintSpot(toolbox);
    hintSpot->onClick = [this] { AskHint(); };
    solvableMark = new SolvableMark(toolbox);
    solvableMark->hide();

    auto *overviewClick = new OverviewClick(this, [this] { OpenLevelOverview(); });
    for (QLabel *label : {LevelLabel, LevelLabel100, LevelLabel10, LevelLabel1}) {
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(overviewClick);
    }
    // After every level command the game may stand elsewhere.
    for (PictureButton *b : toolbox->findChildren<PictureButton *>())
        connect(b, &QAbstractButton::clicked, stuckHelp.get(), &StuckHelp::Look);

    box->overlay = [this](QPainter &p) { PaintHint(p); };
    box->overlayArea = [this] { return HintArea(); };
    connect(stuckHelp.get(), &StuckHelp::HintShown, this, [this](Key key) {
        arrow_ = ShownArrow {game.HeroCol, game.HeroRow, key.dCol, key.dRow};
        box->update(HintArea());
    });
    connect(stuckHelp.get(), &StuckHelp::HintHidden, this, &TMainForm::HideHintNow);
    connect(stuckHelp.get(), &StuckHelp::HintWaiting, this, [this](bool waiting) {
        if (waiting)
            box->setCursor(Qt::BusyCursor);
        else
            box->unsetCursor();
    });
    connect(stuckHelp.get(), &StuckHelp::CannotFinish, this, [this] {
        const LevelRecord &start = game.levels.Get(game.CurrentLevel);
        const bool fromStart = game.PlayState == PlayReady && game.board == start.cells;
        if (fromStart)
            ShowHelpMessage(QStringLiteral("Diese Stufe ist nicht zu schaffen."),
                QStringLiteral("This level cannot be solved."));
        else
            ShowHelpMessage(QStringLiteral("Diese Stufe ist nicht mehr zu schaffen."),
                QStringLiteral("This level cannot be finished any more."));
    });
    connect(stuckHelp.get(), &StuckHelp::NoAnswer, this, [this] {
        ShowHelpMessage(QStringLiteral("Das kann ich hier leider nicht herausfinden."),
            QStringLiteral("Sorry, I cannot work that out from here."));
    });
    connect(stuckHelp.get(), &StuckHelp::MarkChanged, this, [this](StuckHelp::Mark mark) {
        solvableMark->SetLamp(mark == StuckHelp::Mark::Solvable ? SolvableMark::Lamp::Green
                : mark == StuckHelp::Mark::Unsolvable           ? SolvableMark::Lamp::Red
                                                                : SolvableMark::Lamp::Grey);
        RefreshHelpHints();
    });
}

void TMainForm::AskHint()
{
    stuckHelp->AskHint();
}

void TMainForm::HideHintNow()
{
    if (!arrow_)
        return;
    const QRect r = HintArea();
    arrow_.reset();
    box->repaint(r);
}

QRect TMainForm::HintArea() const
{
    return arrow_
        ? HintArrowRect(view.metrics(), arrow_->col, arrow_->row, arrow_->dCol, arrow_->dRow)
        : QRect();
}

void TMainForm::PaintHint(QPainter &painter)
{
    // Only while the game stands where the hint was asked.
    const std::optional<Key> key = stuckHelp->ShownHint();
    if (!arrow_ || !key || arrow_->col != game.HeroCol || arrow_->row != game.HeroRow)
        return;
    DrawHintArrow(painter, view.metrics(), arrow_->col, arrow_->row, key->dCol, key->dRow);
}

void TMainForm::ShowHelpMessage(const QString &german, const QString &english)
{
    // The message dialog's notice with the caller's text; opened once the
    // event that asked is over.
    const QString text = game.Language == 1 ? german : english;
    QTimer::singleShot(0, this, [this, text] { ShowMsgText(MsgCdRom, text); });
}

void TMainForm::ApplyMarkOption()
{
    solvableMark->setVisible(SolvableMarkOn);
    stuckHelp->SetMarkOn(SolvableMarkOn);
    stuckHelp->Look();
    RefreshHelpHints();
}

void TMainForm::RefreshHelpHints()
{
    const int l = game.Language;
    hintSpot->setToolTip(
        Say(l, "Tipp: Welcher Zug führt weiter? (Taste H)", "Hint: which move leads on? (key H)"));
    const QString overview
        = Say(l, "Alle Stufen im Überblick (Tab-Taste)", "All levels at a glance (Tab key)");
    for (QLabel *label : {LevelLabel, LevelLabel100, LevelLabel10, LevelLabel1})
        label->setToolTip(overview);
    switch (stuckHelp->CurrentMark()) {
    case StuckHelp::Mark::Solvable:
        solvableMark->setToolTip(
            Say(l, "Diese Stufe ist noch zu schaffen.", "This level can still be finished."));
        break;
    case StuckHelp::Mark::Unsolvable:
        solvableMark->setToolTip(Say(l, "Diese Stufe ist nicht mehr zu schaffen.",
            "This level cannot be finished any more."));
        break;
    case StuckHelp::Mark::Unknown:
        solvableMark->setToolTip(Say(l, "Ob diese Stufe noch zu schaffen ist, weiß ich nicht.",
            "I cannot tell whether this level can still be finished."));
        break;
    }
}

void TMainForm::OpenLevelOverview()
{
    if (!LevelOverview)
        LevelOverview
            = std::make_unique<TLevelOverview>(game.levels, game.SolvedFlags, m.Image(0), this);
    const int level = LevelOverview->ShowModal(
        game.CurrentLevel, game.Language, [this] { return game.ConfirmLevelChange(); });
    if (level == 0)
        return;
    // Asked already, inside the overview.
    game.LoadLevel(level);
    stuckHelp->Look();
}
