#include "PositionTable.h"

#include <algorithm>
#include <bit>
#include <cstring>

PositionCodec::PositionCodec(const Board &start)
{
    int bits = 6; // the hero's cell
    for (int i = 0; i < 64; ++i) {
        const CellCode c = start[static_cast<std::size_t>(i)];
        if (c == Empty)
            continue;
        const int width = c > 0 ? std::bit_width(static_cast<unsigned>(c)) : 1;
        // A field never straddles two words.
        if (bits / 64 != (bits + width - 1) / 64)
            bits = (bits / 64 + 1) * 64;
        fields_.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(bits), c > 0});
        bits += width;
    }
    words_ = (bits + 63) / 64;
}

void PositionCodec::Encode(const Position &p, std::uint64_t *out) const
{
    std::fill(out, out + words_, 0);
    out[0] = static_cast<std::uint64_t>(At(p.col, p.row));
    for (const Field &f : fields_) {
        const CellCode c = p.board[f.cell];
        const std::uint64_t value
            = f.counted ? static_cast<std::uint64_t>(c) : (c != Empty ? 1 : 0);
        out[f.shift / 64] |= value << (f.shift % 64);
    }
}

PositionTable::PositionTable(int words)
    : words_(words)
    , slots_(1024, 0)
{ }

std::uint64_t PositionTable::Hash(const std::uint64_t *key) const
{
    std::uint64_t h = 0x9E3779B97F4A7C15ULL;
    for (int i = 0; i < words_; ++i) {
        h ^= key[i];
        h *= 0xBF58476D1CE4E5B9ULL;
        h ^= h >> 31;
    }
    h *= 0x94D049BB133111EBULL;
    return h ^ (h >> 29);
}

bool PositionTable::Equal(std::uint32_t id, const std::uint64_t *key) const
{
    return std::memcmp(&keys_[static_cast<std::size_t>(id) * static_cast<std::size_t>(words_)], key,
               static_cast<std::size_t>(words_) * sizeof(std::uint64_t))
        == 0;
}

std::int64_t PositionTable::Find(const std::uint64_t *key) const
{
    const std::uint64_t h = Hash(key);
    const std::uint64_t tag = h >> 32;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
        const std::uint64_t slot = slots_[i];
        if (slot == 0)
            return -1;
        const auto id = static_cast<std::uint32_t>(slot) - 1;
        if ((slot >> 32) == tag && Equal(id, key))
            return id;
    }
}

std::uint32_t PositionTable::Insert(const std::uint64_t *key, bool &inserted)
{
    if ((count_ + 1) * 2 > slots_.size())
        Grow();
    const std::uint64_t h = Hash(key);
    const std::uint64_t tag = h >> 32;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
        const std::uint64_t slot = slots_[i];
        if (slot == 0) {
            const auto id = static_cast<std::uint32_t>(count_++);
            keys_.insert(keys_.end(), key, key + words_);
            slots_[i] = (tag << 32) | (id + 1);
            inserted = true;
            return id;
        }
        const auto id = static_cast<std::uint32_t>(slot) - 1;
        if ((slot >> 32) == tag && Equal(id, key)) {
            inserted = false;
            return id;
        }
    }
}

void PositionTable::Grow()
{
    std::vector<std::uint64_t> old(slots_.size() * 2, 0);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (std::uint64_t slot : old) {
        if (slot == 0)
            continue;
        const auto id = static_cast<std::uint32_t>(slot) - 1;
        const std::uint64_t h
            = Hash(&keys_[static_cast<std::size_t>(id) * static_cast<std::size_t>(words_)]);
        std::size_t i = h & mask;
        while (slots_[i] != 0)
            i = (i + 1) & mask;
        slots_[i] = slot;
    }
}
