// The sound libraries, loaded when they are first needed instead of with the
// program: SDL when the sound starts, FluidSynth when music first plays.
// Together with the fifty-odd libraries behind them they take as long to
// load as Qt itself does; loaded by the sound's own start-up, they stay off
// the way to the first picture, and a game that never plays music never
// loads the synthesiser.
#pragma once

#include <SDL.h>
#include <fluidsynth.h>

struct SdlLibrary
{
#define TUMBLEWICK_SDL_FUNCTIONS(F)                                                                \
    F(SDL_InitSubSystem)                                                                           \
    F(SDL_QuitSubSystem)                                                                           \
    F(SDL_SetHint)                                                                                 \
    F(SDL_TLSCleanup)                                                                              \
    F(SDL_RWFromConstMem)                                                                          \
    F(SDL_LoadWAV_RW)                                                                              \
    F(SDL_FreeWAV)                                                                                 \
    F(SDL_BuildAudioCVT)                                                                           \
    F(SDL_ConvertAudio)                                                                            \
    F(SDL_MixAudioFormat)                                                                          \
    F(SDL_OpenAudioDevice)                                                                         \
    F(SDL_CloseAudioDevice)                                                                        \
    F(SDL_PauseAudioDevice)                                                                        \
    F(SDL_LockAudioDevice)                                                                         \
    F(SDL_UnlockAudioDevice)

#define TUMBLEWICK_SOUND_POINTER(name) decltype(&::name) name = nullptr;
    TUMBLEWICK_SDL_FUNCTIONS(TUMBLEWICK_SOUND_POINTER)
};

struct SynthLibrary
{
#define TUMBLEWICK_SYNTH_FUNCTIONS(F)                                                              \
    F(fluid_set_log_function)                                                                      \
    F(new_fluid_settings)                                                                          \
    F(delete_fluid_settings)                                                                       \
    F(fluid_settings_setint)                                                                       \
    F(fluid_settings_setnum)                                                                       \
    F(new_fluid_synth)                                                                             \
    F(delete_fluid_synth)                                                                          \
    F(fluid_synth_sfload)                                                                          \
    F(new_fluid_defsfloader)                                                                       \
    F(delete_fluid_sfloader)                                                                       \
    F(fluid_sfloader_set_callbacks)                                                                \
    F(fluid_synth_add_sfloader)                                                                    \
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

    TUMBLEWICK_SYNTH_FUNCTIONS(TUMBLEWICK_SOUND_POINTER)
#undef TUMBLEWICK_SOUND_POINTER
};

// SDL, loaded by the first call (from any thread, once); null when the
// library or one of its functions is missing: the game is silent then.
const SdlLibrary *Sdl();
// SDL if an earlier call loaded it, without loading it.
const SdlLibrary *SdlIfLoaded();
// SDL, for code that runs only once the audio device has opened (which
// loaded it).
inline const SdlLibrary &LoadedSdl()
{
    return *SdlIfLoaded();
}

// FluidSynth, likewise loaded by the first call; null when it is missing:
// the music is silent then. Once loaded, the synthesiser says nothing on
// standard error.
const SynthLibrary *Synthesiser();
// FluidSynth, for code that runs only once a synthesiser was made.
inline const SynthLibrary &LoadedSynth()
{
    return *Synthesiser();
}
