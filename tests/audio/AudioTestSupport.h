// Helpers for tests that run SDL's audio. The driver is chosen through the
// environment before the device opens. What the output plays is not left to
// SDL's audio thread: the test pulls it, as many samples as it needs, so a
// recording is the same on a slow machine and a fast one.
#pragma once

#include "ScopedEnv.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

// Chooses SDL's audio driver for the life of the object: "dummy" opens a
// device that plays into nothing, an unknown name opens none.
class AudioDriver
{
public:
    explicit AudioDriver(const char *driver)
        : driver_("SDL_AUDIODRIVER", driver)
    { }

private:
    ScopedEnv driver_;
};

// Interleaved 16-bit samples at 44100 frames a second, as the output makes
// them: stereo unless the output was forced otherwise.
struct Recording
{
    static constexpr int Rate = 44100;
    int channels = 2;
    std::vector<std::int16_t> samples;

    double Seconds() const { return double(samples.size()) / channels / Rate; }

    int Peak() const
    {
        int peak = 0;
        for (std::int16_t s : samples) {
            peak = std::max(peak, std::abs(int(s)));
        }
        return peak;
    }

    // Seconds from the first to the last sample louder than `threshold`;
    // zero when nothing is that loud.
    double SoundingSeconds(int threshold = 300) const
    {
        std::size_t first = samples.size(), last = 0;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            if (std::abs(int(samples[i])) > threshold) {
                first = std::min(first, i);
                last = i;
            }
        }
        return first > last ? 0.0 : double(last - first + 1) / channels / Rate;
    }

    void Append(const Recording &more)
    {
        samples.insert(samples.end(), more.samples.begin(), more.samples.end());
    }
};

// True while the output is open.
bool OutputOpen();

// True while the output pulls the game's music.
bool MusicPulled();

// Makes the output have `channels` channels while the object lives,
// whatever the game asks for, as a sound card that offers no stereo would.
class ForcedOutputChannels
{
public:
    explicit ForcedOutputChannels(int channels);
    ~ForcedOutputChannels();
    ForcedOutputChannels(const ForcedOutputChannels &) = delete;
    ForcedOutputChannels &operator=(const ForcedOutputChannels &) = delete;
};

// Makes every opening of the output fail while the object lives, as a sound
// card that has gone away would.
class RefusedOutputOpens
{
public:
    RefusedOutputOpens();
    ~RefusedOutputOpens();
    RefusedOutputOpens(const RefusedOutputOpens &) = delete;
    RefusedOutputOpens &operator=(const RefusedOutputOpens &) = delete;
};

// The next `frames` frames of the output, made at once.
Recording Pull(int frames);

// Pulls a hundredth of a second at a time while `goOn` holds, at most
// `limitSeconds` of sound.
Recording PullWhile(const std::function<bool()> &goOn, double limitSeconds = 30);
