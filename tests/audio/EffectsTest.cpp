#include "Effects.h"
#include "AudioTestSupport.h"
#include "GameHost.h"
#include "ReadyEffects.h"
#include "WaveImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>

namespace {

bool EffectSounding()
{
    return AudioDevice::EffectSounding();
}

// The output makes 16-bit stereo at 44100 Hz; the recordings assume it.
void ExpectRecordingFormat()
{
    const AudioDevice::Format format = AudioDevice::OutputFormat();
    ASSERT_EQ(format.rate, Recording::Rate);
    ASSERT_EQ(format.channels, 2);
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
        AudioDriver driver("dummy");
        SoundEffects effects;
        ExpectRecordingFormat();
        effects.PlayEffect(c.effect, true);
        EXPECT_TRUE(EffectSounding());
        const Recording heard = PullWhile(EffectSounding);
        EXPECT_FALSE(EffectSounding());
        // The channel ends within the hundredth of a second in which the
        // sound runs out.
        EXPECT_NEAR(heard.Seconds(), c.seconds, 0.015);
        EXPECT_GT(heard.Peak(), 8000);
        // The quiet start and end of a sound fall below the threshold.
        EXPECT_GT(heard.SoundingSeconds(), c.seconds * 0.4);
        EXPECT_LE(heard.SoundingSeconds(), c.seconds + 0.01);
        EXPECT_EQ(Pull(4410).Peak(), 0) << "silence afterwards";
    }
}

TEST(PlayEffect, NewEffectCutsOffTheOneStillSounding)
{
    AudioDriver driver("dummy");
    SoundEffects effects;
    ExpectRecordingFormat();
    effects.PlayEffect(EffectFall, true); // two seconds long
    Recording heard = Pull(Recording::Rate / 10);
    EXPECT_GT(heard.Peak(), 3000) << "the fall sounds";
    effects.PlayEffect(EffectStep, true);
    heard.Append(PullWhile(EffectSounding));
    // A tenth of a second of the fall, then the step of a quarter of a
    // second; had the fall gone on, the sound would span two seconds.
    EXPECT_NEAR(heard.Seconds(), 0.1 + 0.27, 0.015);
    EXPECT_EQ(Pull(Recording::Rate).Peak(), 0);
}

TEST(PlayEffect, EffectZeroStopsTheSound)
{
    AudioDriver driver("dummy");
    SoundEffects effects;
    effects.PlayEffect(EffectSolved, true);
    EXPECT_GT(Pull(Recording::Rate / 10).Peak(), 3000);
    ASSERT_TRUE(EffectSounding());
    effects.PlayEffect(0, true);
    EXPECT_FALSE(EffectSounding());
    EXPECT_EQ(Pull(Recording::Rate).Peak(), 0);
}

TEST(PlayEffect, SoundOffPlaysNothingAndLeavesASoundingEffectAlone)
{
    AudioDriver driver("dummy");
    SoundEffects effects;
    for (int n = 0; n <= 5; ++n) {
        effects.PlayEffect(n, false);
        EXPECT_FALSE(EffectSounding()) << n;
    }
    EXPECT_EQ(Pull(Recording::Rate).Peak(), 0);

    // Switching sound off does not stop an effect already sounding, and
    // effect 0 with sound off does nothing either.
    effects.PlayEffect(EffectFall, true);
    Recording heard = Pull(Recording::Rate / 10);
    effects.PlayEffect(0, false);
    effects.PlayEffect(EffectStep, false);
    EXPECT_TRUE(EffectSounding());
    heard.Append(PullWhile(EffectSounding));
    EXPECT_NEAR(heard.Seconds(), 2.04, 0.015) << "the fall sounds to its end";
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
        EXPECT_EQ(OutputOpen(), c.deviceOpens);
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
    // A user that goes takes its sound with it; the device stays open while
    // one user is left.
    EXPECT_FALSE(EffectSounding());
    first->PlayEffect(EffectJump, true);
    EXPECT_TRUE(EffectSounding());
    EXPECT_GT(Pull(Recording::Rate / 10).Peak(), 3000);
    // Another user coming and going leaves the sounding effect alone.
    std::make_unique<SoundEffects>().reset();
    EXPECT_TRUE(EffectSounding());
    first.reset();
    EXPECT_FALSE(OutputOpen());
}

