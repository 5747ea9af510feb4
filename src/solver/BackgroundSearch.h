// Hints searched on a thread of their own, so that the window never waits
// for an answer.
#pragma once

#include "Hint.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// Only the latest question matters: a new one takes the place of one not yet
// started and stops the one running, whose answer is then never delivered.
// Each question has a ticket, so that the asker can still tell an answer that
// crossed a newer question from the answer it waits for.
class BackgroundSearch
{
public:
    struct Answer
    {
        std::uint64_t ticket = 0;
        Position position;
        HintAnswer hint;
    };
    // Called on the search thread, with no lock held.
    using Deliver = std::function<void(const Answer &)>;

    explicit BackgroundSearch(Deliver deliver, std::uint64_t budget = HintBudget);
    // Stops the running search and waits for the thread: no answer comes
    // after this.
    ~BackgroundSearch();
    BackgroundSearch(const BackgroundSearch &) = delete;
    BackgroundSearch &operator=(const BackgroundSearch &) = delete;

    // Asks about a position; the ticket of the question, counted from 1.
    // The thread starts with the first question.
    std::uint64_t Ask(const Position &position);
    // Forgets the question that waits and stops the one running.
    void Drop();
    // Blocks until every question asked so far is answered or dropped.
    void WaitUntilIdle();

private:
    struct Question
    {
        std::uint64_t ticket;
        Position position;
    };
    void Run();

    const Deliver deliver_;
    const std::uint64_t budget_;
    std::mutex mutex_;
    std::condition_variable asked_;
    std::condition_variable idle_;
    std::optional<Question> waiting_;
    bool busy_ = false;
    bool quit_ = false;
    std::uint64_t lastTicket_ = 0;
    std::atomic<bool> stop_ {false};
    std::thread thread_;
};
