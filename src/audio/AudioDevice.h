// The one audio output that the sound effects and the music share. The first
// user opens it, the last one closes it; without a sound card (or with SDL's
// dummy driver) it stays closed or plays into nothing, and every sound is
// then skipped without a word. While nothing sounds it may rest: the device
// closes, and with it SDL's thread, which would otherwise wake forty times a
// second to play silence; the next sound opens it again.
//
// The output mixes two things: the music, written by its source, and over
// it one sound effect at a time, as it was prepared (see PrepareEffect).
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

class AudioDevice
{
public:
    AudioDevice();
    ~AudioDevice();
    AudioDevice(const AudioDevice &) = delete;
    AudioDevice &operator=(const AudioDevice &) = delete;

    // True when the output has opened and sounds can be handed to it; a
    // resting output opens again for the next one.
    bool Available() const;

    // Lets the output rest once neither music nor an effect has sounded for
    // QuietBeforeRest, or at once when nothing has sounded since it opened.
    // Meant to be called now and then by whoever plays sounds; `now` is the
    // time of the call.
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration QuietBeforeRest = std::chrono::seconds(4);
    static void Rest(Clock::time_point now);

    // Signed 16-bit samples, `channels` of them to a frame (interleaved),
    // `rate` frames a second.
    struct Format
    {
        int rate = 0;
        int channels = 0;
        bool operator==(const Format &) const = default;
    };
    // The format the output asks the sound card for; a card may offer another.
    static Format WantedFormat();
    // The output's format, also while it rests; all zero while it is closed.
    static Format OutputFormat();

    // A sound effect in the output's format, ready to be mixed.
    using Sound = std::span<const std::uint8_t>;
    // A WAVE file's bytes as a sound in `format`, converted by the sound
    // library (which this loads when it must). Empty when the bytes cannot
    // be read or the library is missing.
    static std::vector<std::uint8_t> ConvertEffect(
        const std::uint8_t *wave, std::size_t size, Format format);
    // The same in the output's format, made once so that playing it costs
    // nothing. Empty while the output is closed.
    static std::vector<std::uint8_t> PrepareEffect(const std::uint8_t *wave, std::size_t size);
    // Plays a sound in the output's format; it cuts off the one still
    // sounding. The sound must outlive its playing (or be stopped first).
    void PlayEffect(Sound sound);
    void StopEffect();
    // Stops the sound effect if this user played it. Users may play the same
    // sounds; one that goes takes only its own with it.
    void StopOwnEffect();

    // Writes `frames` frames of the music over the silence in `out`; called
    // on the output's own thread.
    using MusicSource = void (*)(void *source, std::int16_t *out, int frames);
    // Lets the output pull `source`, or stops pulling (null). Once this
    // returns, the source before is not running and will not run again.
    void SetMusic(MusicSource source, void *data);

    // What the output is doing now: for the tests and for nobody else.
    // IsOpen is false while it rests.
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
