// What the sound loads, and when: SDL when the sound starts, FluidSynth only
// when music plays. A program of its own, linked with neither library, so
// that nothing but the game's own loader brings them in. A library once
// loaded stays, so each look runs in a fresh copy of the program.
#include "AudioDevice.h"
#include "AudioTestSupport.h"
#include "Effects.h"
#include "GameHost.h"
#include "Music.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <dlfcn.h>

namespace {

bool Loaded(const char *library)
{
    void *handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    if (handle) {
        dlclose(handle); // only the reference just taken
    }
    return handle != nullptr;
}

constexpr const char *Sdl = "libSDL2-2.0.so.0";
constexpr const char *FluidSynth = "libfluidsynth.so.3";

// The game's start-up with music off (the effects, the first piece found
// and opened, a while of ticks, an effect played), then music switched on.
// Returns what went wrong, or nothing.
std::string StartWithMusicOffThenSwitchOn()
{
    if (Loaded(Sdl) || Loaded(FluidSynth)) {
        return "a sound library was loaded before the sound started";
    }
    AudioDriver driver("dummy");
    SoundEffects effects;
    MusicPlayer music(std::string(TUMBLEWICK_GAME_DIR) + "/");
    music.Discover();
    if (!music.MusicAvailable()) {
        return "no piece opened";
    }
    for (int tick = 0; tick < 10; ++tick) {
        music.KeepAlive(false);
    }
    effects.PlayEffect(EffectStep, true);
    if (!Loaded(Sdl) || !AudioDevice::EffectSounding()) {
        return "the sound did not start";
    }
    if (Loaded(FluidSynth) || music.Prepared()) {
        return "music off loaded the synthesiser";
    }
    music.KeepAlive(true);
    if (!Loaded(FluidSynth) || !music.Prepared() || !AudioDevice::MusicPulled()) {
        return "music on did not play through the synthesiser";
    }
    return {};
}

// Runs `look` and ends the program with its answer on standard error.
[[noreturn]] void Answer(std::string (*look)())
{
    const std::string wrong = look();
    std::fputs(wrong.empty() ? "fine\n" : (wrong + "\n").c_str(), stderr);
    std::fflush(stderr);
    std::_Exit(wrong.empty() ? 0 : 1);
}

} // namespace

TEST(SoundLoading, TheSynthesiserIsLoadedOnlyWhenMusicPlays)
{
    // A fresh copy of this program, started anew rather than forked.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(Answer(StartWithMusicOffThenSwitchOn), testing::ExitedWithCode(0), "fine");
}
