#include "LevelOverview.h"

#include "LevelPicture.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int Gap = 6; // between the cells, and around them
constexpr int MarkSide = 18; // the solved mark in a cell's corner
constexpr QColor ChosenFrame {255, 224, 64};
constexpr QColor CurrentFill {40, 48, 88};

bool Solved(std::int32_t mark)
{
    // As the solved indicator reads a mark.
    return mark > 0;
}

QFont NumberFont(int pixels)
{
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(pixels);
    return f;
}

} // namespace

LevelGrid::LevelGrid(
    const LevelTable &levels, const SolvedMarks &marks, const QImage &indicator, QWidget *parent)
    : QAbstractScrollArea(parent)
    , levels_(levels)
    , marks_(marks)
{
    // The indicator's two halves, small: not solved at x 0, solved at x 50.
    unsolvedMark_
        = indicator.copy(0, 0, 50, 50)
              .scaled(MarkSide, MarkSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    solvedMark_ = indicator.copy(50, 0, 50, 50)
                      .scaled(MarkSide, MarkSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // Dark, as the rest of the game.
    verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: #181818; width: 14px; margin: 0; }"
        "QScrollBar::handle:vertical { background: #5a5a5a; min-height: 24px; border-radius: 5px;"
        " margin: 2px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
}

int LevelGrid::Columns() const
{
    return std::max(1, (viewport()->width() - Gap) / (PictureWidth + Gap));
}

QSize LevelGrid::CellSize() const
{
    // The board is about 2.4 times as wide as high; room for the number above.
    const int w = std::max(1, (viewport()->width() - Gap) / Columns() - Gap);
    return {w, w * 10 / 21};
}

QRect LevelGrid::CellRect(int index) const
{
    const QSize cell = CellSize();
    const int col = index % Columns();
    const int row = index / Columns();
    return QRect(Gap + col * (cell.width() + Gap),
        Gap + row * (cell.height() + Gap) - verticalScrollBar()->value(), cell.width(),
        cell.height());
}

int LevelGrid::IndexAt(QPoint point) const
{
    const QSize cell = CellSize();
    const int y = point.y() + verticalScrollBar()->value() - Gap;
    const int x = point.x() - Gap;
    if (x < 0 || y < 0)
        return -1;
    const int col = x / (cell.width() + Gap);
    const int row = y / (cell.height() + Gap);
    const int index = row * Columns() + col;
    if (col >= Columns() || index >= static_cast<int>(shown_.size())
        || !CellRect(index).contains(point))
        return -1;
    return index;
}

void LevelGrid::SetLevels(std::vector<int> levels, int chosen)
{
    shown_ = std::move(levels);
    chosen_ = shown_.empty() ? -1 : 0;
    Relayout();
    Choose(chosen);
}

int LevelGrid::Chosen() const
{
    return chosen_ < 0 ? 0 : shown_[static_cast<std::size_t>(chosen_)];
}

void LevelGrid::Choose(int level)
{
    // The level itself, or the first one shown after it.
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), level);
    ChooseIndex(at == shown_.end() ? static_cast<int>(shown_.size()) - 1
                                   : static_cast<int>(at - shown_.begin()));
}

void LevelGrid::ChooseIndex(int index)
{
    if (shown_.empty()) {
        chosen_ = -1;
        viewport()->update();
        return;
    }
    chosen_ = std::clamp(index, 0, static_cast<int>(shown_.size()) - 1);
    // Scrolled just far enough to see it whole.
    const QRect r = CellRect(chosen_);
    QScrollBar *bar = verticalScrollBar();
    if (r.top() < Gap)
        bar->setValue(bar->value() + r.top() - Gap);
    else if (r.bottom() > viewport()->height() - Gap)
        bar->setValue(bar->value() + r.bottom() - viewport()->height() + Gap);
    viewport()->update();
}

void LevelGrid::CentreChosen()
{
    if (chosen_ < 0)
        return;
    const QRect r = CellRect(chosen_);
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(bar->value() + r.center().y() - viewport()->height() / 2);
    viewport()->update();
}

void LevelGrid::Relayout()
{
    const QSize cell = CellSize();
    const int rows = (static_cast<int>(shown_.size()) + Columns() - 1) / Columns();
    const int height = Gap + rows * (cell.height() + Gap);
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(cell.height() / 3 + 1);
    if (cell != pictureSize_) {
        pictureSize_ = cell;
        pictures_.clear();
    }
    viewport()->update();
}

const QImage &LevelGrid::Picture(int level, QSize size)
{
    auto it = pictures_.find(level);
    if (it == pictures_.end()) {
        const LevelRecord &r = levels_.Get(level);
        it = pictures_.insert(level, LevelPicture(r.cells, r.startCol, r.startRow, size));
    }
    return *it;
}

void LevelGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const int chosen = Chosen();
    Relayout();
    if (chosen > 0)
        Choose(chosen);
}

