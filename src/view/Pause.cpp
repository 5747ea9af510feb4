#include "Pause.h"

#include <algorithm>
#include <chrono>
#include <thread>

void SleepingClock::Pause(int ms)
{
    using Clock = std::chrono::steady_clock;
    using std::chrono::microseconds;
    const Clock::duration length = std::chrono::milliseconds(ms);
    const Clock::time_point start = Clock::now();
    const Clock::time_point due = start - lastDue_ < length ? lastDue_ + length : start + length;
    lastDue_ = due;
    // A sleep may overrun by some tens of microseconds; leave that much to
    // the spin at the end.
    constexpr microseconds spin(400);
    constexpr microseconds slice(2000);
    for (Clock::time_point now = Clock::now(); now + spin < due; now = Clock::now())
        std::this_thread::sleep_for(std::min<Clock::duration>(due - now - spin, slice));
    while (Clock::now() < due) { }
}
