// The sound's start-up, run beside the window thread: opening the device,
// preparing the effects and the music take longer than drawing the first
// picture. Whoever needs the sound waits for this work to end first; until
// then only the work itself touches the sound.
#pragma once

#include "AudioDevice.h"

#include <functional>
#include <thread>

class SoundStart
{
public:
    SoundStart() = default;
    ~SoundStart() { Wait(); }
    SoundStart(const SoundStart &) = delete;
    SoundStart &operator=(const SoundStart &) = delete;

    void Begin(std::function<void()> work)
    {
        thread_ = std::thread([work = std::move(work)] {
            work();
            AudioDevice::ThreadEnds();
        });
    }
    // Returns once the work has ended (at once when there is none).
    void Wait()
    {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

private:
    std::thread thread_;
};
