// The pieces the game ships, read back from the files the build wrote.
#include "MidiFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

const std::filesystem::path GameDir = TUMBLEWICK_GAME_DIR;

// Tracks: tempo and titles, melody, arpeggio, bass, pad (channels 0 to 3).
constexpr int BassChannel = 2;

} // namespace

TEST(ShippedMusic, PiecesAreCalmWholeAndLoopOnTheTonic)
{
    for (const char *name : {"greensleeves.mid", "lullaby.mid", "starlight.mid"}) {
        SCOPED_TRACE(name);
        const auto piece = ReadMidiFile((GameDir / name).string());
        ASSERT_TRUE(piece);
        EXPECT_EQ(piece->format, 1);
        EXPECT_EQ(piece->trackCount, 5);
        EXPECT_EQ(piece->division, 480);
        EXPECT_EQ(piece->unfinishedNotes, 0);

        // A calm tempo from the very first tick.
        ASSERT_FALSE(piece->tempos.empty());
        EXPECT_EQ(piece->tempos.front().tick, 0);
        for (const MidiTempo &tempo : piece->tempos) {
            const double perMinute = 60e6 / tempo.microsecondsPerQuarter;
            EXPECT_GE(perMinute, 45);
            EXPECT_LE(perMinute, 90);
        }
        const double seconds = piece->Seconds(piece->endTick);
        EXPECT_GE(seconds, 60);
        EXPECT_LE(seconds, 180);

        // No silence worth the name at either end: a note sounds from the
        // first tick, and the last ones sound until the piece ends.
        ASSERT_GT(piece->notes.size(), 200u);
        std::int64_t firstStart = piece->endTick, lastEnd = 0;
        for (const MidiNote &note : piece->notes) {
            firstStart = std::min(firstStart, note.startTick);
            lastEnd = std::max(lastEnd, note.endTick);
            EXPECT_GE(note.key, 28);
            EXPECT_LE(note.key, 100);
            EXPECT_LE(note.velocity, 100);
        }
        EXPECT_EQ(firstStart, 0);
        EXPECT_EQ(lastEnd, piece->endTick);

        // The piece closes on the chord it opens with, so that the loop
        // joins without a jolt: the last bass note is the first one.
        std::vector<MidiNote> bass;
        std::copy_if(piece->notes.begin(), piece->notes.end(), std::back_inserter(bass),
            [](const MidiNote &n) { return n.channel == BassChannel; });
        ASSERT_FALSE(bass.empty());
        const auto byStart
            = [](const MidiNote &a, const MidiNote &b) { return a.startTick < b.startTick; };
        const MidiNote first = *std::min_element(bass.begin(), bass.end(), byStart);
        const MidiNote last = *std::max_element(bass.begin(), bass.end(), byStart);
        EXPECT_EQ(first.key % 12, last.key % 12);
        EXPECT_EQ(last.endTick, piece->endTick);
    }
}

TEST(ShippedMusic, PiecesAreDifferentTunes)
{
    std::vector<std::vector<int>> openings;
    for (const char *name : {"greensleeves.mid", "lullaby.mid", "starlight.mid"}) {
        const auto piece = ReadMidiFile((GameDir / name).string());
        ASSERT_TRUE(piece);
        std::vector<MidiNote> melody;
        std::copy_if(piece->notes.begin(), piece->notes.end(), std::back_inserter(melody),
            [](const MidiNote &n) { return n.channel == 0; });
        std::sort(melody.begin(), melody.end(),
            [](const MidiNote &a, const MidiNote &b) { return a.startTick < b.startTick; });
        std::vector<int> keys;
        for (std::size_t i = 0; i < std::min<std::size_t>(12, melody.size()); ++i) {
            keys.push_back(melody[i].key);
        }
        openings.push_back(keys);
    }
    EXPECT_NE(openings[0], openings[1]);
    EXPECT_NE(openings[1], openings[2]);
    EXPECT_NE(openings[0], openings[2]);
}
