#include "Effects.h"

#include "WaveImages.h"

#include "SoundLibraries.h"

SoundEffects::SoundEffects()
{
    if (!device_.Available()) {
        return;
    }
    for (std::size_t i = 0; i < waves_.size(); ++i) {
        const WaveImage image = WaveImages[i];
        if (image.empty()) {
            continue;
        }
        // The mixer converts each sound once to the output format here, so
        // that playing it later costs nothing.
        Mix_Chunk *wave = Loaded().Mix_LoadWAV_RW(
            Loaded().SDL_RWFromConstMem(image.data(), int(image.size())), 1);
        // The conversion leaves the sound in a buffer made for its worst
        // case, several times the sound's length; what lies beyond the sound
        // is given back.
        if (wave && wave->allocated && wave->alen > 0) {
            if (auto *exact = static_cast<Uint8 *>(Loaded().SDL_realloc(wave->abuf, wave->alen))) {
                wave->abuf = exact;
            }
        }
        waves_[i] = wave;
    }
}

SoundEffects::~SoundEffects()
{
    if (!device_.Available()) {
        return;
    }
    Loaded().Mix_HaltChannel(AudioDevice::EffectChannel);
    for (Mix_Chunk *wave : waves_) {
        if (wave) {
            Loaded().Mix_FreeChunk(wave);
        }
    }
}

void SoundEffects::PlayEffect(int n, bool soundOn)
{
    if (!soundOn || !device_.Available()) {
        return;
    }
    if (n == 0) {
        Loaded().Mix_HaltChannel(AudioDevice::EffectChannel);
        return;
    }
    if (n < 1 || n > int(waves_.size())) {
        return;
    }
    // Playing on the one reserved channel cuts off whatever still sounds
    // there. A sound that could not be prepared is skipped.
    if (Mix_Chunk *wave = waves_[std::size_t(n - 1)]) {
        Loaded().Mix_PlayChannel(AudioDevice::EffectChannel, wave, 0);
    }
}
