// A soundfont cut down to the instruments a piece can select. The
// synthesiser keeps every preset it loads in memory, zone by zone, some two
// kilobytes each: for a General MIDI font that is megabytes for a piece that
// plays five instruments. The cut keeps the presets of the programs the
// piece names, in every bank, so every choice the piece can make (a bank
// select, a drum channel, the synthesiser's fall-back to bank 0 or to
// program 0) finds the same preset as in the whole font. The sample data
// stays where it lies in the file and is read from there.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class RegularFile;

using ProgramSet = std::bitset<128>;

// The preset data (the body of a "pdta" list, from its "pdta" on) with
// only the presets whose program is in `programs` and the instruments they
// use; the sample headers stay whole, so the instruments' sample numbers
// stay true. Nothing when the data does not hold the nine tables in their
// record sizes, or an index in them points outside its table.
std::optional<std::vector<std::uint8_t>> CutPresetData(
    std::span<const std::uint8_t> presetData, const ProgramSet &programs);

class SoundFontCut
{
public:
    // The soundfont file at `path`, cut to `programs`. Nothing when the
    // file is not a soundfont of a form this reader knows: the synthesiser
    // then reads the whole file itself, as it would have without a cut.
    static std::optional<SoundFontCut> Make(const std::string &path, const ProgramSet &programs);

    const std::string &Path() const { return path_; }
    // The length of the cut file.
    std::int64_t Size() const { return size_; }
    // Copies `count` bytes from `offset` of the cut file into `to`, reading
    // what lies in the soundfont from `file`, Path() opened. False when the
    // bytes run past the end or the file cannot be read.
    bool Read(
        const RegularFile &file, std::int64_t offset, std::uint8_t *to, std::int64_t count) const;

private:
    // A run of the cut file: bytes of the soundfont from `from`, or the
    // bytes held here when `held` is not empty.
    struct Run
    {
        std::int64_t at = 0;
        std::int64_t length = 0;
        std::int64_t from = 0;
        std::vector<std::uint8_t> held;
    };

    std::string path_;
    std::vector<Run> runs_;
    std::int64_t size_ = 0;
};
