// The one audio output that the sound effects and the music share. The first
// user opens it, the last one closes it; without a sound card (or with SDL's
// dummy driver) it stays closed or plays into nothing, and every sound is
// then skipped without a word.
//
// The output mixes two things: the music, written by its source, and over
// it one sound effect at a time, as it was prepared (see PrepareEffect).
#pragma once

#include <cstdint>
#include <vector>

class AudioDevice
{
public:
    AudioDevice();
    ~AudioDevice();
    AudioDevice(const AudioDevice &) = delete;
    AudioDevice &operator=(const AudioDevice &) = delete;

    // True when the output is open and sounds can be handed to it.
    bool Available() const;

    // Signed 16-bit samples, `channels` of them to a frame (interleaved),
    // `rate` frames a second.
    struct Format
    {
        int rate = 0;
        int channels = 0;
    };
    // The open output's format; all zero while it is closed.
    static Format OutputFormat();

    // A sound in the output's format, made from a WAVE file's bytes once, so
    // that playing it costs nothing. Empty when the bytes cannot be read or
    // the output is closed.
    static std::vector<std::uint8_t> PrepareEffect(const std::uint8_t *wave, std::size_t size);
    // Plays a prepared sound; it cuts off the one still sounding. The sound
    // must outlive its playing (or be stopped first).
    void PlayEffect(const std::vector<std::uint8_t> &sound);
    void StopEffect();
    // Stops the sound effect if it is playing from `sound`.
    void StopEffect(const std::vector<std::uint8_t> &sound);

    // Writes `frames` frames of the music over the silence in `out`; called
    // on the output's own thread.
    using MusicSource = void (*)(void *source, std::int16_t *out, int frames);
    // Lets the output pull `source`, or stops pulling (null). Once this
    // returns, the source before is not running and will not run again.
    void SetMusic(MusicSource source, void *data);

    // What the output is doing now: for the tests and for nobody else.
    static bool IsOpen();
    static bool EffectSounding();
    static bool MusicPulled();

    // The General MIDI soundfont the music is played with.
    static const char *SoundFont();
    // True when `file` starts as a soundfont does.
    static bool IsSoundFont(const char *file);

    // Frees what SDL keeps for the calling thread (its error text, among
    // others). A thread of our own that opened the device calls this last:
    // SDL frees it by itself only for the threads it made.
    static void ThreadEnds();
};
