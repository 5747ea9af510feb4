// The music device over SDL_mixer, which plays MIDI through FluidSynth. An
// open piece is only checked; the synthesiser and its soundfont are loaded
// when the piece is first played, so that a game with music off never loads
// them.
#pragma once

#include "AudioDevice.h"
#include "Music.h"

#include <SDL_mixer.h>

#include <optional>
#include <string>

class SdlMusicDevice : public MusicDevice
{
public:
    SdlMusicDevice() = default;
    ~SdlMusicDevice() override;

    bool Open(const std::string &fileName) override;
    void Close() override;
    bool IsOpen() const override { return !fileName_.empty(); }
    MusicMode Mode() const override;
    bool AtEnd() const override;
    void SeekToStart() override;
    void Play() override;
    void Stop() override;

    // True once the synthesiser holds the open piece.
    bool Prepared() const override { return music_ != nullptr; }

private:
    // Loads the open piece into the synthesiser, once.
    void Prepare();

    // Opened with the first piece, not before.
    std::optional<AudioDevice> device_;
    std::string fileName_; // the open piece
    Mix_Music *music_ = nullptr;
    bool loadFailed_ = false; // tried once for this piece; not again
    bool started_ = false; // a play began since the piece was opened or rewound
    bool stopped_ = false; // stopped in the middle, to go on from there
};
