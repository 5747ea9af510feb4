// The music over the real output and synthesiser, with the pieces the game
// ships.
#include "SdlMusic.h"
#include "AudioTestSupport.h"
#include "MidiFile.h"
#include "Music.h"
#include "TempDir.h"

#include <fluidsynth.h>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

const std::filesystem::path GameDir = TUMBLEWICK_GAME_DIR;

std::vector<std::filesystem::path> ShippedPieces()
{
    std::vector<std::filesystem::path> pieces;
    for (const auto &entry : std::filesystem::directory_iterator(GameDir)) {
        if (entry.path().extension() == ".mid") {
            pieces.push_back(entry.path());
        }
    }
    std::sort(pieces.begin(), pieces.end());
    return pieces;
}

std::string Bytes(const std::filesystem::path &file)
{
    return TempDir::Read(file);
}

} // namespace

TEST(SdlMusic, DamagedFilesDoNotOpen)
{
    AudioDriver driver("dummy");
    TempDir dir;
    const std::string piece = Bytes(GameDir / "lullaby.mid");
    ASSERT_GT(piece.size(), 100u);
    struct Case
    {
        const char *name;
        std::string bytes;
    };
    std::string badLength = piece;
    badLength[18] = char(0x7F); // first track claims far more bytes than there are
    for (const Case &c : {Case {"empty.mid", ""}, Case {"text.mid", "not music at all"},
             Case {"header.mid", piece.substr(0, 14)},
             Case {"half.mid", piece.substr(0, piece.size() / 2)},
             Case {"cut.mid", piece.substr(0, piece.size() - 1)}, Case {"length.mid", badLength}}) {
        SCOPED_TRACE(c.name);
        TempDir::Write(dir / c.name, c.bytes);
        SdlMusicDevice midi;
        EXPECT_FALSE(midi.Open((dir / c.name).string()));
        EXPECT_FALSE(midi.IsOpen());
        EXPECT_EQ(midi.Mode(), MusicMode::NotReady);
        midi.Play(); // nothing to play, and no harm
        EXPECT_FALSE(MusicPulled());
    }
    std::filesystem::create_directory(dir / "folder.mid");
    SdlMusicDevice midi;
    EXPECT_FALSE(midi.Open((dir / "folder.mid").string()));
    EXPECT_FALSE(midi.Open((dir / "missing.mid").string()));
}

TEST(SdlMusic, PlayStopAndCloseFollowTheDevice)
{
    AudioDriver driver("dummy");
    SdlMusicDevice midi;
    ASSERT_TRUE(midi.Open((GameDir / "starlight.mid").string()));
    EXPECT_EQ(midi.Mode(), MusicMode::Stopped);
    EXPECT_FALSE(midi.AtEnd());
    midi.Play();
    EXPECT_EQ(midi.Mode(), MusicMode::Playing);
    midi.Stop();
    EXPECT_EQ(midi.Mode(), MusicMode::Stopped);
    EXPECT_FALSE(midi.AtEnd()); // stopped in the middle, not at the end
    midi.Play();
    EXPECT_EQ(midi.Mode(), MusicMode::Playing);
    // Opening another piece closes the first.
    ASSERT_TRUE(midi.Open((GameDir / "lullaby.mid").string()));
    EXPECT_FALSE(MusicPulled());
    midi.Close();
    EXPECT_EQ(midi.Mode(), MusicMode::NotReady);
}

TEST(SdlMusic, TheSynthesiserLoadsAPieceOnlyToPlayIt)
{
    AudioDriver driver("dummy");
    SdlMusicDevice midi;
    ASSERT_TRUE(midi.Open((GameDir / "lullaby.mid").string()));
    EXPECT_FALSE(midi.Prepared()) << "opening only checks the piece";
    midi.Stop();
    midi.SeekToStart();
    EXPECT_FALSE(midi.Prepared());
    midi.Play();
    EXPECT_TRUE(midi.Prepared());
    EXPECT_EQ(midi.Mode(), MusicMode::Playing);
    midi.Close();
    EXPECT_FALSE(midi.Prepared());
    EXPECT_EQ(midi.Mode(), MusicMode::NotReady);
}

TEST(SdlMusic, NoAudioDeviceMeansNoMusicAndNoHarm)
{
    AudioDriver driver("no-such-driver");
    TempDir dir;
    std::filesystem::copy_file(GameDir / "lullaby.mid", dir / "lullaby.mid");
    MusicPlayer player(dir.Path().string() + "/");
    player.Discover();
    EXPECT_FALSE(player.MusicAvailable());
    player.KeepAlive(true);
    EXPECT_FALSE(player.MusicBtnClick(false));
    player.Close();
}

