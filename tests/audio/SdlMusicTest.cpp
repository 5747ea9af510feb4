// The music over the real mixer and synthesiser, with the pieces the game
// ships.
#include "SdlMusic.h"
#include "AudioTestSupport.h"
#include "MidiFile.h"
#include "Music.h"
#include "TempDir.h"

#include <SDL_mixer.h>

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
        EXPECT_FALSE(Mix_PlayingMusic());
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
    EXPECT_FALSE(Mix_PlayingMusic());
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
    EXPECT_TRUE(Mix_PlayingMusic());
    EXPECT_FALSE(player.MusicBtnClick(true));
    EXPECT_FALSE(Mix_PlayingMusic());
    // On again: the broken piece is passed over and b.mid plays once more.
    EXPECT_TRUE(player.MusicBtnClick(false));
    EXPECT_EQ(player.PieceName(), "b.mid");
    EXPECT_TRUE(Mix_PlayingMusic());
    player.Close();
    EXPECT_FALSE(Mix_PlayingMusic());
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
        // mixer with the game's soundfont.
        const Recording heard = Pull(4 * Recording::Rate);
        EXPECT_GT(heard.Peak(), 2000);
        EXPECT_GT(heard.SoundingSeconds(), 2.0);
        EXPECT_EQ(midi.Mode(), MusicMode::Playing);
    }
}
