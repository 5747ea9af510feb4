#include "Effects.h"
#include "AudioTestSupport.h"
#include "GameHost.h"
#include "TempDir.h"

#include <SDL_mixer.h>

#include <gtest/gtest.h>

namespace {

bool EffectSounding()
{
    return Mix_Playing(AudioDevice::EffectChannel) != 0;
}

// The mixer writes 16-bit stereo at 44100 Hz; the recordings assume it.
void ExpectRecordingFormat()
{
    int rate = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_TRUE(Mix_QuerySpec(&rate, &format, &channels));
    ASSERT_EQ(rate, 44100);
    ASSERT_EQ(format, AUDIO_S16SYS);
    ASSERT_EQ(channels, 2);
}

} // namespace

TEST(PlayEffect, EveryEffectIsHeardWithItsLength)
{
    struct Case
    {
        int effect;
        double seconds;
    };
    for (Case c : {Case {EffectStep, 0.27}, Case {EffectJump, 0.55}, Case {EffectFall, 2.04},
             Case {EffectSolved, 3.16}, Case {EffectTeleport, 0.62}}) {
        SCOPED_TRACE(c.effect);
        TempDir dir;
        const auto out = dir / "out.raw";
        {
            AudioDriver driver("disk", out, 4); // faster than real time
            SoundEffects effects;
            ExpectRecordingFormat();
            effects.PlayEffect(c.effect, true);
            EXPECT_TRUE(EffectSounding());
            ASSERT_TRUE(WaitUntil([] { return !EffectSounding(); }));
        }
        const Recording heard = Recording::Read(out);
        EXPECT_GT(heard.Peak(), 8000);
        // The quiet start and end of a sound fall below the threshold.
        EXPECT_GT(heard.SoundingSeconds(), c.seconds * 0.4);
        EXPECT_LE(heard.SoundingSeconds(), c.seconds + 0.01);
    }
}

TEST(PlayEffect, NewEffectCutsOffTheOneStillSounding)
{
    TempDir dir;
    const auto out = dir / "out.raw";
    {
        AudioDriver driver("disk", out); // real time
        SoundEffects effects;
        ExpectRecordingFormat();
        effects.PlayEffect(EffectFall, true); // two seconds long
        effects.PlayEffect(EffectStep, true);
        ASSERT_TRUE(WaitUntil([] { return !EffectSounding(); }));
    }
    const Recording heard = Recording::Read(out);
    EXPECT_GT(heard.Peak(), 3000);
    // The step is a quarter of a second; had the fall gone on, the sound
    // would span two seconds.
    EXPECT_LT(heard.SoundingSeconds(), 1.2);
}

TEST(PlayEffect, EffectZeroStopsTheSound)
{
    AudioDriver driver("dummy");
    SoundEffects effects;
    effects.PlayEffect(EffectSolved, true);
    ASSERT_TRUE(EffectSounding());
    effects.PlayEffect(0, true);
    EXPECT_FALSE(EffectSounding());
}

TEST(PlayEffect, SoundOffStaysSilent)
{
    TempDir dir;
    const auto out = dir / "out.raw";
    {
        AudioDriver driver("disk", out, 4);
        SoundEffects effects;
        for (int n = 1; n <= 5; ++n) {
            effects.PlayEffect(n, false);
            EXPECT_FALSE(EffectSounding()) << n;
        }
        // Switching sound off does not stop an effect already sounding, and
        // effect 0 with sound off does nothing either.
        effects.PlayEffect(EffectFall, true);
        effects.PlayEffect(0, false);
        EXPECT_TRUE(EffectSounding());
        effects.PlayEffect(0, true);
    }
    const Recording heard = Recording::Read(out);
    EXPECT_LT(heard.SoundingSeconds(), 1.0);
}

TEST(PlayEffect, SoundOffWritesNothing)
{
    TempDir dir;
    const auto out = dir / "out.raw";
    {
        AudioDriver driver("disk", out, 4);
        SoundEffects effects;
        for (int n = 0; n <= 5; ++n) {
            effects.PlayEffect(n, false);
        }
        // Let the driver write some buffers: all of them silence.
        ASSERT_TRUE(WaitUntil([&] {
            std::error_code error;
            const auto size = std::filesystem::file_size(out, error);
            return !error && size > 44100;
        }));
    }
    EXPECT_EQ(Recording::Read(out).Peak(), 0);
}

TEST(PlayEffect, WithoutAudioDeviceNothingHappens)
{
    struct Case
    {
        const char *driver;
        bool deviceOpens;
    };
    for (Case c : {Case {"no-such-driver", false}, Case {"dummy", true}}) {
        SCOPED_TRACE(c.driver);
        AudioDriver chosen(c.driver);
        SoundEffects effects;
        EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr) != 0, c.deviceOpens);
        for (int n : {-1, 6, 99}) {
            effects.PlayEffect(n, true);
            EXPECT_FALSE(EffectSounding()) << n;
        }
        // The dummy driver plays into nothing; without a device the effect
        // is skipped.
        effects.PlayEffect(EffectTeleport, true);
        EXPECT_EQ(EffectSounding(), c.deviceOpens);
    }
}

TEST(PlayEffect, EffectsAndMusicShareOneDevice)
{
    AudioDriver driver("dummy");
    auto first = std::make_unique<SoundEffects>();
    {
        SoundEffects second;
        second.PlayEffect(EffectStep, true);
        EXPECT_TRUE(EffectSounding());
    }
    // The device stays open while one user is left.
    first->PlayEffect(EffectJump, true);
    EXPECT_TRUE(EffectSounding());
    first.reset();
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0);
}
