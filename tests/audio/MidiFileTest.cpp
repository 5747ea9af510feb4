#include "MidiFile.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Track(const Bytes &events)
{
    Bytes chunk
        = {'M', 'T', 'r', 'k', 0, 0, std::uint8_t(events.size() >> 8), std::uint8_t(events.size())};
    chunk.insert(chunk.end(), events.begin(), events.end());
    return chunk;
}

Bytes File(int format, std::vector<Bytes> tracks, int division = 96)
{
    Bytes file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, std::uint8_t(format), 0,
        std::uint8_t(tracks.size()), std::uint8_t(division >> 8), std::uint8_t(division)};
    for (const Bytes &t : tracks) {
        const Bytes chunk = Track(t);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

// Tempo 0x07A120 (120 a minute), a note C4 of one quarter, then with running
// status E4 of a half note ended by a note-on of velocity 0.
const Bytes Tune = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, // tempo
    0x00, 0x90, 60, 80, 0x60, 0x80, 60, 0, // C4
    0x00, 0x90, 64, 70, 0x81, 0x40, 64, 0, // E4, running status
    0x00, 0xFF, 0x2F, 0x00};

} // namespace

TEST(ReadMidiFile, ReadsNotesTempoAndLength)
{
    const auto piece = ReadMidiFile(File(0, {Tune}));
    ASSERT_TRUE(piece);
    ASSERT_EQ(piece->notes.size(), 2u);
    EXPECT_EQ(piece->notes[0].key, 60);
    EXPECT_EQ(piece->notes[0].endTick, 96);
    EXPECT_EQ(piece->notes[1].key, 64);
    EXPECT_EQ(piece->notes[1].startTick, 96);
    EXPECT_EQ(piece->notes[1].endTick, 96 + 192);
    EXPECT_EQ(piece->endTick, 288);
    EXPECT_DOUBLE_EQ(piece->Seconds(288), 1.5);
    EXPECT_EQ(piece->unfinishedNotes, 0);
}

TEST(ReadMidiFile, TempoChangesShapeTheSeconds)
{
    // 60 a minute from tick 96 on.
    const Bytes conductor = {0x60, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x60, 0xFF, 0x2F, 0x00};
    const Bytes notes = {0x00, 0x90, 60, 80, 0x81, 0x40, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00};
    const auto piece = ReadMidiFile(File(1, {conductor, notes}));
    ASSERT_TRUE(piece);
    EXPECT_DOUBLE_EQ(piece->Seconds(96), 0.5); // at the default 120
    EXPECT_DOUBLE_EQ(piece->Seconds(192), 1.5); // then at 60
    EXPECT_EQ(piece->endTick, 192);
}

TEST(ReadMidiFile, EveryCutOfAWholeFileIsRefused)
{
    const Bytes whole = File(0, {Tune});
    ASSERT_TRUE(ReadMidiFile(whole));
    for (std::size_t size = 0; size < whole.size(); ++size) {
        EXPECT_FALSE(ReadMidiFile(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(size))))
            << size;
    }
}

TEST(ReadMidiFile, DamagedOrUnusableFilesAreRefused)
{
    Bytes noEnd = Tune;
    noEnd.resize(noEnd.size() - 3);
    Bytes afterEnd = Tune;
    afterEnd.insert(afterEnd.end(), {0x00, 0x90, 60, 80});
    Bytes dataByte = Tune;
    dataByte[9] = 0xC8; // a data byte above 127 in a note
    const Bytes orphanRunning = {0x00, 60, 80, 0x00, 0xFF, 0x2F, 0x00};
    const Bytes longVlq = {0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x2F, 0x00};
    struct Case
    {
        const char *what;
        Bytes file;
    };
    for (const Case &c : {Case {"no end of track", File(0, {noEnd})},
             Case {"events after the end", File(0, {afterEnd})},
             Case {"data byte out of range", File(0, {dataByte})},
             Case {"running status without status", File(0, {orphanRunning})},
             Case {"five-byte length", File(0, {longVlq})}, Case {"no tracks", File(1, {})},
             Case {"format 0 with two tracks", File(0, {Tune, Tune})},
             Case {"format 2", File(2, {Tune})}, Case {"SMPTE timing", File(0, {Tune}, 0xE728)},
             Case {"zero division", File(0, {Tune}, 0)},
             Case {"not a MIDI file", Bytes {'R', 'I', 'F', 'F', 0, 0, 0, 0}}}) {
        EXPECT_FALSE(ReadMidiFile(c.file)) << c.what;
    }
}

TEST(ReadMidiFile, ForeignChunksAndSysExAreSkipped)
{
    Bytes file = File(0, {});
    file[11] = 1; // one track follows, after a chunk of another kind
    file.insert(file.end(), {'X', 'Y', 'Z', 'W', 0, 0, 0, 2, 0xAB, 0xCD});
    const Bytes events = {0x00, 0xF0, 0x03, 0x7E, 0x09, 0xF7, 0x00, 0x90, 60, 80, 0x10, 0x80, 60, 0,
        0x00, 0xFF, 0x2F, 0x00};
    const Bytes chunk = Track(events);
    file.insert(file.end(), chunk.begin(), chunk.end());
    const auto piece = ReadMidiFile(file);
    ASSERT_TRUE(piece);
    EXPECT_EQ(piece->notes.size(), 1u);
}
