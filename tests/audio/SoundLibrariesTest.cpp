// The game loads SDL, SDL_mixer and FluidSynth itself when the sound starts.
#include "SoundLibraries.h"

#include <gtest/gtest.h>

TEST(SoundLibraries, EveryFunctionIsFoundInTheLibrariesTheTestsLinked)
{
    // A name missing from the libraries would leave the whole game silent
    // without a word; found, each is the very function a linked program
    // calls, so the game and the tests share one mixer.
    const SoundLibraries *sound = Sound();
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(SoundIfLoaded(), sound);
    EXPECT_EQ(sound->SDL_InitSubSystem, &::SDL_InitSubSystem);
    EXPECT_EQ(sound->Mix_OpenAudio, &::Mix_OpenAudio);
    EXPECT_EQ(sound->Mix_HookMusic, &::Mix_HookMusic);
    EXPECT_EQ(sound->fluid_synth_write_s16, &::fluid_synth_write_s16);
    EXPECT_EQ(sound->fluid_player_get_status, &::fluid_player_get_status);
    EXPECT_EQ(Sound(), sound) << "loaded once";
}
