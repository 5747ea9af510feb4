#include "LevelSet.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // Opened without waiting: a named pipe in the file's place would
    // otherwise hold the start up until some writer came along. It is then
    // turned away, as is a folder or a device, like a file that is missing.
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return failed;
    const std::unique_ptr<int, void (*)(int *)> closer(&fd, [](int *f) { ::close(*f); });
    struct stat info
    { };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return failed;

    // Nothing past the 500th record is read.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(MaxLevels) * RecordSize);
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failed;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
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