TEST(SdlMusic, DamagedPieceDoesNotStopTheMusicOrTheGame)
{
    AudioDriver driver("dummy");
    TempDir dir;
    TempDir::Write(dir / "a broken.mid", std::string("MThd\0\0\0\6garbage", 15));
    std::filesystem::copy_file(GameDir / "starlight.mid", dir / "b.mid");
    MusicPlayer player(dir.Path().string() + "/");
    player.Discover();
    ASSERT_TRUE(player.MusicAvailable());
    EXPECT_EQ(player.PieceName(), "b.mid");
    player.KeepAlive(true);
    EXPECT_TRUE(MusicPulled());
    EXPECT_FALSE(player.MusicBtnClick(true));
    EXPECT_FALSE(MusicPulled());
    // On again: the broken piece is passed over and b.mid plays once more.
    EXPECT_TRUE(player.MusicBtnClick(false));
    EXPECT_EQ(player.PieceName(), "b.mid");
    EXPECT_TRUE(MusicPulled());
    player.Close();
    EXPECT_FALSE(MusicPulled());
}

TEST(SdlMusic, OnlyASoundfontCountsAsOne)
{
    // The check reads a file's first bytes and nothing more: a named pipe
    // with no writer, a folder or a short file neither block nor pass.
    TempDir dir;
    TempDir::Write(dir / "short.sf2", "RIFF");
    TempDir::Write(dir / "other.sf2", std::string("RIFF\x04\0\0\0WAVEfmt ", 16));
    ASSERT_EQ(::mkfifo((dir / "pipe.sf2").c_str(), 0600), 0);
    for (const char *name : {"short.sf2", "other.sf2", "pipe.sf2", "missing.sf2", ""}) {
        EXPECT_FALSE(AudioDevice::IsSoundFont((dir / name).c_str())) << name;
    }
    EXPECT_FALSE(AudioDevice::IsSoundFont((GameDir / "lullaby.mid").c_str()));
    EXPECT_TRUE(AudioDevice::IsSoundFont(AudioDevice::SoundFont()));
}

TEST(ShippedMusic, EveryPieceSounds)
{
    const auto pieces = ShippedPieces();
    ASSERT_GE(pieces.size(), 3u);
    for (const auto &piece : pieces) {
        SCOPED_TRACE(piece.filename().string());
        AudioDriver driver("dummy");
        SdlMusicDevice midi;
        ASSERT_TRUE(midi.Open(piece.string()));
        midi.Play();
        EXPECT_EQ(midi.Mode(), MusicMode::Playing);
        // The first four seconds, as the synthesiser plays them through the
        // output with the game's soundfont.
        const Recording heard = Pull(4 * Recording::Rate);
        EXPECT_GT(heard.Peak(), 2000);
        EXPECT_GT(heard.SoundingSeconds(), 2.0);
        EXPECT_EQ(midi.Mode(), MusicMode::Playing);
    }
}

namespace {

// The first `frames` of a piece, played from its beginning on a device of
// its own.
Recording Beginning(const std::filesystem::path &piece, int frames)
{
    SdlMusicDevice midi;
    if (!midi.Open(piece.string())) {
        ADD_FAILURE() << "cannot open " << piece;
        return {};
    }
    midi.Play();
    return Pull(frames);
}

// How far apart two recordings' loudness runs, a fiftieth of a second at a
// time: 0 for the same, about 1 or more for unrelated sound.
double EnvelopeDifference(const Recording &a, const Recording &b)
{
    constexpr std::size_t Window = 2 * Recording::Rate / 50;
    double apart = 0, total = 0;
    for (std::size_t at = 0; at + Window <= std::min(a.samples.size(), b.samples.size());
         at += Window) {
        double ea = 0, eb = 0;
        for (std::size_t i = at; i < at + Window; ++i) {
            ea += std::abs(a.samples[i]);
            eb += std::abs(b.samples[i]);
        }
        apart += std::abs(ea - eb);
        total += eb;
    }
    return total > 0 ? apart / total : 0;
}

} // namespace

