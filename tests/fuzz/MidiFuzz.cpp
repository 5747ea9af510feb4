// MIDI files beside the program: any bytes either give a piece within the
// reader's bounds, with sane notes and tempi, or nothing.
#include "FuzzSupport.h"
#include "MidiFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::optional<MidiPiece> piece = ReadMidiFile(std::span<const std::uint8_t>(data, size));
    if (!piece)
        return 0;
    FUZZ_CHECK(piece->format == 0 || piece->format == 1);
    FUZZ_CHECK(piece->division > 0 && piece->division < 0x8000);
    FUZZ_CHECK(piece->trackNames.size() == std::size_t(piece->trackCount));
    FUZZ_CHECK(piece->notes.size() <= std::size_t(MaxMidiNotes));
    FUZZ_CHECK(piece->unfinishedNotes >= 0 && piece->unfinishedNotes <= MaxMidiNotes);
    for (const MidiNote &note : piece->notes) {
        FUZZ_CHECK(note.channel >= 0 && note.channel < 16);
        FUZZ_CHECK(note.key >= 0 && note.key < 128);
        FUZZ_CHECK(note.velocity > 0 && note.velocity < 128);
        FUZZ_CHECK(note.startTick >= 0 && note.startTick <= note.endTick);
        FUZZ_CHECK(note.endTick <= piece->endTick);
    }
    FUZZ_CHECK(std::is_sorted(piece->tempos.begin(), piece->tempos.end(),
        [](const MidiTempo &a, const MidiTempo &b) { return a.tick < b.tick; }));
    const double seconds = piece->Seconds(piece->endTick);
    FUZZ_CHECK(std::isfinite(seconds) && seconds >= 0);
    return 0;
}
