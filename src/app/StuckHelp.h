// Help for a stuck player: the next key press of a solution on request, and
// the "still solvable?" mark after every move. Both come from the exact
// search, which runs on a thread of its own so that the window never waits;
// an answer for a position that has since changed is thrown away.
#pragma once

#include "BackgroundSearch.h"
#include "Game.h"

#include <QObject>

#include <optional>

class StuckHelp : public QObject
{
    Q_OBJECT
public:
    enum class Mark { Unknown, Solvable, Unsolvable };

    explicit StuckHelp(const Game &game, std::uint64_t budget = HintBudget);
    ~StuckHelp() override;

    // Looks at the game again; call it whenever it may have moved on. A
    // changed position takes the hint away and asks anew for the mark.
    void Look();
    // The player asks what to press: answered at once when the answer is
    // known, else as soon as the search has it.
    void AskHint();
    void SetMarkOn(bool on);

    bool MarkOn() const { return markOn_; }
    Mark CurrentMark() const { return mark_; }
    // The key the hint shows, while the game stands where it was asked.
    std::optional<Key> ShownHint() const;
    bool Searching() const { return ticket_ != 0; }

    // For tests, which may not wait for time: blocks until the search is
    // idle, its answers still queued for the window; and the same with the
    // answers taken.
    void WaitForSearch();
    void WaitForAnswers();

signals:
    void HintShown(Key key);
    void HintHidden();
    void HintWaiting(bool waiting); // asked, and the search still runs
    void CannotFinish(); // asked, and no key sequence finishes the level any more
    void NoAnswer(); // asked, and the search gave up
    void MarkChanged(StuckHelp::Mark mark);

private:
    // What the help depends on: the position, and whether the level is lost
    // or solved.
    struct Seen
    {
        Position position;
        std::uint8_t playState = PlayReady;
        bool operator==(const Seen &) const = default;
    };
    Seen Now() const;
    // What can be told without a search, or a question to the search.
    void Settle();
    void Take(const BackgroundSearch::Answer &answer);
    // Shows what the answer means to the mark and to a waiting hint.
    void Use(const HintAnswer &answer);
    void SetMark(Mark mark);
    void StopWaiting();

    const Game &game_;
    Seen seen_;
    bool looked_ = false;
    std::optional<HintAnswer> answer_; // for seen_
    std::uint64_t ticket_ = 0; // the question for seen_ still out, or 0
    bool markOn_ = false;
    Mark mark_ = Mark::Unknown;
    bool hintWanted_ = false;
    bool hintShown_ = false;
    BackgroundSearch search_; // last: its thread ends before the rest goes
};
