// The soundfont cut to a piece's programs: the same presets for those
// programs, in every bank, the same instruments under them, the samples
// untouched, and the synthesiser takes it as a font.
#include "SoundFontCut.h"
#include "AudioDevice.h"
#include "RegularFile.h"
#include "SdlMusic.h"
#include "TempDir.h"

#include <fluidsynth.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A font written from scratch: every table of its preset data, with zones
// that tell apart where each generator and modulator came from.
struct Zone
{
    std::vector<std::pair<int, int>> gens; // operator, amount (41: an instrument's index)
    std::vector<int> mods; // each modulator's source operator
};
struct Header
{
    std::string name;
    int program = 0; // presets only
    int bank = 0;
    std::vector<Zone> zones;
};
struct Font
{
    std::vector<Header> presets;
    std::vector<Header> instruments;
    int samples = 4;
};

void Put(Bytes &out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(i < 4 ? std::uint8_t(value >> (8 * i)) : 0); // zeros beyond the value
    }
}

void PutName(Bytes &out, const std::string &name)
{
    std::string padded = name;
    padded.resize(20, '\0');
    out.insert(out.end(), padded.begin(), padded.end());
}

void PutChunk(Bytes &out, const std::string &id, const Bytes &body)
{
    out.insert(out.end(), id.begin(), id.end());
    Put(out, std::uint32_t(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2) {
        out.push_back(0);
    }
}

Bytes List(const std::string &kind, const Bytes &chunks)
{
    Bytes body(kind.begin(), kind.end());
    body.insert(body.end(), chunks.begin(), chunks.end());
    Bytes list;
    PutChunk(list, "LIST", body);
    return list;
}

// The headers' zones into bags, generators and modulators; the header
// records are written by `header`.
template <typename WriteHeader>
void PutZones(const std::vector<Header> &headers, WriteHeader header,
    std::map<std::string, Bytes> &tables, const std::string &prefix)
{
    Bytes &heads = tables[prefix == "p" ? "phdr" : "inst"];
    Bytes &bags = tables[prefix + "bag"];
    Bytes &gens = tables[prefix + "gen"];
    Bytes &mods = tables[prefix + "mod"];
    for (const Header &h : headers) {
        header(heads, h, bags.size() / 4);
        for (const Zone &z : h.zones) {
            Put(bags, std::uint32_t(gens.size() / 4), 2);
            Put(bags, std::uint32_t(mods.size() / 10), 2);
            for (auto [op, amount] : z.gens) {
                Put(gens, std::uint32_t(op), 2);
                Put(gens, std::uint32_t(amount), 2);
            }
            for (int source : z.mods) {
                Put(mods, std::uint32_t(source), 2);
                Put(mods, 0, 8);
            }
        }
    }
    header(heads, Header {prefix == "p" ? "EOP" : "EOI", 0, 0, {}}, bags.size() / 4);
    Put(bags, std::uint32_t(gens.size() / 4), 2);
    Put(bags, std::uint32_t(mods.size() / 10), 2);
    Put(gens, 0, 4);
    Put(mods, 0, 10);
}

Bytes PresetData(const Font &font)
{
    std::map<std::string, Bytes> tables;
    PutZones(
        font.presets,
        [](Bytes &out, const Header &h, std::size_t bag) {
            PutName(out, h.name);
            Put(out, std::uint32_t(h.program), 2);
            Put(out, std::uint32_t(h.bank), 2);
            Put(out, std::uint32_t(bag), 2);
            Put(out, 0, 12);
        },
        tables, "p");
    PutZones(
        font.instruments,
        [](Bytes &out, const Header &h, std::size_t bag) {
            PutName(out, h.name);
            Put(out, std::uint32_t(bag), 2);
        },
        tables, "i");
    Bytes &samples = tables["shdr"];
    for (int s = 0; s <= font.samples; ++s) {
        PutName(samples, s < font.samples ? "sample" + std::to_string(s) : "EOS");
        Put(samples, std::uint32_t(100 * s), 4); // start
        Put(samples, std::uint32_t(100 * s + 60), 4); // end
        Put(samples, std::uint32_t(100 * s + 10), 4); // loop
        Put(samples, std::uint32_t(100 * s + 50), 4);
        Put(samples, 44100, 4);
        Put(samples, 60, 1);
        Put(samples, 0, 1);
        Put(samples, 0, 2);
        Put(samples, s < font.samples ? 1 : 0, 2);
    }
    const std::string mark = "pdta";
    Bytes data(mark.begin(), mark.end());
    for (const char *id :
        {"phdr", "pbag", "pmod", "pgen", "inst", "ibag", "imod", "igen", "shdr"}) {
        PutChunk(data, id, tables[id]);
    }
    return data;
}

Bytes FontFile(const Font &font)
{
    Bytes info, version;
    Put(version, 2, 2);
    Put(version, 1, 2);
    PutChunk(info, "ifil", version);
    PutChunk(info, "INAM", Bytes {'T', 'e', 's', 't', 0}); // odd: padded
    Bytes samples, smpl;
    for (int i = 0; i < 100 * font.samples + 46; ++i) {
        Put(smpl, std::uint32_t(i * 37), 2);
    }
    PutChunk(samples, "smpl", smpl);
    Bytes body {'s', 'f', 'b', 'k'};
    for (const Bytes &list : {List("INFO", info), List("sdta", samples)}) {
        body.insert(body.end(), list.begin(), list.end());
    }
    const Bytes data = PresetData(font);
    PutChunk(body, "LIST", data);
    Bytes file;
    PutChunk(file, "RIFF", body);
    return file;
}

// Each preset of preset data, read back in full: its program and bank, its
// name, and
// its zones with their instruments' zones spelt out, so that two fonts
// compare by what they play, whatever the tables' numbering.
std::vector<std::string> Describe(std::span<const std::uint8_t> data)
{
    std::map<std::string, std::span<const std::uint8_t>> tables;
    for (std::size_t at = 4; at + 8 <= data.size();) {
        const std::uint32_t length = data[at + 4] | data[at + 5] << 8 | data[at + 6] << 16;
        tables[std::string(data.begin() + long(at), data.begin() + long(at) + 4)]
            = data.subspan(at + 8, length);
        at += 8 + length + (length & 1);
    }
    const auto u16 = [&](const char *table, std::size_t at) {
        return int(tables[table][at] | tables[table][at + 1] << 8);
    };
    const auto name = [&](const char *table, std::size_t at) {
        return std::string(reinterpret_cast<const char *>(tables[table].data() + at));
    };
    std::function<std::string(const char *, std::size_t, std::size_t)> zones
        = [&](const char *kind, std::size_t first, std::size_t last) {
              const bool preset = kind[0] == 'p';
              const char *bag = preset ? "pbag" : "ibag";
              const char *gen = preset ? "pgen" : "igen";
              const char *mod = preset ? "pmod" : "imod";
              std::string out;
              for (std::size_t b = first; b < last; ++b) {
                  out += " [";
                  for (int g = u16(bag, 4 * b); g < u16(bag, 4 * b + 4); ++g) {
                      const int op = u16(gen, std::size_t(4 * g));
                      const int amount = u16(gen, std::size_t(4 * g + 2));
                      if (preset && op == 41
                          && 22 * std::size_t(amount) + 44 > tables["inst"].size()) {
                          out += " inst " + std::to_string(amount) + " missing";
                      } else if (preset && op == 41) {
                          const std::size_t i = std::size_t(amount);
                          out += " inst " + name("inst", 22 * i) + " {"
                              + zones("i", std::size_t(u16("inst", 22 * i + 20)),
                                  std::size_t(u16("inst", 22 * i + 42)))
                              + " }";
                      } else {
                          out += " " + std::to_string(op) + "=" + std::to_string(amount);
                      }
                  }
                  for (int m = u16(bag, 4 * b + 2); m < u16(bag, 4 * b + 6); ++m) {
                      out += " mod" + std::to_string(u16(mod, std::size_t(10 * m)));
                  }
                  out += " ]";
              }
              return out;
          };
    std::vector<std::string> presets;
    for (std::size_t p = 0; p + 1 < tables["phdr"].size() / 38; ++p) {
        presets.push_back(std::to_string(u16("phdr", 38 * p + 20)) + "/"
            + std::to_string(u16("phdr", 38 * p + 22)) + " " + name("phdr", 38 * p)
            + zones(
                "p", std::size_t(u16("phdr", 38 * p + 24)), std::size_t(u16("phdr", 38 * p + 62))));
    }
    return presets;
}

ProgramSet Programs(std::initializer_list<int> programs)
{
    ProgramSet set;
    for (int p : programs) {
        set.set(std::size_t(p));
    }
    return set;
}

// Five presets over three banks, sharing instruments and leaving one out;
// one preset has a global zone, one instrument too.
Font SmallFont()
{
    Font font;
    font.instruments = {
        {"Strings", 0, 0, {{{{43, 0x7F00}, {53, 0}}, {1}}, {{{53, 1}}, {2, 3}}}},
        {"Unused", 0, 0, {{{{53, 2}}, {4}}}},
        {"Drums", 0, 0, {{{{17, 250}}, {5}}, {{{43, 0x3C24}, {53, 3}}, {}}}},
        {"Piano", 0, 0, {{{{53, 0}}, {6}}}},
    };
    font.presets = {
        {"Piano", 0, 0, {{{{41, 3}}, {7}}}},
        {"Choir", 52, 0, {{{{41, 0}}, {}}}},
        {"Kit", 0, 128, {{{{17, 100}}, {8}}, {{{41, 2}}, {9}}}},
        {"Violin", 40, 0, {{{{41, 0}}, {}}, {{{41, 3}, {52, 5}}, {10}}}},
        {"Choir B", 52, 8, {{{{41, 0}}, {11}}}},
    };
    return font;
}

std::vector<std::string> Only(const std::vector<std::string> &presets, const ProgramSet &programs)
{
    std::vector<std::string> kept;
    for (const std::string &p : presets) {
        const int program = std::stoi(p); // "program/bank name ..."
        if (programs.test(std::size_t(program))) {
            kept.push_back(p);
        }
    }
    return kept;
}

} // namespace

