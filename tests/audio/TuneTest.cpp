// Our tune notation, compiled and read back through the game's MIDI reader.
#include "Tune.h"
#include "MidiFile.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string Head = "title Test\n"
                         "tempo 60\n"
                         "meter 3\n"
                         "voice melody channel 0 program 73\n";

std::vector<MidiNote> Melody(const MidiPiece &piece)
{
    std::vector<MidiNote> notes;
    std::copy_if(piece.notes.begin(), piece.notes.end(), std::back_inserter(notes),
        [](const MidiNote &n) { return n.channel == 0; });
    std::sort(notes.begin(), notes.end(),
        [](const MidiNote &a, const MidiNote &b) { return a.startTick < b.startTick; });
    return notes;
}

} // namespace

TEST(Tune, NotesHoldsAndRestsBecomeTimedNotes)
{
    TuneError error;
    const auto bytes = CompileTune(Head
            + "section A   # a comment\n"
              "melody | c4:1 c#4:.5 bb3:.5 r:1 | g4:2 _:1 |\n"
              "chords | C | G |\n"
              "play A\n",
        error);
    ASSERT_FALSE(bytes.empty()) << error.line << ": " << error.message;
    const auto piece = ReadMidiFile(bytes);
    ASSERT_TRUE(piece);
    EXPECT_EQ(piece->Seconds(piece->endTick), 6.0); // two bars of three beats at 60
    const auto notes = Melody(*piece);
    ASSERT_EQ(notes.size(), 4u);
    const int keys[] = {60, 61, 58, 67};
    const std::int64_t starts[] = {0, 480, 720, 1440};
    for (std::size_t i = 0; i < notes.size(); ++i) {
        EXPECT_EQ(notes[i].key, keys[i]);
        EXPECT_EQ(notes[i].startTick, starts[i]);
    }
    // The held note lasts three beats, less the breath before the next.
    EXPECT_GT(notes[3].endTick, 1440 + 2 * 480);
    EXPECT_LE(notes[3].endTick, 2880);
}

TEST(Tune, AccompanimentFollowsTheChords)
{
    TuneError error;
    const auto bytes = CompileTune(Head
            + "voice bass channel 2 program 32\n"
              "voice arpeggio channel 1 program 46\n"
              "pattern 1 2 3 4 - 1\n"
              "section A\n"
              "melody | e4:3 | d4:3 |\n"
              "chords | Am | G7/B |\n"
              "play A octave 1\n",
        error);
    ASSERT_FALSE(bytes.empty()) << error.message;
    const auto piece = ReadMidiFile(bytes);
    ASSERT_TRUE(piece);
    std::vector<MidiNote> ordered = piece->notes;
    std::sort(ordered.begin(), ordered.end(), [](const MidiNote &a, const MidiNote &b) {
        return a.startTick != b.startTick ? a.startTick < b.startTick : a.key < b.key;
    });
    std::vector<int> bassKeys, arpeggioKeys;
    for (const MidiNote &n : ordered) {
        if (n.channel == 2) {
            bassKeys.push_back(n.key);
        } else if (n.channel == 1) {
            arpeggioKeys.push_back(n.key);
        }
    }
    EXPECT_EQ(bassKeys, (std::vector<int> {45, 47})); // A2, then B2 under G7
    // Am from A3: A C E A', rest, A; G7 from G3: G B D F, rest, G.
    EXPECT_EQ(arpeggioKeys, (std::vector<int> {57, 60, 64, 69, 57, 55, 59, 62, 65, 55}));
    EXPECT_EQ(Melody(*piece).front().key, 76); // e4 an octave up
}

TEST(Tune, SlipsAreReportedWithTheirLine)
{
    struct Case
    {
        std::string body;
        int line;
        const char *says;
    };
    const int first = 5; // the line after Head
    for (const Case &c : {
             Case {"section A\nmelody | c4:1 d4:1 |\nchords | C |\nplay A\n", first, "bar 1"},
             Case {"section A\nmelody | c4:3 |\nchords | H |\nplay A\n", first + 2, "bad chord"},
             Case {"section A\nmelody | c4:3 |\nchords | Cxx |\nplay A\n", first + 2,
                 "unknown chord"},
             Case {
                 "section A\nmelody | c4:3 | c4:3 |\nchords | C |\nplay A\n", first, "same number"},
             Case {"section A\nmelody | c4 |\nchords | C |\nplay A\n", first + 1, "length"},
             Case {"section A\nmelody | c4:.33 d4:2.67 |\nchords | C |\nplay A\n", first + 1,
                 "length"},
             Case {"section A\nmelody | h4:3 |\nchords | C |\nplay A\n", first + 1, "note name"},
             Case {"section A\nmelody | c4:3 |\nchords | C |\nplay B\n", first + 3, "no section"},
             Case {"section A\nmelody | c4:3 |\nchords | C |\n", 0, "nothing is played"},
             Case {"voice arpeggio channel 1\npattern 1 2\nsection A\nmelody | c4:3 |\n"
                   "chords | C |\nplay A\n",
                 0, "pattern"},
             Case {"tempo fast\n", first, "tempo"},
             Case {"melody | c4:3 |\n", first, "outside a section"},
         }) {
        SCOPED_TRACE(c.body);
        TuneError error;
        EXPECT_TRUE(CompileTune(Head + c.body, error).empty());
        EXPECT_EQ(error.line, c.line);
        EXPECT_NE(error.message.find(c.says), std::string::npos) << error.message;
    }
}

TEST(Tune, RitardandoBroadensTheLastBars)
{
    TuneError error;
    const auto bytes = CompileTune(Head
            + "section A\nmelody | c4:3 | d4:3 | e4:3 |\nchords | C | G | C |\n"
              "play A rit\n",
        error);
    const auto piece = ReadMidiFile(bytes);
    ASSERT_TRUE(piece);
    // The first bar at 60 a minute, the last two slowing beat by beat.
    EXPECT_EQ(piece->Seconds(3 * 480), 3.0);
    EXPECT_GT(piece->Seconds(piece->endTick), 9.5);
    EXPECT_LT(piece->Seconds(piece->endTick), 9 / 0.75);
    EXPECT_LT(60e6 / piece->tempos.back().microsecondsPerQuarter, 46);
}
