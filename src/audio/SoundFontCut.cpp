#include "SoundFontCut.h"

#include "RegularFile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace {

using Bytes = std::vector<std::uint8_t>;
using View = std::span<const std::uint8_t>;

std::uint32_t Get16(View data, std::size_t at)
{
    return std::uint32_t(data[at]) | std::uint32_t(data[at + 1]) << 8;
}

std::uint32_t Get32(View data, std::size_t at)
{
    return Get16(data, at) | Get16(data, at + 2) << 16;
}

void Put16(Bytes &out, std::size_t at, std::uint32_t value)
{
    out[at] = std::uint8_t(value);
    out[at + 1] = std::uint8_t(value >> 8);
}

void Append32(Bytes &out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(std::uint8_t(value >> shift));
    }
}

void AppendId(Bytes &out, std::string_view id)
{
    out.insert(out.end(), id.begin(), id.end());
}

bool IsId(View data, std::size_t at, std::string_view id)
{
    return data.size() >= at + 4 && std::equal(id.begin(), id.end(), data.begin() + long(at));
}

// One table of the preset data: records of a fixed size, the last of them
// the table's terminal record.
struct Table
{
    View data;
    std::size_t size = 0;

    std::size_t Count() const { return data.size() / size; }
    View Record(std::size_t i) const { return data.subspan(i * size, size); }
    std::uint32_t Field16(std::size_t i, std::size_t at) const { return Get16(Record(i), at); }
};

// The tables in the order a soundfont keeps them, with their record sizes.
constexpr std::array<std::pair<std::string_view, std::size_t>, 9> TableKinds {{
    {"phdr", 38},
    {"pbag", 4},
    {"pmod", 10},
    {"pgen", 4},
    {"inst", 22},
    {"ibag", 4},
    {"imod", 10},
    {"igen", 4},
    {"shdr", 46},
}};
enum TableIndex { Phdr, Pbag, Pmod, Pgen, Inst, Ibag, Imod, Igen, Shdr };

constexpr std::size_t HeaderBag = 24; // a preset's first bag, in its header
constexpr std::size_t InstrumentBag = 20; // an instrument's first bag
constexpr std::size_t PresetProgram = 20;
constexpr std::uint32_t InstrumentGenerator = 41; // its amount is an instrument's index

// A list of records being written: the kept ones, copied, then a terminal.
struct Out
{
    Bytes bytes;
    std::size_t size = 0;

    std::size_t Count() const { return bytes.size() / size; }
    void Add(View record) { bytes.insert(bytes.end(), record.begin(), record.end()); }
};

// Copies the zones (bags) [first, last) of a preset or an instrument with
// their generators and modulators, renumbered for the output. `mapGenerator`
// may change a generator's amount.
template <typename Map>
bool CopyZones(std::uint32_t first, std::uint32_t last, const Table &bags, const Table &gens,
    const Table &mods, Out &outBags, Out &outGens, Out &outMods, Map mapGenerator)
{
    for (std::uint32_t b = first; b < last; ++b) {
        const std::uint32_t g0 = bags.Field16(b, 0), g1 = bags.Field16(b + 1, 0);
        const std::uint32_t m0 = bags.Field16(b, 2), m1 = bags.Field16(b + 1, 2);
        if (g0 > g1 || g1 >= gens.Count() || m0 > m1 || m1 >= mods.Count()) {
            return false;
        }
        Bytes bag(4);
        Put16(bag, 0, std::uint32_t(outGens.Count()));
        Put16(bag, 2, std::uint32_t(outMods.Count()));
        outBags.Add(bag);
        for (std::uint32_t m = m0; m < m1; ++m) {
            outMods.Add(mods.Record(m));
        }
        for (std::uint32_t g = g0; g < g1; ++g) {
            Bytes gen(gens.Record(g).begin(), gens.Record(g).end());
            if (!mapGenerator(gen)) {
                return false;
            }
            outGens.Add(gen);
        }
    }
    return true;
}

// Ends a zone list: the terminal bag points past the last generator and
// modulator, and the terminal generator and modulator are copied.
void Close(Out &bags, Out &gens, Out &mods, const Table &gensIn, const Table &modsIn)
{
    Bytes bag(4);
    Put16(bag, 0, std::uint32_t(gens.Count()));
    Put16(bag, 2, std::uint32_t(mods.Count()));
    bags.Add(bag);
    gens.Add(gensIn.Record(gensIn.Count() - 1));
    mods.Add(modsIn.Record(modsIn.Count() - 1));
}