TEST(PlayEffect, AnOutputWithoutStereoOrAtAnotherRateGetsEveryEffectWhole)
{
    // A card that offers one channel or six makes the sounds for those; each
    // still lasts as long as it does in stereo.
    for (int channels : {1, 6}) {
        SCOPED_TRACE(channels);
        AudioDriver driver("dummy");
        ForcedOutputChannels forced(channels);
        SoundEffects effects;
        ASSERT_EQ(AudioDevice::OutputFormat().channels, channels);
        effects.PlayEffect(EffectJump, true);
        const Recording heard = PullWhile(EffectSounding);
        EXPECT_EQ(heard.channels, channels);
        EXPECT_NEAR(heard.Seconds(), 0.55, 0.015);
        EXPECT_GT(heard.Peak(), 8000);
    }
}

// The sounds built into the program for the usual output are exactly what
// the output's conversion makes of the WAVE images, and that output plays
// them where they lie; another output gets its own conversion.
TEST(PlayEffect, TheUsualOutputPlaysTheSoundsMadeReadyWithTheProgram)
{
    ASSERT_EQ(AudioDevice::Format(ReadyEffectImages.rate, ReadyEffectImages.channels),
        AudioDevice::WantedFormat());
    for (std::size_t i = 0; i < WaveImages.size(); ++i) {
        SCOPED_TRACE(i);
        const std::vector<std::uint8_t> converted = AudioDevice::ConvertEffect(
            WaveImages[i].data(), WaveImages[i].size(), AudioDevice::WantedFormat());
        ASSERT_FALSE(converted.empty());
        EXPECT_TRUE(std::ranges::equal(converted, ReadyEffectImages.sounds[i]));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(ReadyEffectImages.sounds[i].data()) % 2, 0u)
            << "16-bit samples must lie on even addresses";
    }

    {
        AudioDriver driver("dummy");
        SoundEffects effects;
        ASSERT_EQ(AudioDevice::OutputFormat(), AudioDevice::WantedFormat());
        for (int n = 1; n <= 5; ++n)
            EXPECT_EQ(effects.Sound(n).data(), ReadyEffectImages.sounds[std::size_t(n - 1)].data());
    }
    {
        AudioDriver driver("dummy");
        ForcedOutputChannels mono(1);
        SoundEffects effects;
        for (int n = 1; n <= 5; ++n) {
            const auto ready = ReadyEffectImages.sounds[std::size_t(n - 1)];
            EXPECT_NE(effects.Sound(n).data(), ready.data());
            EXPECT_NEAR(double(effects.Sound(n).size()), ready.size() / 2.0, 4.0);
        }
    }
}

TEST(PlayEffect, ConvertingRefusesWhatCannotBeASound)
{
    const WaveImage step = WaveImages[0];
    EXPECT_TRUE(AudioDevice::ConvertEffect(nullptr, 100, AudioDevice::WantedFormat()).empty());
    EXPECT_TRUE(AudioDevice::ConvertEffect(step.data(), 40, AudioDevice::WantedFormat()).empty())
        << "a WAVE image cut short";
    EXPECT_TRUE(AudioDevice::ConvertEffect(step.data(), step.size(), {0, 2}).empty());
    EXPECT_TRUE(AudioDevice::ConvertEffect(step.data(), step.size(), {44100, 0}).empty());
}

