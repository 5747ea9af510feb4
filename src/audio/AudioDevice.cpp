#include "AudioDevice.h"

#include "RegularFile.h"
#include "SoundLibraries.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>

namespace {

constexpr int OutputRate = 44100;
constexpr int OutputChannels = 2;
// About 23 ms per buffer: short enough that a step sounds with the move.
constexpr int BufferFrames = 1024;

// The output, shared by all its users. What the output's thread reads is
// changed only under the device's lock.
struct Output
{
    int users = 0;
    bool initialised = false; // SDL's sound part, from the first open on
    bool usable = false; // opened once, and not failed since: sounds may be handed to it
    SDL_AudioDeviceID id = 0; // 0 while resting or unusable
    SDL_AudioSpec obtained {}; // what the card gave when it first opened
    const std::uint8_t *effect = nullptr; // what is left of the sounding effect
    std::size_t effectLeft = 0;
    const AudioDevice *effectUser = nullptr; // who played it
    AudioDevice::MusicSource music = nullptr;
    void *musicData = nullptr;
    // When a rest last found something sounding; empty when nothing has
    // sounded since the device opened.
    std::optional<AudioDevice::Clock::time_point> lastHeard;
    // Closes a resting device: SDL waits for the device's thread to finish
    // its buffer, tens of milliseconds that the window must not stand still.
    std::jthread closer;
};
Output output;

// Once this returns, no device is being closed.
void Closed()
{
    if (output.closer.joinable()) {
        output.closer.join();
    }
}

// Called by SDL, on the output's thread, for every buffer it plays.
void SDLCALL Fill(void *, Uint8 *stream, int len)
{
    std::memset(stream, 0, std::size_t(len));
    // The music is written first and the effect is mixed in over it.
    if (output.music) {
        output.music(output.musicData, reinterpret_cast<std::int16_t *>(stream),
            len / int(sizeof(std::int16_t)) / output.obtained.channels);
    }
    if (output.effectLeft > 0) {
        const std::size_t n = std::min(output.effectLeft, std::size_t(len));
        LoadedSdl().SDL_MixAudioFormat(
            stream, output.effect, AUDIO_S16SYS, Uint32(n), SDL_MIX_MAXVOLUME);
        output.effect += n;
        output.effectLeft -= n;
    }
}

bool Open()
{
    // Without the sound library there is no device: the game is silent.
    const SdlLibrary *sdl = Sdl();
    if (!sdl) {
        return false;
    }
    // SDL would otherwise take over SIGINT and SIGTERM from the game.
    sdl->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl->SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    output.initialised = true;
    SDL_AudioSpec wanted {};
    wanted.freq = OutputRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = OutputChannels;
    wanted.samples = BufferFrames;
    wanted.callback = Fill;
    // A card that offers another rate or no stereo gets what it offers; the
    // sounds are made for it.
    output.id = sdl->SDL_OpenAudioDevice(nullptr, 0, &wanted, &output.obtained,
        SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (output.id == 0 || output.obtained.channels < 1) {
        if (output.id != 0) {
            sdl->SDL_CloseAudioDevice(output.id);
            output.id = 0;
        }
        return false;
    }
    output.usable = true;
    sdl->SDL_PauseAudioDevice(output.id, 0);
    return true;
}

// Opens the resting device again. The sounds were made for the format
// it had, so that format is asked for again; should the card now offer
// another, SDL converts. A device that cannot be opened again leaves the
// game silent, as one that never opened does.
bool Wake()
{
    if (!output.usable) {
        return false;
    }
    Closed();
    SDL_AudioSpec wanted = output.obtained;
    wanted.callback = Fill;
    wanted.userdata = nullptr;
    SDL_AudioSpec obtained {};
    output.id = LoadedSdl().SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (output.id == 0) {
        output.usable = false;
        return false;
    }
    output.lastHeard.reset();
    LoadedSdl().SDL_PauseAudioDevice(output.id, 0);
    return true;
}

void Close()
{
    Closed();
    if (output.id != 0) {
        LoadedSdl().SDL_CloseAudioDevice(output.id);
    }
    if (output.initialised) {
        LoadedSdl().SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    output = Output {};
}

// Holds the output's thread off while the object lives.
class Locked
{
public:
    Locked() { LoadedSdl().SDL_LockAudioDevice(output.id); }
    ~Locked() { LoadedSdl().SDL_UnlockAudioDevice(output.id); }
    Locked(const Locked &) = delete;
    Locked &operator=(const Locked &) = delete;
};

} // namespace

AudioDevice::AudioDevice()
{
    if (output.users++ == 0) {
        Open();
    }
}

AudioDevice::~AudioDevice()
{
    if (--output.users == 0) {
        Close();
    }
}

bool AudioDevice::Available() const
{
    return output.usable;
}

void AudioDevice::Rest(Clock::time_point now)
{
    if (output.id == 0) {
        return;
    }
    {
        Locked locked;
        if (output.music || output.effectLeft > 0) {
            output.lastHeard = now;
            return;
        }
    }
    if (output.lastHeard && now - *output.lastHeard < QuietBeforeRest) {
        return;
    }
    // SDL's thread ends with the device; the sound library stays loaded.
    Closed();
    output.closer = std::jthread([id = output.id] {
        LoadedSdl().SDL_CloseAudioDevice(id);
        AudioDevice::ThreadEnds();
    });
    output.id = 0;
    output.lastHeard.reset();
}

bool AudioDevice::IsOpen()
{
    return output.id != 0;
}

AudioDevice::Format AudioDevice::WantedFormat()
{
    return {OutputRate, OutputChannels};
}

AudioDevice::Format AudioDevice::OutputFormat()
{
    if (!output.usable) {
        return {};
    }
    return {output.obtained.freq, output.obtained.channels};
}

std::vector<std::uint8_t> AudioDevice::PrepareEffect(const std::uint8_t *wave, std::size_t size)
{
    if (!output.usable) {
        return {};
    }
    return ConvertEffect(wave, size, OutputFormat());
}

std::vector<std::uint8_t> AudioDevice::ConvertEffect(
    const std::uint8_t *wave, std::size_t size, Format format)
{
    std::vector<std::uint8_t> sound;
    if (!wave || size == 0 || size > std::size_t(INT32_MAX) || format.rate <= 0
        || format.channels < 1 || format.channels > 8) {
        return sound;
    }
    const SdlLibrary *library = Sdl();
    if (!library) {
        return sound;
    }
    const SdlLibrary &sdl = *library;
    SDL_AudioSpec source {}; // the sound's own format
    Uint8 *samples = nullptr;
    Uint32 length = 0;
    if (!sdl.SDL_LoadWAV_RW(
            sdl.SDL_RWFromConstMem(wave, int(size)), 1, &source, &samples, &length)) {
        return sound;
    }
    SDL_AudioCVT cvt {};
    const int built = sdl.SDL_BuildAudioCVT(&cvt, source.format, source.channels, source.freq,
        AUDIO_S16SYS, Uint8(format.channels), format.rate);
    // Whole frames only.
    const Uint32 frameBytes = Uint32(SDL_AUDIO_BITSIZE(source.format) / 8) * source.channels;
    if (built >= 0 && frameBytes > 0) {
        cvt.len = int(length - length % frameBytes);
        sound.assign(std::size_t(cvt.len) * std::size_t(std::max(1, cvt.len_mult)), 0);
        std::memcpy(sound.data(), samples, std::size_t(cvt.len));
        cvt.buf = sound.data();
        if (built == 0) {
            sound.resize(std::size_t(cvt.len)); // already in the output's format
        } else if (sdl.SDL_ConvertAudio(&cvt) == 0) {
            // The conversion needs room for its worst case, several times
            // the sound's length; what lies beyond the sound is given back.
            sound.resize(std::size_t(cvt.len_cvt));
            sound.shrink_to_fit();
        } else {
            sound.clear();
        }
    }
    sdl.SDL_FreeWAV(samples);
    return sound;
}

void AudioDevice::PlayEffect(Sound sound)
{
    if (output.id == 0 && (sound.empty() || !Wake())) {
        return;
    }
    Locked locked;
    output.effect = sound.data();
    output.effectLeft = sound.size();
    output.effectUser = this;
}

void AudioDevice::StopEffect()
{
    if (output.id == 0) {
        return;
    }
    Locked locked;
    output.effect = nullptr;
    output.effectLeft = 0;
    output.effectUser = nullptr;
}

void AudioDevice::StopOwnEffect()
{
    if (output.id == 0) {
        return;
    }
    Locked locked;
    if (output.effectUser == this) {
        output.effect = nullptr;
        output.effectLeft = 0;
        output.effectUser = nullptr;
    }
}

bool AudioDevice::EffectSounding()
{
    if (output.id == 0) {
        return false;
    }
    Locked locked;
    return output.effectLeft > 0;
}

void AudioDevice::SetMusic(MusicSource source, void *data)
{
    if (output.id == 0 && (!source || !Wake())) {
        return;
    }
    Locked locked;
    output.music = source;
    output.musicData = source ? data : nullptr;
}

bool AudioDevice::MusicPulled()
{
    if (output.id == 0) {
        return false;
    }
    Locked locked;
    return output.music != nullptr;
}

void AudioDevice::ThreadEnds()
{
    // Nothing to free where the library was never loaded.
    if (const SdlLibrary *sdl = SdlIfLoaded()) {
        sdl->SDL_TLSCleanup();
    }
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

bool AudioDevice::IsSoundFont(const char *file)
{
    // A RIFF file of the form "sfbk".
    const RegularFile font(file);
    char head[12] = {};
    return font.IsOpen() && font.ReadAt(0, head, sizeof head) && std::memcmp(head, "RIFF", 4) == 0
        && std::memcmp(head + 8, "sfbk", 4) == 0;
}