TEST(SoundFontCut, KeepsEveryPresetOfTheProgramsInEveryBankAndNothingElse)
{
    const Bytes data = PresetData(SmallFont());
    const auto whole = Describe(data);
    ASSERT_EQ(whole.size(), 5u);
    for (const ProgramSet &programs :
        {Programs({0}), Programs({52}), Programs({0, 40}), Programs({0, 40, 52}), Programs({7})}) {
        SCOPED_TRACE(programs.to_string());
        const auto cut = CutPresetData(data, programs);
        ASSERT_TRUE(cut);
        EXPECT_EQ(Describe(*cut), Only(whole, programs));
    }
    // The instruments that no kept preset plays are dropped, the samples'
    // headers stay whole.
    const auto piano = CutPresetData(data, Programs({0}));
    const auto table = [](const Bytes &d, const std::string &id) {
        for (std::size_t at = 4; at + 8 <= d.size();) {
            const std::size_t length = d[at + 4] | d[at + 5] << 8;
            if (std::string(d.begin() + long(at), d.begin() + long(at) + 4) == id) {
                return Bytes(d.begin() + long(at) + 8, d.begin() + long(at + 8 + length));
            }
            at += 8 + length;
        }
        return Bytes {};
    };
    EXPECT_EQ(table(*piano, "inst").size(), 3u * 22); // Drums, Piano and the terminal
    EXPECT_EQ(table(*piano, "shdr"), table(data, "shdr"));
}