// While nothing sounds the output rests: its device is closed, so SDL's
// thread no longer wakes to play silence. The next sound opens it again.
TEST(Rest, ASilentOutputRestsAndWakesInTheFormatItsSoundsWereMadeFor)
{
    AudioDriver driver("dummy");
    std::optional<ForcedOutputChannels> mono(1);
    SoundEffects effects;
    ASSERT_TRUE(OutputOpen());
    const AudioDevice::Format format = AudioDevice::OutputFormat();
    ASSERT_EQ(format.channels, 1);

    AudioDevice::Rest(AudioDevice::Clock::now());
    EXPECT_FALSE(OutputOpen()) << "nothing has sounded since it opened";
    EXPECT_TRUE(effects.DeviceOpen()) << "sounds may still be handed to it";
    EXPECT_EQ(AudioDevice::OutputFormat(), format);
    effects.PlayEffect(0, true);
    EXPECT_FALSE(OutputOpen()) << "stopping nothing wakes nothing";

    // The card would now give stereo; the sounds were made for one channel
    // and the output asks for that again.
    mono.reset();
    effects.PlayEffect(EffectJump, true);
    EXPECT_TRUE(OutputOpen());
    EXPECT_EQ(AudioDevice::OutputFormat(), format);
    const Recording heard = PullWhile(EffectSounding);
    EXPECT_EQ(heard.channels, 1);
    EXPECT_NEAR(heard.Seconds(), 0.55, 0.015);
    EXPECT_GT(heard.Peak(), 8000);
}

TEST(Rest, EverySoundAfterARestIsHeardWhole)
{
    // The device is closed beside the caller; a sound that comes meanwhile
    // waits for that and opens it anew.
    AudioDriver driver("dummy");
    SoundEffects effects;
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        AudioDevice::Rest(AudioDevice::Clock::now());
        ASSERT_FALSE(OutputOpen());
        effects.PlayEffect(EffectStep, true);
        ASSERT_TRUE(OutputOpen());
        const Recording heard = PullWhile(EffectSounding);
        EXPECT_NEAR(heard.Seconds(), 0.27, 0.015);
        EXPECT_GT(heard.Peak(), 8000);
    }
}

TEST(Rest, NotWhileSomethingSoundsNorSoonAfter)
{
    using namespace std::chrono_literals;
    AudioDriver driver("dummy");
    SoundEffects effects;
    AudioDevice music;
    const AudioDevice::Clock::time_point t0 {};
    const auto quiet = AudioDevice::QuietBeforeRest;

    effects.PlayEffect(EffectStep, true);
    AudioDevice::Rest(t0);
    EXPECT_TRUE(OutputOpen()) << "the step sounds";
    PullWhile(EffectSounding);
    AudioDevice::Rest(t0 + quiet - 1ms);
    EXPECT_TRUE(OutputOpen()) << "a next step may follow soon";
    AudioDevice::Rest(t0 + quiet);
    EXPECT_FALSE(OutputOpen());

    // Music keeps it awake however long it plays, even silent music.
    music.SetMusic([](void *, std::int16_t *, int) {}, nullptr);
    EXPECT_TRUE(OutputOpen()) << "the music opens it";
    EXPECT_TRUE(MusicPulled());
    AudioDevice::Rest(t0 + 1h);
    EXPECT_TRUE(OutputOpen());
    music.SetMusic(nullptr, nullptr);
    AudioDevice::Rest(t0 + 1h + quiet - 1ms);
    EXPECT_TRUE(OutputOpen());
    AudioDevice::Rest(t0 + 1h + quiet);
    EXPECT_FALSE(OutputOpen());
    music.SetMusic(nullptr, nullptr);
    EXPECT_FALSE(OutputOpen()) << "no music to stop wakes nothing";
}

TEST(Rest, AnOutputThatCannotOpenAgainLeavesTheGameSilent)
{
    AudioDriver driver("dummy");
    SoundEffects effects;
    AudioDevice music;
    AudioDevice::Rest(AudioDevice::Clock::now());
    ASSERT_FALSE(OutputOpen());
    {
        RefusedOutputOpens gone;
        effects.PlayEffect(EffectStep, true);
        EXPECT_FALSE(EffectSounding());
        EXPECT_FALSE(effects.DeviceOpen());
        music.SetMusic([](void *, std::int16_t *, int) {}, nullptr);
        EXPECT_FALSE(MusicPulled());
    }
    // It is not tried again on every sound: the game stays silent.
    effects.PlayEffect(EffectStep, true);
    EXPECT_FALSE(OutputOpen());
}