// The zones of header i: from its first bag to the next header's.
std::optional<std::pair<std::uint32_t, std::uint32_t>> ZonesOf(
    const Table &headers, std::size_t i, std::size_t field, const Table &bags)
{
    const std::uint32_t first = headers.Field16(i, field), last = headers.Field16(i + 1, field);
    if (first > last || last >= bags.Count()) {
        return std::nullopt;
    }
    return std::pair(first, last);
}

// A header record (a preset's or an instrument's) pointing at `bag`.
Bytes Header(View record, std::size_t bagField, std::size_t bag)
{
    Bytes out(record.begin(), record.end());
    Put16(out, bagField, std::uint32_t(bag));
    return out;
}

// The preset data of a font far larger than any General MIDI font is not
// cut: the synthesiser reads such a file itself.
constexpr std::uint32_t MaxPresetData = 64u * 1024 * 1024;

} // namespace

std::optional<Bytes> CutPresetData(View presetData, const ProgramSet &programs)
{
    if (!IsId(presetData, 0, "pdta")) {
        return std::nullopt;
    }
    std::array<Table, TableKinds.size()> in {};
    for (std::size_t at = 4; at + 8 <= presetData.size();) {
        const std::uint32_t length = Get32(presetData, at + 4);
        if (length > presetData.size() - at - 8) {
            return std::nullopt;
        }
        for (std::size_t k = 0; k < TableKinds.size(); ++k) {
            if (IsId(presetData, at, TableKinds[k].first)) {
                in[k] = {presetData.subspan(at + 8, length), TableKinds[k].second};
            }
        }
        at += 8 + length + (length & 1);
    }
    // Each table holds whole records and at least its terminal one.
    for (const Table &table : in) {
        if (table.size == 0 || table.data.size() % table.size != 0 || table.Count() == 0) {
            return std::nullopt;
        }
    }

    std::array<Out, TableKinds.size()> out {};
    for (std::size_t k = 0; k < TableKinds.size(); ++k) {
        out[k].size = TableKinds[k].second;
    }
    // The kept presets, each instrument they use numbered anew at its first
    // use.
    const std::size_t instruments = in[Inst].Count() - 1;
    constexpr std::uint32_t Unused = ~0u;
    std::vector<std::uint32_t> number(instruments, Unused);
    std::vector<std::size_t> order;
    const auto renumber = [&](Bytes &gen) {
        if (Get16(gen, 0) != InstrumentGenerator) {
            return true;
        }
        const std::uint32_t i = Get16(gen, 2);
        if (i >= instruments) {
            return false;
        }
        if (number[i] == Unused) {
            number[i] = std::uint32_t(order.size());
            order.push_back(i);
        }
        Put16(gen, 2, number[i]);
        return true;
    };
    for (std::size_t p = 0; p + 1 < in[Phdr].Count(); ++p) {
        const std::uint32_t program = in[Phdr].Field16(p, PresetProgram);
        if (program >= programs.size() || !programs.test(program)) {
            continue;
        }
        const auto zones = ZonesOf(in[Phdr], p, HeaderBag, in[Pbag]);
        out[Phdr].Add(Header(in[Phdr].Record(p), HeaderBag, out[Pbag].Count()));
        if (!zones
            || !CopyZones(zones->first, zones->second, in[Pbag], in[Pgen], in[Pmod], out[Pbag],
                out[Pgen], out[Pmod], renumber)) {
            return std::nullopt;
        }
    }
    out[Phdr].Add(Header(in[Phdr].Record(in[Phdr].Count() - 1), HeaderBag, out[Pbag].Count()));
    Close(out[Pbag], out[Pgen], out[Pmod], in[Pgen], in[Pmod]);

    const auto asIs = [](Bytes &) { return true; };
    for (std::size_t i : order) {
        const auto zones = ZonesOf(in[Inst], i, InstrumentBag, in[Ibag]);
        out[Inst].Add(Header(in[Inst].Record(i), InstrumentBag, out[Ibag].Count()));
        if (!zones
            || !CopyZones(zones->first, zones->second, in[Ibag], in[Igen], in[Imod], out[Ibag],
                out[Igen], out[Imod], asIs)) {
            return std::nullopt;
        }
    }
    out[Inst].Add(Header(in[Inst].Record(instruments), InstrumentBag, out[Ibag].Count()));
    Close(out[Ibag], out[Igen], out[Imod], in[Igen], in[Imod]);
    out[Shdr].Add(in[Shdr].data);

    Bytes result;
    AppendId(result, "pdta");
    for (std::size_t k = 0; k < TableKinds.size(); ++k) {
        AppendId(result, TableKinds[k].first);
        Append32(result, std::uint32_t(out[k].bytes.size()));
        result.insert(result.end(), out[k].bytes.begin(), out[k].bytes.end());
    }
    return result;
}

