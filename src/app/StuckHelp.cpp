#include "StuckHelp.h"

#include <QCoreApplication>

StuckHelp::StuckHelp(const Game &game, std::uint64_t budget)
    : game_(game)
    , search_(
          [this](const BackgroundSearch::Answer &answer) {
              // From the search thread into the window's: the answer is
              // taken between two events, never inside a move.
              QMetaObject::invokeMethod(
                  this, [this, answer] { Take(answer); }, Qt::QueuedConnection);
          },
          budget)
{ }

StuckHelp::~StuckHelp() = default;

StuckHelp::Seen StuckHelp::Now() const
{
    // A key that moves nothing turns a ready level into one in play; that
    // changes nothing the help says.
    const std::uint8_t state
        = game_.PlayState < PlaySolved ? std::uint8_t {PlayReady} : game_.PlayState;
    return {{game_.board, game_.HeroCol, game_.HeroRow}, state};
}

void StuckHelp::Look()
{
    const Seen now = Now();
    if (looked_ && now == seen_)
        return;
    looked_ = true;
    seen_ = now;
    answer_.reset();
    ticket_ = 0;
    if (hintShown_) {
        hintShown_ = false;
        emit HintHidden();
    }
    StopWaiting(); // the question was about another position
    Settle();
}

void StuckHelp::Settle()
{
    const Position &p = seen_.position;
    if (seen_.playState == PlaySolved) {
        answer_ = HintAnswer {Verdict::Solvable, {}, 0};
    } else if (seen_.playState == PlayLost || !OnBoard(p.col, p.row)) {
        answer_ = HintAnswer {Verdict::Unsolvable, {}, 0};
    } else if (const Verdict quick = QuickVerdict(p); quick != Verdict::GaveUp) {
        // With one landing left any key finishes the level; the search
        // would name the first it tries.
        answer_ = HintAnswer {quick, AllKeys.front(), 0};
    }
    if (answer_) {
        search_.Drop();
        Use(*answer_);
    } else if (markOn_ || hintWanted_) {
        ticket_ = search_.Ask(p);
    } else {
        search_.Drop(); // nobody waits for it any more
    }
}

void StuckHelp::Take(const BackgroundSearch::Answer &answer)
{
    if (answer.ticket != ticket_ || answer.position != seen_.position)
        return; // about a position the game has left
    ticket_ = 0;
    answer_ = answer.hint;
    Use(*answer_);
}

void StuckHelp::Use(const HintAnswer &answer)
{
    if (markOn_) {
        switch (answer.verdict) {
        case Verdict::Solvable:
            SetMark(Mark::Solvable);
            break;
        case Verdict::Unsolvable:
            SetMark(Mark::Unsolvable);
            break;
        case Verdict::GaveUp:
            SetMark(Mark::Unknown);
            break;
        }
    }
    if (!hintWanted_)
        return;
    StopWaiting();
    switch (answer.verdict) {
    case Verdict::Solvable:
        if (seen_.playState == PlaySolved)
            return; // nothing left to press
        hintShown_ = true;
        emit HintShown(answer.key);
        break;
    case Verdict::Unsolvable:
        emit CannotFinish();
        break;
    case Verdict::GaveUp:
        emit NoAnswer();
        break;
    }
}

void StuckHelp::AskHint()
{
    Look();
    if (seen_.playState == PlaySolved)
        return;
    const bool waiting = hintWanted_;
    hintWanted_ = true;
    if (answer_) {
        Use(*answer_);
        return;
    }
    if (!waiting)
        emit HintWaiting(true);
    if (ticket_ == 0)
        ticket_ = search_.Ask(seen_.position);
}

void StuckHelp::SetMarkOn(bool on)
{
    if (on == markOn_)
        return;
    markOn_ = on;
    if (!on) {
        SetMark(Mark::Unknown);
        if (!hintWanted_ && ticket_ != 0) {
            search_.Drop();
            ticket_ = 0;
        }
        return;
    }
    if (!looked_) {
        Look();
    } else if (answer_) {
        Use(*answer_);
    } else if (ticket_ == 0) {
        ticket_ = search_.Ask(seen_.position);
    }
}

std::optional<Key> StuckHelp::ShownHint() const
{
    if (!hintShown_ || Now() != seen_ || !answer_)
        return std::nullopt;
    return answer_->key;
}

void StuckHelp::SetMark(Mark mark)
{
    if (mark == mark_)
        return;
    mark_ = mark;
    emit MarkChanged(mark);
}

void StuckHelp::StopWaiting()
{
    if (!hintWanted_)
        return;
    hintWanted_ = false;
    emit HintWaiting(false);
}

void StuckHelp::WaitForSearch()
{
    search_.WaitUntilIdle();
}

void StuckHelp::WaitForAnswers()
{
    WaitForSearch();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}
