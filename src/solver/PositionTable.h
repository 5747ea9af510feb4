// Positions packed into a few 64-bit words, and a hash table of them.
#pragma once

#include "Engine.h"

#include <cstdint>
#include <vector>

// Packs the positions of one level: the hero's cell and, for every cell that
// holds a tile at the start, what is left of it. Tiles only ever lose slabs
// or vanish, so that is all a position can differ in.
class PositionCodec
{
public:
    explicit PositionCodec(const Board &start);

    int Words() const { return words_; }
    void Encode(const Position &p, std::uint64_t *out) const;

private:
    struct Field
    {
        std::uint8_t cell;
        std::uint8_t shift; // bit position
        bool counted; // a counted tile keeps its count, any other tile one bit
    };
    std::vector<Field> fields_;
    int words_ = 1;
};

// Open addressing over packed keys; every key gets a dense id from 0 on.
class PositionTable
{
public:
    explicit PositionTable(int words);

    // The id of the key and whether it was new.
    std::uint32_t Insert(const std::uint64_t *key, bool &inserted);
    // The id of the key, or -1.
    std::int64_t Find(const std::uint64_t *key) const;
    std::size_t Size() const { return count_; }

private:
    std::uint64_t Hash(const std::uint64_t *key) const;
    bool Equal(std::uint32_t id, const std::uint64_t *key) const;
    void Grow();

    int words_;
    std::size_t count_ = 0;
    std::vector<std::uint64_t> keys_; // words_ per id
    std::vector<std::uint64_t> slots_; // high 32 bits hash tag, low 32 bits id + 1; 0 empty
};
