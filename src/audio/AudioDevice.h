// The one audio output that the sound effects and the music share. The first
// user opens it, the last one closes it; without a sound card (or with SDL's
// dummy driver) it stays closed or plays into nothing, and every sound is
// then skipped without a word.
#pragma once

class AudioDevice
{
public:
    AudioDevice();
    ~AudioDevice();
    AudioDevice(const AudioDevice &) = delete;
    AudioDevice &operator=(const AudioDevice &) = delete;

    // True when the mixer is open and sounds can be handed to it.
    bool Available() const;

    // The channel reserved for the sound effects, so that one effect cuts
    // off the one before it.
    static constexpr int EffectChannel = 0;

    // The General MIDI soundfont the music is played with.
    static const char *SoundFont();

    // Frees what SDL keeps for the calling thread (its error text, among
    // others). A thread of our own that opened the device calls this last:
    // SDL frees it by itself only for the threads it made.
    static void ThreadEnds();
};
