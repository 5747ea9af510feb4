#include "Effects.h"

#include "ReadyEffects.h"
#include "WaveImages.h"

SoundEffects::SoundEffects()
{
    if (!device_.Available()) {
        return;
    }
    // The usual output plays the sounds made ready with the program; any
    // other gets them converted for it.
    const bool ready = AudioDevice::OutputFormat()
        == AudioDevice::Format {ReadyEffectImages.rate, ReadyEffectImages.channels};
    for (std::size_t i = 0; i < waves_.size(); ++i) {
        if (ready && !ReadyEffectImages.sounds[i].empty()) {
            waves_[i] = ReadyEffectImages.sounds[i];
            continue;
        }
        const WaveImage image = WaveImages[i];
        converted_[i] = AudioDevice::PrepareEffect(image.data(), image.size());
        waves_[i] = converted_[i];
    }
}

AudioDevice::Sound SoundEffects::Sound(int n) const
{
    if (n < 1 || n > int(waves_.size())) {
        return {};
    }
    return waves_[std::size_t(n - 1)];
}

SoundEffects::~SoundEffects()
{
    // A sound of ours must not go on sounding after it is freed; another
    // user's sound sounds on.
    device_.StopOwnEffect();
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
    // A new effect cuts off whatever still sounds. A sound that could not be
    // prepared, or an effect that does not exist, is skipped.
    if (const AudioDevice::Sound wave = Sound(n); !wave.empty()) {
        device_.PlayEffect(wave);
    }
}
