#include "MidiFile.h"

#include <algorithm>
#include <fstream>
#include <map>

namespace {

// Larger files are not music the game would ship or a player would drop in.
constexpr std::size_t MaxFileBytes = 16 * 1024 * 1024;

class Reader
{
public:
    explicit Reader(std::span<const std::uint8_t> bytes)
        : bytes_(bytes)
    { }

    bool Has(std::size_t n) const { return bytes_.size() - pos_ >= n; }
    bool AtEnd() const { return pos_ == bytes_.size(); }
    std::size_t Pos() const { return pos_; }

    std::optional<std::uint32_t> Big(int n)
    {
        if (!Has(std::size_t(n))) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (int i = 0; i < n; ++i) {
            value = (value << 8) | bytes_[pos_++];
        }
        return value;
    }

    std::optional<std::uint32_t> Byte() { return Big(1); }

    // A variable-length quantity: at most four bytes of seven bits each.
    std::optional<std::uint32_t> Vlq()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const auto b = Byte();
            if (!b) {
                return std::nullopt;
            }
            value = (value << 7) | (*b & 0x7F);
            if (!(*b & 0x80)) {
                return value;
            }
        }
        return std::nullopt;
    }

    bool Skip(std::size_t n)
    {
        if (!Has(n)) {
            return false;
        }
        pos_ += n;
        return true;
    }

    std::span<const std::uint8_t> Take(std::size_t n)
    {
        auto part = bytes_.subspan(pos_, n);
        pos_ += n;
        return part;
    }

    bool Tag(const char (&tag)[5])
    {
        if (!Has(4) || !std::equal(tag, tag + 4, bytes_.begin() + std::ptrdiff_t(pos_))) {
            return false;
        }
        pos_ += 4;
        return true;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

bool ReadTrack(std::span<const std::uint8_t> data, int track, MidiPiece &piece)
{
    Reader in(data);
    std::int64_t tick = 0;
    int status = 0;
    std::map<int, std::vector<MidiNote>> sounding; // by channel * 128 + key
    std::string name;
    while (true) {
        const auto delta = in.Vlq();
        if (!delta) {
            return false;
        }
        tick += *delta;
        auto first = in.Byte();
        if (!first) {
            return false;
        }
        if (*first == 0xFF) {
            const auto type = in.Byte();
            const auto length = in.Vlq();
            if (!type || !length || !in.Has(*length)) {
                return false;
            }
            const auto body = in.Take(*length);
            if (*type == 0x2F) {
                // End of Track: nothing may follow it in the chunk.
                if (!in.AtEnd()) {
                    return false;
                }
                break;
            }
            if (*type == 0x51) {
                if (body.size() != 3) {
                    return false;
                }
                const int micro = (body[0] << 16) | (body[1] << 8) | body[2];
                if (micro == 0) {
                    return false;
                }
                piece.tempos.push_back({tick, micro});
            } else if (*type == 0x03 && name.empty()) {
                name.assign(body.begin(), body.end());
            }
            status = 0;
            continue;
        }
        if (*first == 0xF0 || *first == 0xF7) {
            const auto length = in.Vlq();
            if (!length || !in.Skip(*length)) {
                return false;
            }
            status = 0;
            continue;
        }
        int data1;
        if (*first & 0x80) {
            if (*first >= 0xF0) {
                return false; // system messages do not belong in a file
            }
            status = int(*first);
            const auto b = in.Byte();
            if (!b) {
                return false;
            }
            data1 = int(*b);
        } else {
            if (status == 0) {
                return false; // running status without a status before it
            }
            data1 = int(*first);
        }
        const int kind = status & 0xF0;
        const int channel = status & 0x0F;
        int data2 = 0;
        if (kind != 0xC0 && kind != 0xD0) {
            const auto b = in.Byte();
            if (!b) {
                return false;
            }
            data2 = int(*b);
        }
        if (data1 > 127 || data2 > 127) {
            return false;
        }
        const int key = channel * 128 + data1;
        if (kind == 0x90 && data2 > 0) {
            sounding[key].push_back({track, channel, data1, data2, tick, tick});
        } else if (kind == 0x80 || kind == 0x90) {
            auto &open = sounding[key];
            if (!open.empty()) {
                MidiNote note = open.front();
                open.erase(open.begin());
                note.endTick = tick;
                piece.notes.push_back(note);
            }
        } else if (kind == 0xC0) {
            piece.programs.push_back({channel, data1});
        }
    }
    for (const auto &[key, open] : sounding) {
        piece.unfinishedNotes += int(open.size());
    }
    piece.endTick = std::max(piece.endTick, tick);
    piece.trackNames.push_back(name);
    return true;
}

} // namespace

double MidiPiece::Seconds(std::int64_t tick) const
{
    double seconds = 0;
    std::int64_t from = 0;
    int micro = 500000; // 120 quarter notes a minute until a tempo is set
    for (const MidiTempo &tempo : tempos) {
        if (tempo.tick >= tick) {
            break;
        }
        seconds += double(tempo.tick - from) * micro / 1e6 / division;
        from = tempo.tick;
        micro = tempo.microsecondsPerQuarter;
    }
    return seconds + double(tick - from) * micro / 1e6 / division;
}

std::optional<MidiPiece> ReadMidiFile(std::span<const std::uint8_t> bytes)
{
    Reader in(bytes);
    if (!in.Tag("MThd")) {
        return std::nullopt;
    }
    const auto headerLength = in.Big(4);
    if (!headerLength || *headerLength < 6 || !in.Has(*headerLength)) {
        return std::nullopt;
    }
    MidiPiece piece;
    piece.format = int(*in.Big(2));
    piece.trackCount = int(*in.Big(2));
    piece.division = int(*in.Big(2));
    in.Skip(*headerLength - 6);
    // SMPTE timing (high bit set) and format 2 are not used by music files
    // of this kind; they are refused rather than played wrongly.
    if (piece.format > 1 || piece.trackCount < 1 || piece.division <= 0 || piece.division >= 0x8000
        || (piece.format == 0 && piece.trackCount != 1)) {
        return std::nullopt;
    }
    for (int track = 0; track < piece.trackCount; ++track) {
        // Chunks of other kinds may stand between the tracks.
        while (!in.Tag("MTrk")) {
            if (!in.Skip(4)) {
                return std::nullopt;
            }
            const auto length = in.Big(4);
            if (!length || !in.Skip(*length)) {
                return std::nullopt;
            }
        }
        const auto length = in.Big(4);
        if (!length || !in.Has(*length) || !ReadTrack(in.Take(*length), track, piece)) {
            return std::nullopt;
        }
    }
    std::stable_sort(piece.tempos.begin(), piece.tempos.end(),
        [](const MidiTempo &a, const MidiTempo &b) { return a.tick < b.tick; });
    return piece;
}

std::optional<MidiPiece> ReadMidiFile(const std::string &fileName)
{
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    char buffer[65536];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        bytes.insert(bytes.end(), buffer, buffer + file.gcount());
        if (bytes.size() > MaxFileBytes) {
            return std::nullopt;
        }
    }
    if (file.bad()) {
        return std::nullopt;
    }
    return ReadMidiFile(bytes);
}