TEST(SoundFontCut, DamagedPresetDataIsNotCut)
{
    const Bytes good = PresetData(SmallFont());
    ASSERT_TRUE(CutPresetData(good, Programs({0})));
    std::vector<std::pair<std::string, Bytes>> damaged;
    const auto withSmall = [&](const std::string &why, std::size_t at, std::uint8_t value) {
        Bytes d = good;
        d[at] = value;
        damaged.emplace_back(why, d);
    };
    // The piano's first bag (its header's bag index) far past the bags.
    withSmall("preset bag", 4 + 8 + 24, 200);
    // The piano's instrument generator names an instrument that is not there.
    const std::size_t pgen = [&] {
        std::size_t at = 4;
        for (const char *id : {"phdr", "pbag", "pmod"}) {
            (void)id;
            at += 8 + std::size_t(good[at + 4] | good[at + 5] << 8);
        }
        return at + 8;
    }();
    withSmall("instrument", pgen + 2, 9);
    Bytes shortTable = good;
    shortTable[4 + 4] = 37; // phdr no longer whole records
    damaged.emplace_back("record size", shortTable);
    Bytes truncated(good.begin(), good.end() - 20);
    damaged.emplace_back("truncated", truncated);
    Bytes noMark = good;
    noMark[0] = 'x';
    damaged.emplace_back("not preset data", noMark);
    damaged.emplace_back("empty", Bytes {});
    for (const auto &[why, d] : damaged) {
        EXPECT_FALSE(CutPresetData(d, Programs({0, 40, 52}))) << why;
    }
}