std::optional<SoundFontCut> SoundFontCut::Make(const std::string &path, const ProgramSet &programs)
{
    const RegularFile file(path.c_str());
    if (!file.IsOpen()) {
        return std::nullopt;
    }
    const std::int64_t fileSize = file.Size();
    std::array<std::uint8_t, 12> head {};
    if (!file.ReadAt(0, head.data(), 12) || !IsId(head, 0, "RIFF") || !IsId(head, 8, "sfbk")) {
        return std::nullopt;
    }
    const std::int64_t end = std::min<std::int64_t>(fileSize, 8 + std::int64_t(Get32(head, 4)));

    SoundFontCut cut;
    cut.path_ = path;
    const auto add = [&cut](Run run) {
        run.at = cut.size_;
        cut.size_ += run.length;
        cut.runs_.push_back(std::move(run));
    };
    add(Run {0, 12, 0, Bytes(head.begin(), head.end())});
    bool cutOnce = false;
    for (std::int64_t at = 12; at + 8 <= end;) {
        std::array<std::uint8_t, 12> chunk {};
        if (!file.ReadAt(at, chunk.data(), std::min<std::int64_t>(12, end - at))) {
            return std::nullopt;
        }
        const std::uint32_t length = Get32(chunk, 4);
        if (length > end - at - 8) {
            return std::nullopt;
        }
        const std::int64_t next = at + 8 + length + (length & 1);
        if (IsId(chunk, 0, "LIST") && length >= 4 && IsId(chunk, 8, "pdta")) {
            if (cutOnce || length > MaxPresetData) {
                return std::nullopt;
            }
            Bytes data(length);
            if (!file.ReadAt(at + 8, data.data(), length)) {
                return std::nullopt;
            }
            auto cutData = CutPresetData(data, programs);
            if (!cutData) {
                return std::nullopt;
            }
            Bytes list;
            AppendId(list, "LIST");
            Append32(list, std::uint32_t(cutData->size()));
            list.insert(list.end(), cutData->begin(), cutData->end());
            const auto listLength = std::int64_t(list.size());
            add(Run {0, listLength, 0, std::move(list)});
            cutOnce = true;
        } else {
            // Every other chunk, the samples above all, as it lies in the file.
            add(Run {0, std::min(next, end) - at, at, {}});
        }
        at = next;
    }
    if (!cutOnce) {
        return std::nullopt;
    }
    // The RIFF header tells the new length.
    Bytes &riff = cut.runs_.front().held;
    riff.resize(4);
    Append32(riff, std::uint32_t(cut.size_ - 8));
    AppendId(riff, "sfbk");
    return cut;
}

bool SoundFontCut::Read(
    const RegularFile &file, std::int64_t offset, std::uint8_t *to, std::int64_t count) const
{
    if (offset < 0 || count < 0 || count > size_ - offset) {
        return false;
    }
    auto run = std::upper_bound(runs_.begin(), runs_.end(), offset,
        [](std::int64_t at, const Run &r) { return at < r.at; });
    for (--run; count > 0; ++run) {
        const std::int64_t within = offset - run->at;
        const std::int64_t n = std::min(count, run->length - within);
        if (!run->held.empty()) {
            std::memcpy(to, run->held.data() + within, std::size_t(n));
        } else if (!file.ReadAt(run->from + within, to, n)) {
            return false;
        }
        to += n;
        offset += n;
        count -= n;
    }
    return true;
}
