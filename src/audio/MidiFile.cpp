#include "MidiFile.h"

#include "RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <map>

#include <unistd.h>

namespace {

// The note-ons of one key on one channel that no note-off has ended yet. A
// note-off ends the oldest of them, so this is a queue; taking from its front
// is constant time, however many notes of the key pile up.
class OpenNotes
{
public:
    void Push(const MidiNote &note) { notes_.push_back(note); }
    bool Empty() const { return next_ == notes_.size(); }
    std::size_t Size() const { return notes_.size() - next_; }
    MidiNote Pop()
    {
        MidiNote note = notes_[next_++];
        if (next_ == notes_.size()) {
            notes_.clear();
            next_ = 0;
        }
        return note;
    }

private:
    std::vector<MidiNote> notes_;
    std::size_t next_ = 0;
};

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

// What the tracks read so far have used of the bounds.
struct Budget
{
    int events = 0;
    int notes = 0;
};

bool ReadTrack(std::span<const std::uint8_t> data, int track, MidiPiece &piece, Budget &used)
{
    Reader in(data);
    std::int64_t tick = 0;
    int status = 0;
    std::map<int, OpenNotes> sounding; // by channel * 128 + key
    std::string name;
    while (true) {
        if (++used.events > MaxMidiEvents) {
            return false;
        }
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
            if (++used.notes > MaxMidiNotes) {
                return false;
            }
            sounding[key].Push({track, channel, data1, data2, tick, tick});
        } else if (kind == 0x80 || kind == 0x90) {
            const auto open = sounding.find(key);
            if (open != sounding.end() && !open->second.Empty()) {
                MidiNote note = open->second.Pop();
                note.endTick = tick;
                piece.notes.push_back(note);
            }
        } else if (kind == 0xC0) {
            piece.programs.push_back({channel, data1});
        }
    }
    for (const auto &[key, open] : sounding) {
        piece.unfinishedNotes += int(open.Size());
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
    Budget used;
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
        if (!length || !in.Has(*length) || !ReadTrack(in.Take(*length), track, piece, used)) {
            return std::nullopt;
        }
    }
    std::stable_sort(piece.tempos.begin(), piece.tempos.end(),
        [](const MidiTempo &a, const MidiTempo &b) { return a.tick < b.tick; });
    return piece;
}

std::optional<std::vector<std::uint8_t>> ReadMidiBytes(const std::string &fileName)
{
    // A named pipe among the pieces cannot hold up the start: it is refused
    // at once, like every other non-file.
    const RegularFile file(fileName.c_str());
    if (!file.IsOpen() || std::uint64_t(file.Size()) > MaxMidiFileBytes) {
        return std::nullopt;
    }
    const int fd = file.Descriptor();
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::size_t(file.Size()));
    std::uint8_t buffer[65536];
    while (true) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        // The file may grow while it is read; the bound holds all the same.
        if (bytes.size() + std::size_t(got) > MaxMidiFileBytes) {
            return std::nullopt;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return bytes;
}

std::optional<MidiPiece> ReadMidiFile(const std::string &fileName)
{
    const auto bytes = ReadMidiBytes(fileName);
    return bytes ? ReadMidiFile(*bytes) : std::nullopt;
}
