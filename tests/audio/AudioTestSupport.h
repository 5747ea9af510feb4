// Helpers for tests that run SDL's audio: the driver is chosen through the
// environment before the device opens, and what the disk driver wrote is read
// back as 16-bit stereo samples.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// Chooses SDL's audio driver for the life of the object. "disk" writes all
// that is played to `file`; delayMs sets how long the driver waits per buffer
// (unset: as long as the buffer lasts, real time).
class AudioDriver
{
public:
    explicit AudioDriver(
        const char *driver, const std::filesystem::path &file = {}, int delayMs = -1)
    {
        setenv("SDL_AUDIODRIVER", driver, 1);
        if (!file.empty()) {
            setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
        }
        if (delayMs >= 0) {
            setenv("SDL_DISKAUDIODELAY", std::to_string(delayMs).c_str(), 1);
        } else {
            unsetenv("SDL_DISKAUDIODELAY");
        }
    }
    ~AudioDriver()
    {
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
        unsetenv("SDL_DISKAUDIODELAY");
    }
    AudioDriver(const AudioDriver &) = delete;
    AudioDriver &operator=(const AudioDriver &) = delete;
};

// Polls until `done` holds; false when it still does not after `limit`.
// Audio runs on its own thread, so a test waits for an outcome, never for a
// fixed time.
inline bool WaitUntil(
    const std::function<bool()> &done, std::chrono::milliseconds limit = std::chrono::seconds(20))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// The disk driver's output: interleaved 16-bit stereo at 44100 frames a second.
struct Recording
{
    std::vector<std::int16_t> samples;

    static Recording Read(const std::filesystem::path &file)
    {
        Recording r;
        std::ifstream in(file, std::ios::binary);
        std::vector<char> bytes {std::istreambuf_iterator<char>(in), {}};
        r.samples.resize(bytes.size() / 2);
        for (std::size_t i = 0; i < r.samples.size(); ++i) {
            const auto low = std::uint16_t(std::uint8_t(bytes[2 * i]));
            const auto high = std::uint16_t(std::uint8_t(bytes[2 * i + 1]));
            r.samples[i] = std::int16_t(std::uint16_t(low | (high << 8)));
        }
        return r;
    }

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
        return first > last ? 0.0 : double(last - first + 1) / 2 / 44100;
    }
};
