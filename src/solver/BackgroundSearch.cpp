#include "BackgroundSearch.h"

BackgroundSearch::BackgroundSearch(Deliver deliver, std::uint64_t budget)
    : deliver_(std::move(deliver))
    , budget_(budget)
{ }

BackgroundSearch::~BackgroundSearch()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        waiting_.reset();
        stop_ = true;
    }
    asked_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

std::uint64_t BackgroundSearch::Ask(const Position &position)
{
    std::uint64_t ticket = 0;
    {
        std::lock_guard lock(mutex_);
        ticket = ++lastTicket_;
        waiting_ = Question {ticket, position};
        if (busy_)
            stop_ = true;
        if (!thread_.joinable())
            thread_ = std::thread(&BackgroundSearch::Run, this);
    }
    asked_.notify_all();
    return ticket;
}

void BackgroundSearch::Drop()
{
    {
        std::lock_guard lock(mutex_);
        waiting_.reset();
        if (busy_)
            stop_ = true;
    }
    idle_.notify_all();
}

void BackgroundSearch::WaitUntilIdle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !busy_ && !waiting_; });
}

void BackgroundSearch::Run()
{
    std::unique_lock lock(mutex_);
    while (true) {
        asked_.wait(lock, [this] { return quit_ || waiting_; });
        if (quit_)
            return;
        const Question question = *waiting_;
        waiting_.reset();
        busy_ = true;
        stop_ = false;
        lock.unlock();

        const HintAnswer hint = FindHint(question.position, budget_, &stop_);
        // A stopped search has no answer; the question that stopped it waits.
        if (!stop_)
            deliver_({question.ticket, question.position, hint});

        lock.lock();
        busy_ = false;
        if (!waiting_)
            idle_.notify_all();
    }
}
