#include "MidiFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Track(const Bytes &events)
{
    Bytes chunk
        = {'M', 'T', 'r', 'k', std::uint8_t(events.size() >> 24), std::uint8_t(events.size() >> 16),
            std::uint8_t(events.size() >> 8), std::uint8_t(events.size())};
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

// One track of `notes` notes of one key, all begun one tick apart before the
// first of them ends, then ended one tick apart; `controls` controller events
// before them. The synthesiser's worst case, and a reader's too.
Bytes PiledUpNotes(int notes, int controls = 0)
{
    Bytes events;
    events.reserve(std::size_t(notes) * 6 + std::size_t(controls) * 3 + 16);
    if (controls > 0) {
        events.insert(events.end(), {0x00, 0xB0, 7, 100});
        for (int i = 1; i < controls; ++i)
            events.insert(events.end(), {0x00, 7, 100}); // running status
    }
    if (notes > 0) {
        events.insert(events.end(), {0x00, 0x90, 60, 80});
        for (int i = 1; i < notes; ++i)
            events.insert(events.end(), {0x01, 60, 80});
        for (int i = 0; i < notes; ++i)
            events.insert(events.end(), {0x01, 60, 0});
    }
    events.insert(events.end(), {0x00, 0xFF, 0x2F, 0x00});
    return File(0, {events});
}

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

TEST(ReadMidiFile, NotesOfOneKeyThatPileUpEndInTheOrderTheyBegan)
{
    // 400,000 notes in 2.4 MB: a valid file, read in time linear in its size
    // (a reader that shifted its queue of open notes on every note-off would
    // take minutes here).
    const int n = 400000;
    const Bytes file = PiledUpNotes(n);
    EXPECT_GT(file.size(), 2400000u);
    const auto piece = ReadMidiFile(file);
    ASSERT_TRUE(piece);
    ASSERT_EQ(piece->notes.size(), std::size_t(n));
    EXPECT_EQ(piece->unfinishedNotes, 0);
    for (int i : {0, 1, n / 2, n - 1}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(piece->notes[std::size_t(i)].startTick, i);
        EXPECT_EQ(piece->notes[std::size_t(i)].endTick, n + i);
    }
    EXPECT_EQ(piece->endTick, 2 * n - 1);
}

TEST(ReadMidiFile, PiecesBeyondTheBoundsOnNotesAndEventsAreRefused)
{
    // Each note is two events; a track adds its End of Track.
    EXPECT_TRUE(ReadMidiFile(PiledUpNotes(MaxMidiNotes)));
    EXPECT_FALSE(ReadMidiFile(PiledUpNotes(MaxMidiNotes + 1)));
    // 2,000,000 notes in 12 MB, within the bound on the file's size.
    const Bytes huge = PiledUpNotes(2000000);
    ASSERT_LE(huge.size(), MaxMidiFileBytes);
    EXPECT_FALSE(ReadMidiFile(huge));
    EXPECT_TRUE(ReadMidiFile(PiledUpNotes(0, MaxMidiEvents - 1)));
    EXPECT_FALSE(ReadMidiFile(PiledUpNotes(0, MaxMidiEvents)));
    // The events of all tracks count together.
    const int half = MaxMidiEvents / 2;
    Bytes events = {0x00, 0xB0, 7, 100};
    for (int i = 1; i < half - 1; ++i)
        events.insert(events.end(), {0x00, 7, 100});
    events.insert(events.end(), {0x00, 0xFF, 0x2F, 0x00});
    EXPECT_TRUE(ReadMidiFile(File(1, {events, events})));
    EXPECT_FALSE(ReadMidiFile(File(1, {events, events, {0x00, 0xFF, 0x2F, 0x00}})));
}

TEST(ReadMidiFile, OnlyARegularFileOfBoundedSizeIsRead)
{
    TempDir dir;
    const Bytes tune = File(0, {Tune});
    TempDir::Write(dir / "tune.mid", std::string(tune.begin(), tune.end()));
    EXPECT_TRUE(ReadMidiFile((dir / "tune.mid").string()));

    // None of these may block or be read without end.
    ASSERT_EQ(::mkfifo((dir / "pipe.mid").c_str(), 0600), 0);
    EXPECT_FALSE(ReadMidiFile((dir / "pipe.mid").string()));
    std::filesystem::create_symlink("/dev/zero", dir / "zero.mid");
    EXPECT_FALSE(ReadMidiFile((dir / "zero.mid").string()));
    std::filesystem::create_directories(dir / "folder.mid");
    EXPECT_FALSE(ReadMidiFile((dir / "folder.mid").string()));
    EXPECT_FALSE(ReadMidiFile((dir / "missing.mid").string()));

    // Whatever follows the last track is not looked at, but the file's size
    // is bounded all the same.
    std::filesystem::copy_file(dir / "tune.mid", dir / "largest.mid");
    std::filesystem::resize_file(dir / "largest.mid", MaxMidiFileBytes);
    EXPECT_TRUE(ReadMidiFile((dir / "largest.mid").string()));
    std::filesystem::copy_file(dir / "tune.mid", dir / "too-large.mid");
    std::filesystem::resize_file(dir / "too-large.mid", MaxMidiFileBytes + 1);
    EXPECT_FALSE(ReadMidiFile((dir / "too-large.mid").string()));
}