TEST(SdlMusic, AStoppedPieceIsSilentAndGoesOnWhereItStopped)
{
    AudioDriver driver("dummy");
    const auto piece = GameDir / "starlight.mid";
    constexpr int Rate = Recording::Rate;
    const Recording straight = Beginning(piece, 3 * Rate);
    ASSERT_GT(straight.Peak(), 2000);

    SdlMusicDevice midi;
    ASSERT_TRUE(midi.Open(piece.string()));
    midi.Play();
    Recording parts = Pull(Rate + 100);
    midi.Stop();
    EXPECT_EQ(Pull(Rate / 2).Peak(), 0) << "nothing sounds while stopped";
    EXPECT_EQ(midi.Mode(), MusicMode::Stopped);
    midi.Play();
    parts.Append(Pull(2 * Rate - 100));
    EXPECT_TRUE(parts.samples == straight.samples)
        << "the piece goes on from where it stopped, not a sample lost or repeated";

    // Rewound, it begins again; a rewound piece that was stopped stays silent
    // until played. The player keeps its time in whole milliseconds of the
    // synthesiser's clock, so a second beginning may differ from the first
    // by a fraction of a millisecond here and there, but it is the same
    // music: going on instead would be a different piece of it.
    midi.Stop();
    midi.SeekToStart();
    EXPECT_EQ(Pull(Rate / 4).Peak(), 0);
    midi.Play();
    EXPECT_LT(EnvelopeDifference(Pull(3 * Rate), straight), 0.1);
    EXPECT_GT(EnvelopeDifference(Pull(3 * Rate), straight), 0.3) << "the music went on";
    // Rewound while playing: the next play begins it again at once.
    midi.SeekToStart();
    midi.Play();
    EXPECT_LT(EnvelopeDifference(Pull(3 * Rate), straight), 0.1);
}

TEST(SdlMusic, AnOutputThatIsNotStereoGetsTheMusicToo)
{
    AudioDriver driver("dummy");
    const auto piece = GameDir / "lullaby.mid";
    constexpr int Frames = 2 * Recording::Rate;
    const Recording stereo = Beginning(piece, Frames);
    ASSERT_EQ(stereo.channels, 2);
    ASSERT_GT(stereo.Peak(), 2000);
    {
        // One channel: both sides mixed.
        ForcedOutputChannels forced(1);
        const Recording mono = Beginning(piece, Frames);
        ASSERT_EQ(mono.channels, 1);
        ASSERT_EQ(mono.samples.size(), std::size_t(Frames));
        int wrong = 0;
        for (std::size_t i = 0; i < mono.samples.size(); ++i) {
            const int mixed = (stereo.samples[2 * i] + stereo.samples[2 * i + 1]) / 2;
            wrong += mono.samples[i] != mixed;
        }
        EXPECT_EQ(wrong, 0);
    }
    {
        // Six channels: the music on the first two, the rest silent.
        ForcedOutputChannels forced(6);
        const Recording six = Beginning(piece, Frames);
        ASSERT_EQ(six.channels, 6);
        ASSERT_EQ(six.samples.size(), std::size_t(Frames) * 6);
        int wrong = 0;
        for (std::size_t i = 0; i < std::size_t(Frames); ++i) {
            wrong += six.samples[6 * i] != stereo.samples[2 * i];
            wrong += six.samples[6 * i + 1] != stereo.samples[2 * i + 1];
            for (std::size_t c = 2; c < 6; ++c) {
                wrong += six.samples[6 * i + c] != 0;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(ShippedMusic, TheGamesSynthesiserLosesNoNoteOfAnyPiece)
{
    // The game's synthesiser has fewer voices than FluidSynth's default and
    // reads instruments only when a piece selects them. For the shipped
    // pieces that must not be heard: a minute of each sounds sample for
    // sample as with the defaults.
    AudioDriver driver("dummy");
    for (const auto &piece : ShippedPieces()) {
        SCOPED_TRACE(piece.filename().string());
        constexpr int Frames = 60 * Recording::Rate;
        const Recording game = Beginning(piece, Frames);
        ASSERT_GT(game.Peak(), 2000);

        fluid_settings_t *settings = new_fluid_settings();
        fluid_settings_setnum(settings, "synth.sample-rate", Recording::Rate);
        fluid_synth_t *synth = new_fluid_synth(settings);
        ASSERT_NE(fluid_synth_sfload(synth, AudioDevice::SoundFont(), 1), FLUID_FAILED);
        fluid_synth_set_gain(synth, GameSynth.gain);
        fluid_player_t *player = new_fluid_player(synth);
        fluid_player_add(player, piece.c_str());
        fluid_player_set_loop(player, -1);
        fluid_player_play(player);
        std::vector<std::int16_t> full(std::size_t(Frames) * 2);
        fluid_synth_write_s16(synth, Frames, full.data(), 0, 2, full.data(), 1, 2);
        delete_fluid_player(player);
        delete_fluid_synth(synth);
        delete_fluid_settings(settings);

        EXPECT_TRUE(game.samples == full);
    }
}
