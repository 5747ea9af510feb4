// The music device: FluidSynth plays the piece, and SDL_mixer pulls what it
// plays into the same output as the sound effects. An open piece is only
// checked; the synthesiser and its soundfont are loaded when the piece is
// first played, so that a game with music off never loads them.
#pragma once

#include "AudioDevice.h"
#include "Music.h"

#include <SDL_stdinc.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// How the synthesiser is set up for the game's pieces.
struct SynthChoice
{
    // Voices at once. The shipped pieces need at most about fifty, with
    // their notes' release; more voices would only cost memory.
    int polyphony = 64;
    // Only the instruments a piece selects are read from the soundfont.
    bool loadSamplesOnDemand = true;
    // As loud as the mixer's own MIDI player made the pieces.
    float gain = 1.2f;
};
inline constexpr SynthChoice GameSynth {};

class SdlMusicDevice : public MusicDevice
{
public:
    SdlMusicDevice();
    ~SdlMusicDevice() override;
    SdlMusicDevice(const SdlMusicDevice &) = delete;
    SdlMusicDevice &operator=(const SdlMusicDevice &) = delete;

    bool Open(const std::string &fileName) override;
    void Close() override;
    bool IsOpen() const override { return !fileName_.empty(); }
    MusicMode Mode() const override;
    bool AtEnd() const override;
    void SeekToStart() override;
    void Play() override;
    void Stop() override;

    // True once the synthesiser holds the open piece.
    bool Prepared() const override { return synth_ != nullptr; }

private:
    struct Synth;

    // Loads the synthesiser and the soundfont, once for the open piece.
    void Prepare();
    // Starts the open piece from its beginning.
    bool Start();
    // Lets the mixer pull the synthesiser's sound, or stops it.
    void Hook(bool on);
    // Called by the mixer, on its own thread, for every buffer it plays.
    static void SDLCALL Render(void *self, Uint8 *stream, int len);

    // Opened with the first piece, not before.
    std::optional<AudioDevice> device_;
    std::string fileName_; // the open piece
    std::vector<std::uint8_t> bytes_; // and its contents, as checked
    std::unique_ptr<Synth> synth_;
    int outputChannels_ = 2;
    std::vector<std::int16_t> stereo_; // for an output that is not stereo
    bool loadFailed_ = false; // tried once for this piece; not again
    bool started_ = false; // a play began since the piece was opened or rewound
    bool stopped_ = false; // stopped in the middle, to go on from there
    bool hooked_ = false; // the mixer is pulling the synthesiser's sound
};
