// The five sound effects, kept in memory and played one at a time.
#pragma once

#include "AudioDevice.h"

#include <array>
#include <cstdint>
#include <vector>

class SoundEffects
{
public:
    // Opens the shared audio device and prepares the five sounds.
    SoundEffects();
    ~SoundEffects();
    SoundEffects(const SoundEffects &) = delete;
    SoundEffects &operator=(const SoundEffects &) = delete;

    // Effect n: 0 stops a sound still sounding, 1 to 5 play step, jump,
    // fall, level solved, teleport. Nothing happens while soundOn is false,
    // nor without an audio device. Returns at once; a new effect cuts off
    // the one still sounding.
    void PlayEffect(int n, bool soundOn);

    // False when no sound device could be opened: nothing can sound then.
    bool DeviceOpen() const { return device_.Available(); }

    // What effect n (1 to 5) plays: the sound made ready when the program was
    // built, or the one converted for this output.
    AudioDevice::Sound Sound(int n) const;

private:
    AudioDevice device_;
    // Each sound in the output's format; empty when it could not be made.
    std::array<AudioDevice::Sound, 5> waves_ {};
    // The sounds converted at start, for an output unlike the one the
    // program's ready sounds were made for.
    std::array<std::vector<std::uint8_t>, 5> converted_ {};
};
