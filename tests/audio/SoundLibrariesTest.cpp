// The game loads SDL when the sound starts, and FluidSynth when music first
// plays.
#include "SoundLibraries.h"

#include <gtest/gtest.h>

TEST(SoundLibraries, EveryFunctionIsTheOneTheTestsLinked)
{
    // A name missing from the libraries would leave the whole game silent
    // without a word; found, each is the very function a linked program
    // calls, so the game and the tests share one SDL.
    const SdlLibrary *sdl = Sdl();
    ASSERT_NE(sdl, nullptr);
    EXPECT_EQ(SdlIfLoaded(), sdl);
    EXPECT_EQ(sdl->SDL_InitSubSystem, &::SDL_InitSubSystem);
    EXPECT_EQ(sdl->SDL_MixAudioFormat, &::SDL_MixAudioFormat);
    EXPECT_EQ(Sdl(), sdl) << "loaded once";

    const SynthLibrary *synth = Synthesiser();
    ASSERT_NE(synth, nullptr);
    EXPECT_EQ(synth->fluid_synth_write_s16, &::fluid_synth_write_s16);
    EXPECT_EQ(synth->fluid_player_get_status, &::fluid_player_get_status);
    EXPECT_EQ(Synthesiser(), synth) << "loaded once";
}
