// The music device: FluidSynth plays the piece into the same output as the
// sound effects. An open piece is only checked; the synthesiser, its library
// and its soundfont are loaded when the piece is first played, so that a
// game with music off never loads them.
#pragma once

#include "AudioDevice.h"
#include "Music.h"
#include "SoundFontCut.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <fluidsynth/types.h>

// How the synthesiser is set up for the game's pieces.
struct SynthChoice
{
    // Voices at once. The shipped pieces need at most about fifty, with
    // their notes' release; more voices would only cost memory.
    int polyphony = 64;
    // Only the instruments a piece selects are read from the soundfont.
    bool loadSamplesOnDemand = true;
    // As loud as SDL_mixer's own MIDI player made the pieces.
    float gain = 1.2f;
};
inline constexpr SynthChoice GameSynth {};

// Loads `cut` into `synth`, reading it through a soundfont loader of its
// own; the cut must outlive the synthesiser, which reads its samples when a
// piece selects them. False when FluidSynth does not take it.
bool LoadCutSoundFont(fluid_synth_t *synth, fluid_settings_t *settings, const SoundFontCut &cut);

// Loads the synthesiser's library ahead of the first play, which would
// otherwise load it; false when it is missing.
bool LoadSynthesiserLibrary();

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
    // Loads the soundfont into the synthesiser, cut to the piece's programs
    // where it can be; false when not even the whole font loads.
    bool LoadSoundFont(Synth &synth) const;
    // Starts the open piece from its beginning.
    bool Start();
    // Lets the output pull the synthesiser's sound, or stops it.
    void Hook(bool on);
    // Called by the output, on its own thread, for every buffer it plays.
    static void Render(void *self, std::int16_t *out, int frames);

    // Opened with the first piece, not before.
    std::optional<AudioDevice> device_;
    std::string fileName_; // the open piece
    std::vector<std::uint8_t> bytes_; // and its contents, as checked
    ProgramSet programs_; // the instruments it can select
    std::unique_ptr<Synth> synth_;
    int outputChannels_ = 2;
    std::vector<std::int16_t> stereo_; // for an output that is not stereo
    bool loadFailed_ = false; // tried once for this piece; not again
    bool started_ = false; // a play began since the piece was opened or rewound
    bool stopped_ = false; // stopped in the middle, to go on from there
    bool hooked_ = false; // the output is pulling the synthesiser's sound
};
