// The music device over SDL_mixer, which plays MIDI through FluidSynth.
#pragma once

#include "AudioDevice.h"
#include "Music.h"

#include <SDL_mixer.h>

class SdlMusicDevice : public MusicDevice
{
public:
    SdlMusicDevice() = default;
    ~SdlMusicDevice() override;

    bool Open(const std::string &fileName) override;
    void Close() override;
    bool IsOpen() const override { return music_ != nullptr; }
    MusicMode Mode() const override;
    bool AtEnd() const override;
    void SeekToStart() override;
    void Play() override;
    void Stop() override;

private:
    AudioDevice device_;
    Mix_Music *music_ = nullptr;
    bool started_ = false; // a play began since the piece was opened or rewound
    bool stopped_ = false; // stopped in the middle, to go on from there
};
