// The one timing primitive of the animations.
#pragma once

#include <chrono>

// Waits between two frames. Nothing of the program runs meanwhile: no input,
// paint or timer event is handled, so input made during an animation is
// handled after it. Tests put in a clock that records the pauses instead.
class AnimationClock
{
public:
    virtual ~AnimationClock() = default;
    virtual void Pause(int ms) = 0;
};

// Sleeps most of the wait in short slices and spins only the last fraction of
// a millisecond, so that it ends within about 1 ms of its due time without
// keeping a core busy.
//
// Within an animation a pause is due ms after the previous one was due, so
// the time spent drawing a frame is part of its pause and an animation lasts
// as long as its pauses add up to, also on a large window. A frame that took
// longer than its pause, or the first frame of an animation, waits the whole
// ms from the start of the pause.
class SleepingClock : public AnimationClock
{
public:
    void Pause(int ms) override;

private:
    std::chrono::steady_clock::time_point lastDue_ {};
};
