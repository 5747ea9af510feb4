#include "AudioDevice.h"

#include "SoundLibraries.h"

#include <filesystem>

namespace {

int users = 0;
bool mixerOpen = false;

constexpr int OutputRate = 44100;
constexpr int OutputChannels = 2;
// About 23 ms per buffer: short enough that a step sounds with the move.
constexpr int BufferFrames = 1024;

// The synthesiser behind the mixer writes a warning to standard error for
// every voice it cannot start: a piece with a few thousand notes at once
// makes that hundreds of megabytes a minute. The game reports nothing on
// standard error (a piece that cannot be played stays silent), so the
// synthesiser's messages are dropped, at every level.
void SilenceSynthesiser()
{
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        Loaded().fluid_set_log_function(level, nullptr, nullptr);
    }
}

bool Open()
{
    // Without the sound libraries there is no device: the game is silent.
    if (!Sound()) {
        return false;
    }
    SilenceSynthesiser();
    // SDL would otherwise take over SIGINT and SIGTERM from the game.
    Loaded().SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (Loaded().SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    // The mixer's own music players stay unloaded: the music is our own
    // synthesiser's, which the mixer only pulls.
    if (Loaded().Mix_OpenAudio(OutputRate, AUDIO_S16SYS, OutputChannels, BufferFrames) != 0) {
        Loaded().SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Loaded().Mix_ReserveChannels(AudioDevice::EffectChannel + 1);
    return true;
}

void Close()
{
    Loaded().Mix_HaltChannel(-1);
    Loaded().Mix_HookMusic(nullptr, nullptr);
    Loaded().Mix_CloseAudio();
    Loaded().Mix_Quit();
    Loaded().SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace

AudioDevice::AudioDevice()
{
    if (users++ == 0) {
        mixerOpen = Open();
    }
}

AudioDevice::~AudioDevice()
{
    if (--users == 0 && mixerOpen) {
        Close();
        mixerOpen = false;
    }
}

void AudioDevice::ThreadEnds()
{
    // Nothing to free where the libraries were never loaded.
    if (const SoundLibraries *sound = SoundIfLoaded()) {
        sound->SDL_TLSCleanup();
    }
}

bool AudioDevice::Available() const
{
    return mixerOpen;
}

const char *AudioDevice::SoundFont()
{
    // Debian's small General MIDI font; the larger default font is taken
    // only when the small one is missing.
    static const char *const fonts[] = {
        "/usr/share/sounds/sf2/TimGM6mb.sf2",
        "/usr/share/sounds/sf2/default-GM.sf2",
    };
    for (const char *font : fonts) {
        std::error_code error;
        if (std::filesystem::is_regular_file(font, error)) {
            return font;
        }
    }
    return fonts[0];
}