TEST(SoundFontCut, TheCutFileHoldsTheSamplesAsTheyLieAndTellsItsLength)
{
    TempDir dir;
    const Bytes whole = FontFile(SmallFont());
    TempDir::Write(dir / "small.sf2", std::string(whole.begin(), whole.end()));
    const auto cut = SoundFontCut::Make((dir / "small.sf2").string(), Programs({40}));
    ASSERT_TRUE(cut);

    const RegularFile file((dir / "small.sf2").c_str());
    ASSERT_TRUE(file.IsOpen());
    Bytes read(std::size_t(cut->Size()));
    ASSERT_TRUE(cut->Read(file, 0, read.data(), cut->Size()));
    // RIFF's own length, then everything up to the preset data as it was,
    // then the cut preset data.
    EXPECT_EQ(std::int64_t(read[4] | read[5] << 8 | read[6] << 16) + 8, cut->Size());
    const std::size_t presetList = whole.size() - PresetData(SmallFont()).size() - 8;
    EXPECT_TRUE(std::equal(whole.begin() + 8, whole.begin() + long(presetList), read.begin() + 8));
    const Bytes presets(read.begin() + long(presetList) + 8, read.end());
    EXPECT_EQ(Describe(presets), Only(Describe(PresetData(SmallFont())), Programs({40})));

    // Reads that start anywhere and cross from the file to the held bytes.
    for (std::int64_t from : {std::int64_t(0), std::int64_t(5), std::int64_t(presetList) - 3}) {
        Bytes piece(16);
        ASSERT_TRUE(cut->Read(file, from, piece.data(), 16));
        EXPECT_TRUE(std::equal(piece.begin(), piece.end(), read.begin() + from)) << from;
    }
    Bytes beyond(8);
    EXPECT_FALSE(cut->Read(file, cut->Size() - 4, beyond.data(), 8));
    EXPECT_FALSE(cut->Read(file, -1, beyond.data(), 1));
}

TEST(SoundFontCut, AFileThatIsNotASoundfontOrIsDamagedIsLoadedWhole)
{
    TempDir dir;
    Bytes damaged = FontFile(SmallFont());
    // The sample headers, the last table, no longer whole records.
    damaged[damaged.size() - 46 * 5 - 4] ^= 0x40;
    const Bytes whole = FontFile(SmallFont());
    const std::map<std::string, Bytes> files {
        {"damaged.sf2", damaged},
        {"cut-short.sf2", Bytes(whole.begin(), whole.begin() + 200)},
        {"wave.sf2", Bytes {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}},
        {"empty.sf2", Bytes {}},
    };
    for (const auto &[name, bytes] : files) {
        TempDir::Write(dir / name, std::string(bytes.begin(), bytes.end()));
        EXPECT_FALSE(SoundFontCut::Make((dir / name).string(), Programs({0}))) << name;
    }
    EXPECT_FALSE(SoundFontCut::Make((dir / "missing.sf2").string(), Programs({0})));
    EXPECT_FALSE(SoundFontCut::Make(dir.Path().string(), Programs({0})));
}

TEST(SoundFontCut, TheSynthesiserTakesTheGamesFontCutAndPlaysFromIt)
{
    // The game's soundfont, cut to a piano and a harp: the synthesiser holds
    // exactly the presets of those programs that the whole font has, and a
    // harp note sounds, its samples read through the cut.
    const auto presetsOf = [](fluid_synth_t *synth) {
        std::multiset<std::pair<int, int>> presets;
        fluid_sfont_t *font = fluid_synth_get_sfont(synth, 0);
        fluid_sfont_iteration_start(font);
        while (fluid_preset_t *p = fluid_sfont_iteration_next(font)) {
            presets.emplace(fluid_preset_get_num(p), fluid_preset_get_banknum(p));
        }
        return presets;
    };
    fluid_settings_t *settings = new_fluid_settings();
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    fluid_synth_t *whole = new_fluid_synth(settings);
    ASSERT_NE(fluid_synth_sfload(whole, AudioDevice::SoundFont(), 1), FLUID_FAILED);
    std::multiset<std::pair<int, int>> expected;
    for (const auto &p : presetsOf(whole)) {
        if (p.first == 0 || p.first == 46) {
            expected.insert(p);
        }
    }
    delete_fluid_synth(whole);

    const auto cut = SoundFontCut::Make(AudioDevice::SoundFont(), Programs({0, 46}));
    ASSERT_TRUE(cut);
    fluid_synth_t *synth = new_fluid_synth(settings);
    ASSERT_TRUE(LoadCutSoundFont(synth, settings, *cut));
    EXPECT_EQ(presetsOf(synth), expected);
    EXPECT_GE(expected.size(), 2u);

    fluid_synth_program_change(synth, 0, 46);
    fluid_synth_noteon(synth, 0, 60, 100);
    std::vector<std::int16_t> sound(2 * 22050);
    fluid_synth_write_s16(synth, 22050, sound.data(), 0, 2, sound.data(), 1, 2);
    EXPECT_GT(*std::max_element(sound.begin(), sound.end()), 1000);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
}
