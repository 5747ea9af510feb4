// A reader of Standard MIDI Files: it checks that a file is whole before the
// synthesiser gets it, and tells the notes, tempi and length of a piece.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct MidiNote
{
    int track = 0;
    int channel = 0;
    int key = 0;
    int velocity = 0;
    std::int64_t startTick = 0;
    std::int64_t endTick = 0;
};

struct MidiTempo
{
    std::int64_t tick = 0;
    int microsecondsPerQuarter = 500000;
};

struct MidiProgram
{
    int channel = 0;
    int program = 0;
};

struct MidiPiece
{
    int format = 0;
    int division = 0; // ticks per quarter note
    int trackCount = 0;
    std::vector<std::string> trackNames;
    std::vector<MidiNote> notes; // in the order their ends were read
    std::vector<MidiTempo> tempos; // sorted by tick
    std::vector<MidiProgram> programs;
    std::int64_t endTick = 0; // the latest End of Track
    int unfinishedNotes = 0; // note-ons that no note-off ended

    // Seconds from the start of the piece to tick, through the tempo changes.
    double Seconds(std::int64_t tick) const;
};

// Bounds on what a piece may hold. Background music the game ships, or that a
// player drops beside it, stays far below them (the shipped pieces have a few
// hundred notes); anything beyond is refused rather than read at length.
constexpr std::size_t MaxMidiFileBytes = 16 * 1024 * 1024;
constexpr int MaxMidiEvents = 2000000; // in all tracks together, End of Track included
constexpr int MaxMidiNotes = 500000;

// Parses the whole file in time linear in its size; nothing for a file that is
// not a complete Standard MIDI File of format 0 or 1 with ticks per quarter
// note, or that holds more events or notes than the bounds above. A file
// name that is not a regular file (a folder, a pipe, a device) is refused
// without being read or waited for.
std::optional<MidiPiece> ReadMidiFile(std::span<const std::uint8_t> bytes);
std::optional<MidiPiece> ReadMidiFile(const std::string &fileName);
// The bytes of a regular file of at most MaxMidiFileBytes, read without
// waiting on a pipe; nothing for anything else.
std::optional<std::vector<std::uint8_t>> ReadMidiBytes(const std::string &fileName);
