#include "SavedGameFile.h"

#include "AsciiCase.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace fs = std::filesystem;

namespace {

ReadOnlyProbe &Probe()
{
    static ReadOnlyProbe probe;
    return probe;
}

bool RealReadOnlyProbe(const std::string &programFolder)
{
    struct statvfs info
    { };
    return statvfs(programFolder.c_str(), &info) == 0 && (info.f_flag & ST_RDONLY) != 0;
}

} // namespace

bool IsUsableGameName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7f)
            return false;
        if (std::string_view("/\\<>:\"|?*").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    }
    return true;
}

std::string GamesBesideProgram(const std::string &programFolder)
{
    return programFolder + "games/";
}

std::vector<SavedGame> ListSavedGames(const std::string &gamesFolder)
{
    std::vector<SavedGame> games;
    if (gamesFolder.empty())
        return games;
    std::error_code ec;
    for (fs::directory_iterator it(gamesFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().native();
        if (entry.size() > 4 && EndsWithIgnoringCase(entry, SavedGameExtension))
            games.push_back({entry.substr(0, entry.size() - 4), entry});
    }
    std::sort(games.begin(), games.end(), [](const SavedGame &a, const SavedGame &b) {
        return a.name != b.name ? LessIgnoringCase(a.name, b.name)
                                : LessIgnoringCase(a.fileName, b.fileName);
    });
    return games;
}

std::string SavedGameFileName(const std::string &gamesFolder, const std::string &name)
{
    const std::string usual = name + SavedGameExtension;
    struct stat info
    { };
    if (::lstat((gamesFolder + usual).c_str(), &info) == 0 || errno != ENOENT)
        return usual;
    for (const SavedGame &game : ListSavedGames(gamesFolder)) {
        if (game.name == name)
            return game.fileName;
    }
    return usual;
}

std::string SavedGamePath(const std::string &gamesFolder, const std::string &name)
{
    return gamesFolder + SavedGameFileName(gamesFolder, name);
}

std::vector<std::uint8_t> EncodeSolvedRecord(const SolvedRecord &record)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(SavedGameBytes);
    for (std::int32_t mark : record) {
        const auto value = static_cast<std::uint32_t>(mark);
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    return bytes;
}

SolvedRecord DecodeSolvedRecord(std::string_view bytes)
{
    SolvedRecord record {};
    const auto byte = [&](std::size_t i) { return std::uint32_t(std::uint8_t(bytes[i])); };
    for (std::size_t i = 0; i + 4 <= bytes.size() && i < SavedGameBytes; i += 4) {
        const std::uint32_t value
            = byte(i) | byte(i + 1) << 8 | byte(i + 2) << 16 | byte(i + 3) << 24;
        record[i / 4] = static_cast<std::int32_t>(value);
    }
    return record;
}

namespace {

// A listed file name is one entry of the games folder, and only that.
bool IsPlainFileName(const std::string &fileName)
{
    return !fileName.empty() && fileName != "." && fileName != ".."
        && fileName.find('/') == std::string::npos;
}

FileResult SaveRecord(const std::string &path, const SolvedRecord &record)
{
    const std::vector<std::uint8_t> bytes = EncodeSolvedRecord(record);
    return ReplaceFile(
        path, std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
}

LoadedGame LoadRecord(const std::string &path)
{
    LoadedGame loaded;
    std::string bytes;
    loaded.result = ReadSmallFile(path, SavedGameBytes, true, bytes);
    if (loaded.result.ok())
        loaded.record = DecodeSolvedRecord(bytes);
    return loaded;
}

} // namespace

FileResult SaveGameFile(
    const std::string &gamesFolder, const std::string &name, const SolvedRecord &record)
{
    if (gamesFolder.empty() || !IsUsableGameName(name))
        return {FileResult::Failed, EINVAL};
    return SaveRecord(SavedGamePath(gamesFolder, name), record);
}

FileResult SaveGameFile(
    const std::string &gamesFolder, const SavedGame &game, const SolvedRecord &record)
{
    if (gamesFolder.empty() || !IsUsableGameName(game.name) || !IsPlainFileName(game.fileName))
        return {FileResult::Failed, EINVAL};
    return SaveRecord(gamesFolder + game.fileName, record);
}

LoadedGame LoadGameFile(const std::string &gamesFolder, const std::string &name)
{
    if (gamesFolder.empty() || !IsUsableGameName(name))
        return {{FileResult::Missing, EINVAL}, {}};
    return LoadRecord(SavedGamePath(gamesFolder, name));
}

LoadedGame LoadSavedGame(const std::string &gamesFolder, const SavedGame &game)
{
    if (gamesFolder.empty() || !IsPlainFileName(game.fileName))
        return {{FileResult::Missing, EINVAL}, {}};
    return LoadRecord(gamesFolder + game.fileName);
}

void CreateGamesFolder(const std::string &gamesFolder)
{
    if (gamesFolder.empty())
        return;
    std::error_code ec;
    fs::create_directory(gamesFolder, ec);
    RemoveStaleTemporaries(gamesFolder);
}

bool IsReadOnlyMedium(const std::string &programFolder)
{
    return Probe() ? Probe()(programFolder) : RealReadOnlyProbe(programFolder);
}

void SetReadOnlyProbe(ReadOnlyProbe probe)
{
    Probe() = std::move(probe);
}
