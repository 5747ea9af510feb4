#include "LevelSet.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <filesystem>
#include <memory>

const LevelRecord &LevelTable::Get(int level) const
{
    assert(level >= 1 && level <= Count());
    return records_[static_cast<std::size_t>(level - 1)];
}

LevelRecord DecodeRecord(std::span<const std::uint8_t, RecordSize> bytes)
{
    LevelRecord record;
    for (int i = 0; i < 64; ++i)
        record.cells[static_cast<std::size_t>(i)]
            = static_cast<CellCode>(bytes[static_cast<std::size_t>(i)]);
    record.startCol = bytes[64];
    record.startRow = bytes[65];
    return record;
}

std::vector<std::uint8_t> EncodeLevelSet(const LevelTable &table)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(table.Count()) * RecordSize);
    for (int level = 1; level <= table.Count(); ++level) {
        const LevelRecord &record = table.Get(level);
        for (CellCode c : record.cells)
            bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(record.startCol);
        bytes.push_back(record.startRow);
    }
    return bytes;
}

LevelSetResult ParseLevelSet(std::span<const std::uint8_t> bytes)
{
    LevelSetResult result;
    const std::size_t whole = std::min<std::size_t>(bytes.size() / RecordSize, MaxLevels);
    if (whole == 0) {
        result.error = LevelSetError::NoLevel;
        return result;
    }
    LevelTable table;
    for (std::size_t k = 0; k < whole; ++k) {
        LevelRecord record = DecodeRecord(bytes.subspan(k * RecordSize).first<RecordSize>());
        // The rules index the board through the hero's position, so a start
        // outside the board would be read as a cell that does not exist.
        if (!OnBoard(record.startCol, record.startRow)) {
            result.error = LevelSetError::StartOutside;
            result.badLevel = static_cast<int>(k) + 1;
            return result;
        }
        table.Add(record);
    }
    result.table = std::move(table);
    return result;
}

LevelSetResult LoadLevelSet(const std::string &programFolder)
{
    LevelSetResult failed;
    failed.error = LevelSetError::CannotOpen;

    const std::string path = programFolder + LevelSetFileName;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return failed;
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(
        std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return failed;

    // Nothing past the 500th record is read.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(MaxLevels) * RecordSize);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get()))
        return failed;
    bytes.resize(got);
    return ParseLevelSet(bytes);
}

std::string LevelSetMessage(const LevelSetResult &result, int language)
{
    const bool german = language == 1;
    switch (result.error) {
    case LevelSetError::None:
        return {};
    case LevelSetError::CannotOpen:
        return german ? "Datei TMBW.DAT konnte nicht gefunden werden. Programm wird abgebrochen."
                      : "Can't find file TMBW.DAT. Program aborted.";
    case LevelSetError::NoLevel:
        return german ? "Datei TMBW.DAT enthält keine Stufe. Programm wird abgebrochen."
                      : "File TMBW.DAT holds no level. Program aborted.";
    case LevelSetError::StartOutside: {
        const std::string n = std::to_string(result.badLevel);
        return german
            ? "Stufe " + n
                + " in Datei TMBW.DAT beginnt außerhalb des Spielfelds. Programm wird abgebrochen."
            : "Level " + n + " in file TMBW.DAT starts outside the board. Program aborted.";
    }
    }
    return {};
}

int StartLevel(int settingLevel, int levelCount)
{
    return std::clamp(settingLevel, 1, levelCount);
}