void LevelGrid::paintEvent(QPaintEvent *event)
{
    QPainter p(viewport());
    p.fillRect(event->rect(), Qt::black);
    const QSize cell = CellSize();
    const int numberPixels = std::clamp(cell.height() / 6, 11, 22);
    p.setFont(NumberFont(numberPixels));
    const int first = std::max(0, verticalScrollBar()->value() / (cell.height() + Gap)) * Columns();
    for (int i = first; i < static_cast<int>(shown_.size()); ++i) {
        const QRect r = CellRect(i);
        if (r.top() > viewport()->height())
            break;
        if (!r.intersects(event->rect()))
            continue;
        const int level = shown_[static_cast<std::size_t>(i)];
        p.drawImage(r.topLeft(), Picture(level, r.size()));
        const QString number = QString::number(level);
        if (level == CurrentLevel) {
            // The level in play: its number on a tint.
            p.fillRect(QRect(r.topLeft(),
                           QSize(p.fontMetrics().horizontalAdvance(number) + 8, numberPixels + 6)),
                CurrentFill);
        }
        p.setPen(Qt::white);
        p.drawText(r.adjusted(4, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, number);
        p.drawImage(r.bottomRight() - QPoint(MarkSide + 2, MarkSide + 2),
            Solved(marks_[static_cast<std::size_t>(level - 1)]) ? solvedMark_ : unsolvedMark_);
        if (i == chosen_) {
            p.setPen(QPen(ChosenFrame, 3));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(1, 1, -2, -2));
        } else {
            p.setPen(QPen(QColor(70, 70, 70), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
    }
}

void LevelGrid::keyPressEvent(QKeyEvent *event)
{
    const int columns = Columns();
    const int page = std::max(1, viewport()->height() / (CellSize().height() + Gap)) * columns;
    switch (event->key()) {
    case Qt::Key_Left:
        ChooseIndex(chosen_ - 1);
        break;
    case Qt::Key_Right:
        ChooseIndex(chosen_ + 1);
        break;
    case Qt::Key_Up:
        ChooseIndex(chosen_ - columns);
        break;
    case Qt::Key_Down:
        ChooseIndex(chosen_ + columns);
        break;
    case Qt::Key_PageUp:
        ChooseIndex(chosen_ - page);
        break;
    case Qt::Key_PageDown:
        ChooseIndex(chosen_ + page);
        break;
    case Qt::Key_Home:
        ChooseIndex(0);
        break;
    case Qt::Key_End:
        ChooseIndex(static_cast<int>(shown_.size()) - 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (chosen_ >= 0 && onPlay)
            onPlay(Chosen());
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event); // Esc goes on to the window
        return;
    }
    event->accept();
}

void LevelGrid::mousePressEvent(QMouseEvent *event)
{
    const int index = IndexAt(event->position().toPoint());
    if (index >= 0)
        ChooseIndex(index);
}

void LevelGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int index = IndexAt(event->position().toPoint());
    if (index < 0)
        return;
    ChooseIndex(index);
    if (onPlay)
        onPlay(Chosen());
}

TLevelOverview::TLevelOverview(const LevelTable &levels, const SolvedMarks &marks,
    const QImage &indicator, QWidget *mainWindow)
    : QDialog(mainWindow)
    , marks_(marks)
{
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, Qt::white);
    black.setColor(QPalette::Base, QColor(32, 32, 32)); // the switch's box
    black.setColor(QPalette::Text, Qt::white); // and its tick
    setPalette(black);
    setAutoFillBackground(true);

    Grid = new LevelGrid(levels, marks, indicator, this);
    Grid->onPlay = [this](int level) { Play(level); };
    UnsolvedOnly = new QCheckBox(this);
    UnsolvedOnly->setFocusPolicy(Qt::TabFocus); // a click leaves the keys with the pictures
    connect(UnsolvedOnly, &QCheckBox::toggled, this, [this] {
        Fill(Grid->Chosen());
        Grid->CentreChosen();
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(UnsolvedOnly);
    layout->addWidget(Grid, 1);
}

int TLevelOverview::ShowModal(int current, int language, std::function<bool()> mayLeave)
{
    Prepare(current, language, std::move(mayLeave));
    exec();
    return picked_;
}

void TLevelOverview::Prepare(int current, int language, std::function<bool()> mayLeave)
{
    // The first time it lies exactly over the game; later it keeps the
    // size and place the player gave it.
    if (!placed_ && parentWidget()) {
        placed_ = true;
        setGeometry(parentWidget()->geometry());
    }
    const bool german = language == 1;
    setWindowTitle(german ? QStringLiteral("Alle Stufen") : QStringLiteral("All levels"));
    UnsolvedOnly->setText(german ? QStringLiteral("Nur ungelöste Stufen zeigen")
                                 : QStringLiteral("Show unsolved levels only"));
    mayLeave_ = std::move(mayLeave);
    picked_ = 0;
    Grid->CurrentLevel = current;
    Fill(current);
    Grid->setFocus();
}

void TLevelOverview::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Grid->CentreChosen(); // now that the pictures have their size
}

void TLevelOverview::Fill(int chosen)
{
    // The marks may have changed since the last showing.
    std::vector<int> levels;
    const int count = static_cast<int>(marks_.size());
    for (int level = 1; level <= std::min(count, Grid->LevelCount()); ++level) {
        if (!UnsolvedOnly->isChecked() || !Solved(marks_[static_cast<std::size_t>(level - 1)]))
            levels.push_back(level);
    }
    Grid->SetLevels(std::move(levels), chosen);
}

void TLevelOverview::Play(int level)
{
    // The design's question comes first; staying in the level keeps the
    // overview open.
    if (mayLeave_ && !mayLeave_())
        return;
    picked_ = level;
    accept();
}
