// The one timing primitive of the animations.
#pragma once

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
class SleepingClock : public AnimationClock
{
public:
    void Pause(int ms) override;
};
