// Our tune notation and its translation into a Standard MIDI File.
//
// A tune file names the tempo, the metre and the voices, then holds sections
// of melody and chords, then the order in which the sections are played:
//
//   title   Evening Tune
//   source  our own tune
//   tempo   72                # quarter notes a minute
//   meter   3                 # quarter-note beats a bar
//   voice   melody    channel 0 program 73 volume 96
//   voice   arpeggio  channel 1 program 46 volume 80
//   voice   bass      channel 2 program 32 volume 70
//   voice   pad       channel 3 program 49 volume 50
//   pattern 1 3 4 3 5 3       # arpeggio steps, one an eighth: chord tones upwards, - rests
//   section A
//   melody  | r:2 e4:.5 e4:.5 | g4:2 _:1 | ...     # note:beats, r rest, _ holds on
//   chords  | C | C G7 | ...                         # a bar's chords share it equally
//   play    A program 10 octave 1 velocity 70 rit
//
// The melody's bars are checked against the metre and the chords' bars
// against the melody's, so a slip in a tune file stops the build with the
// line that holds it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TuneError
{
    int line = 0;
    std::string message;
};

// Parses the tune text and writes the Standard MIDI File (format 1, one track
// for tempo and titles, one per voice). On a fault, returns no bytes and
// fills error.
std::vector<std::uint8_t> CompileTune(const std::string &text, TuneError &error);
