#include "Effects.h"

#include "WaveImages.h"

SoundEffects::SoundEffects()
{
    if (!device_.Available()) {
        return;
    }
    for (std::size_t i = 0; i < waves_.size(); ++i) {
        const WaveImage image = WaveImages[i];
        waves_[i] = AudioDevice::PrepareEffect(image.data(), image.size());
    }
}

SoundEffects::~SoundEffects()
{
    // A sound of ours must not go on sounding after it is freed; another
    // user's sound sounds on.
    for (const auto &wave : waves_) {
        device_.StopEffect(wave);
    }
}

void SoundEffects::PlayEffect(int n, bool soundOn)
{
    if (!soundOn || !device_.Available()) {
        return;
    }
    if (n == 0) {
        device_.StopEffect();
        return;
    }
    if (n < 1 || n > int(waves_.size())) {
        return;
    }
    // A new effect cuts off whatever still sounds. A sound that could not be
    // prepared is skipped.
    if (const auto &wave = waves_[std::size_t(n - 1)]; !wave.empty()) {
        device_.PlayEffect(wave);
    }
}
