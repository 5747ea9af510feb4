// The sound libraries (SDL, SDL_mixer, FluidSynth), loaded when the sound
// starts instead of with the program. Together with the fifty-odd libraries
// behind them they take as long to load as Qt itself does; loaded by the
// sound's own start-up, they stay off the way to the first picture, and a
// game with sound and music off never loads them at all.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

struct SoundLibraries
{
#define TUMBLEWICK_SOUND_FUNCTIONS(F)                                                              \
    F(SDL_InitSubSystem)                                                                           \
    F(SDL_QuitSubSystem)                                                                           \
    F(SDL_SetHint)                                                                                 \
    F(SDL_TLSCleanup)                                                                              \
    F(SDL_RWFromConstMem)                                                                          \
    F(SDL_realloc)                                                                                 \
    F(Mix_OpenAudio)                                                                               \
    F(Mix_CloseAudio)                                                                              \
    F(Mix_Quit)                                                                                    \
    F(Mix_QuerySpec)                                                                               \
    F(Mix_ReserveChannels)                                                                         \
    F(Mix_LoadWAV_RW)                                                                              \
    F(Mix_FreeChunk)                                                                               \
    F(Mix_PlayChannel)                                                                             \
    F(Mix_HaltChannel)                                                                             \
    F(Mix_HookMusic)                                                                               \
    F(fluid_set_log_function)                                                                      \
    F(fluid_is_soundfont)                                                                          \
    F(new_fluid_settings)                                                                          \
    F(delete_fluid_settings)                                                                       \
    F(fluid_settings_setint)                                                                       \
    F(fluid_settings_setnum)                                                                       \
    F(new_fluid_synth)                                                                             \
    F(delete_fluid_synth)                                                                          \
    F(fluid_synth_sfload)                                                                          \
    F(fluid_synth_set_gain)                                                                        \
    F(fluid_synth_system_reset)                                                                    \
    F(fluid_synth_write_s16)                                                                       \
    F(new_fluid_player)                                                                            \
    F(delete_fluid_player)                                                                         \
    F(fluid_player_add_mem)                                                                        \
    F(fluid_player_set_loop)                                                                       \
    F(fluid_player_play)                                                                           \
    F(fluid_player_stop)                                                                           \
    F(fluid_player_get_status)

#define TUMBLEWICK_SOUND_POINTER(name) decltype(&::name) name = nullptr;
    TUMBLEWICK_SOUND_FUNCTIONS(TUMBLEWICK_SOUND_POINTER)
#undef TUMBLEWICK_SOUND_POINTER
};

// The libraries, loaded by the first call (from any thread, once); null when
// one of them or one of their functions is missing: the game is silent then.
const SoundLibraries *Sound();

// The libraries if an earlier call loaded them, without loading them.
const SoundLibraries *SoundIfLoaded();

// The loaded libraries, for code that runs only once the audio device has
// opened (which loads them).
inline const SoundLibraries &Loaded()
{
    return *SoundIfLoaded();
}
