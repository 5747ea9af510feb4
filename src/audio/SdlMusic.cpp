#include "SdlMusic.h"

#include "MidiFile.h"

#include <SDL_mixer.h>
#include <fluidsynth.h>

SdlMusicDevice::~SdlMusicDevice()
{
    Close();
}

bool SdlMusicDevice::Open(const std::string &fileName)
{
    Close();
    if (!device_) {
        device_.emplace();
    }
    if (!device_->Available()) {
        return false;
    }
    // The synthesiser accepts a damaged file and then plays nothing; our own
    // reader turns such a file away first. Without a soundfont nothing could
    // sound; its header is all that is read here.
    if (!ReadMidiFile(fileName) || !fluid_is_soundfont(AudioDevice::SoundFont())) {
        return false;
    }
    fileName_ = fileName;
    return true;
}

void SdlMusicDevice::Prepare()
{
    if (fileName_.empty() || music_ || loadFailed_) {
        return;
    }
    music_ = Mix_LoadMUS(fileName_.c_str());
    // A piece the synthesiser refuses stays silent; it is not tried again on
    // every tick.
    loadFailed_ = music_ == nullptr;
}

void SdlMusicDevice::Close()
{
    if (music_) {
        Mix_HaltMusic();
        Mix_FreeMusic(music_);
        music_ = nullptr;
    }
    fileName_.clear();
    loadFailed_ = false;
    started_ = false;
    stopped_ = false;
}

MusicMode SdlMusicDevice::Mode() const
{
    if (fileName_.empty()) {
        return MusicMode::NotReady;
    }
    return (music_ && Mix_PlayingMusic() && !Mix_PausedMusic()) ? MusicMode::Playing
                                                                : MusicMode::Stopped;
}

bool SdlMusicDevice::AtEnd() const
{
    return music_ && started_ && !stopped_ && !Mix_PlayingMusic();
}

void SdlMusicDevice::SeekToStart()
{
    if (stopped_) {
        Mix_HaltMusic();
    }
    started_ = false;
    stopped_ = false;
}

void SdlMusicDevice::Play()
{
    Prepare();
    if (!music_) {
        return;
    }
    if (stopped_) {
        Mix_ResumeMusic();
        stopped_ = false;
        return;
    }
    if (started_ && Mix_PlayingMusic()) {
        return;
    }
    // The synthesiser repeats the piece by itself, without the pause of two
    // to three seconds after which the mixer would report its end. A piece
    // that stops all the same is started again by the caller.
    if (Mix_PlayMusic(music_, -1) == 0) {
        started_ = true;
    }
}

void SdlMusicDevice::Stop()
{
    if (music_ && started_ && !stopped_ && Mix_PlayingMusic()) {
        Mix_PauseMusic();
        stopped_ = true;
    }
}
