// The level set file: headerless 66-byte records, at most 500 of them.
#pragma once

#include "Board.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

constexpr int MaxLevels = 500;
constexpr int RecordSize = 66;
constexpr const char *LevelSetFileName = "tmbw.dat";

struct LevelRecord
{
    Board cells {}; // bytes 0..63, two's complement
    std::uint8_t startCol = 0; // byte 64, unsigned
    std::uint8_t startRow = 0; // byte 65, unsigned

    bool operator==(const LevelRecord &) const = default;
};

// Levels numbered from 1. Play never writes into the table, so reloading a
// level always brings back its stored state.
class LevelTable
{
public:
    int Count() const { return static_cast<int>(records_.size()); }
    const LevelRecord &Get(int level) const;
    void Add(const LevelRecord &record) { records_.push_back(record); }
    bool operator==(const LevelTable &) const = default;

private:
    std::vector<LevelRecord> records_;
};

enum class LevelSetError {
    None,
    CannotOpen, // missing or unreadable
    NoLevel, // shorter than one record
    StartOutside, // a start column or row outside 0..7
};

struct LevelSetResult
{
    LevelTable table;
    LevelSetError error = LevelSetError::None;
    int badLevel = 0; // the record that failed, for StartOutside

    bool ok() const { return error == LevelSetError::None; }
};

// Reads min(N, 500) whole records; bytes after the last whole record and
// records after the 500th are never looked at.
LevelSetResult ParseLevelSet(std::span<const std::uint8_t> bytes);

// Loads ProgramFolder + "tmbw.dat". The folder ends in a path separator.
// Anything but a regular file (or a link to one) cannot be opened, and only
// the first 500 records are ever read.
LevelSetResult LoadLevelSet(const std::string &programFolder);

// The message the program shows before it ends, German when language is 1.
std::string LevelSetMessage(const LevelSetResult &result, int language);

LevelRecord DecodeRecord(std::span<const std::uint8_t, RecordSize> bytes);
std::vector<std::uint8_t> EncodeLevelSet(const LevelTable &table);

// The setting "level" brought into 1..levelCount.
int StartLevel(int settingLevel, int levelCount);
