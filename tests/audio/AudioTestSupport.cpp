#include "AudioTestSupport.h"

#include "AudioDevice.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

// The output's own function and its data, taken from the device it opened.
SDL_AudioCallback outputCallback = nullptr;
void *outputData = nullptr;
SDL_AudioDeviceID outputDevice = 0;
int outputChannels = 2;
int forcedChannels = 0; // 0: as the output asks
bool refused = false;

// What SDL's audio thread plays instead of the output: silence.
void SDLCALL Silence(void *, Uint8 *stream, int len)
{
    SDL_memset(stream, 0, std::size_t(len));
}

template <typename Function> Function Next(const char *name)
{
    void *symbol = dlsym(RTLD_NEXT, name);
    if (!symbol) {
        ADD_FAILURE() << name << " not found in SDL";
        std::abort();
    }
    return reinterpret_cast<Function>(symbol);
}

} // namespace

// These two stand in for SDL's own functions in this test program (which
// the game's loader finds first): the output calls them when it opens and
// closes its device. The device still opens through the chosen driver (or
// fails to), but its thread plays silence; the output's function is kept for
// the tests to pull from. So nothing a test checks depends on SDL's audio
// thread or on how fast it runs.
extern "C" SDL_AudioDeviceID SDL_OpenAudioDevice(const char *device, int iscapture,
    const SDL_AudioSpec *desired, SDL_AudioSpec *obtained, int allowedChanges)
{
    using Open
        = SDL_AudioDeviceID (*)(const char *, int, const SDL_AudioSpec *, SDL_AudioSpec *, int);
    static const Open open = Next<Open>("SDL_OpenAudioDevice");
    if (refused) {
        SDL_SetError("refused by the test");
        return 0;
    }
    SDL_AudioSpec silent = *desired;
    silent.callback = Silence;
    silent.userdata = nullptr;
    if (forcedChannels > 0 && !iscapture) {
        silent.channels = Uint8(forcedChannels);
        allowedChanges &= ~SDL_AUDIO_ALLOW_CHANNELS_CHANGE;
    }
    const SDL_AudioDeviceID id = open(device, iscapture, &silent, obtained, allowedChanges);
    if (id != 0 && !iscapture) {
        outputCallback = desired->callback;
        outputData = desired->userdata;
        outputDevice = id;
        outputChannels = obtained ? obtained->channels : silent.channels;
    }
    return id;
}

extern "C" void SDL_CloseAudioDevice(SDL_AudioDeviceID id)
{
    using Close = void (*)(SDL_AudioDeviceID);
    static const Close close = Next<Close>("SDL_CloseAudioDevice");
    if (id == outputDevice) {
        outputCallback = nullptr;
        outputData = nullptr;
        outputDevice = 0;
    }
    close(id);
}

bool OutputOpen()
{
    return AudioDevice::IsOpen();
}

bool MusicPulled()
{
    return AudioDevice::MusicPulled();
}

ForcedOutputChannels::ForcedOutputChannels(int channels)
{
    forcedChannels = channels;
}

ForcedOutputChannels::~ForcedOutputChannels()
{
    forcedChannels = 0;
}

RefusedOutputOpens::RefusedOutputOpens()
{
    refused = true;
}

RefusedOutputOpens::~RefusedOutputOpens()
{
    refused = false;
}

Recording Pull(int frames)
{
    Recording r;
    if (!outputCallback) {
        ADD_FAILURE() << "no output to pull from";
        return r;
    }
    r.channels = outputChannels;
    r.samples.resize(std::size_t(frames) * std::size_t(outputChannels));
    outputCallback(
        outputData, reinterpret_cast<Uint8 *>(r.samples.data()), int(r.samples.size() * 2));
    return r;
}

Recording PullWhile(const std::function<bool()> &goOn, double limitSeconds)
{
    constexpr int Slice = 441; // a hundredth of a second
    Recording all;
    all.channels = outputChannels;
    const auto limit = std::size_t(limitSeconds * Recording::Rate) * std::size_t(outputChannels);
    while (goOn() && all.samples.size() < limit) {
        const Recording slice = Pull(Slice);
        if (slice.samples.empty())
            break;
        all.Append(slice);
    }
    return all;
}
