#include "LevelFile.h"

#include "LevelText.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

bool IsBinaryPath(const std::string &path)
{
    std::string ext = std::filesystem::path(path).extension().string();
    for (char &c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".dat";
}

bool ReadFile(const std::string &path, std::string &content, std::string &message)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        message = path + ": is a folder, not a file";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        message = path + ": cannot open: " + std::strerror(errno);
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        message = path + ": cannot read";
        return false;
    }
    content = buffer.str();
    return true;
}

bool WriteFile(const std::string &path, const std::string &content, std::string &message)
{
    // Write beside the target and rename, so a failed write never leaves a
    // half-written level set behind.
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.close();
        if (!out) {
            message = path + ": cannot write";
            std::filesystem::remove(temporary);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        message = path + ": cannot write: " + ec.message();
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

namespace {

bool DecodeLevels(const std::string &path, const std::string &bytes,
    std::vector<LevelRecord> &levels, std::string &message)
{
    const std::size_t size = bytes.size();
    const std::size_t whole = size / RecordSize;
    if (size < RecordSize) {
        message = path + ": " + std::to_string(size)
            + " bytes, shorter than one level (a level record has 66 bytes)";
        return false;
    }
    if (size % RecordSize != 0) {
        message = path + ": level " + std::to_string(whole + 1) + " at byte offset "
            + std::to_string(whole * RecordSize)
            + " is cut off: " + std::to_string(size % RecordSize) + " of 66 bytes";
        return false;
    }
    if (whole > MaxLevels) {
        message = path + ": " + std::to_string(whole) + " levels; a level set holds at most "
            + std::to_string(MaxLevels) + " (the game ignores the rest)";
        return false;
    }
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.data());
    const LevelSetResult parsed = ParseLevelSet({data, size});
    if (parsed.error == LevelSetError::StartOutside) {
        const std::size_t offset = static_cast<std::size_t>(parsed.badLevel - 1) * RecordSize;
        message = path + ": level " + std::to_string(parsed.badLevel) + " at byte offset "
            + std::to_string(offset) + " starts outside the board: column "
            + std::to_string(data[offset + 64]) + ", row " + std::to_string(data[offset + 65])
            + " (both must lie in 0..7)";
        return false;
    }
    if (!parsed.ok()) {
        message = path + ": not a level set";
        return false;
    }
    for (int k = 1; k <= parsed.table.Count(); ++k)
        levels.push_back(parsed.table.Get(k));
    return true;
}

} // namespace

bool ReadLevelTexts(
    const std::vector<std::string> &paths, std::vector<LevelRecord> &levels, std::string &message)
{
    for (const std::string &path : paths) {
        std::string text;
        if (!ReadFile(path, text, message))
            return false;
        TextError error;
        if (!ParseLevelText(text, path, levels, error)) {
            message = error.Format();
            return false;
        }
    }
    if (levels.empty()) {
        message = (paths.empty() ? std::string("no input") : paths.back())
            + ": no level found (a level begins with 'level 1')";
        return false;
    }
    return true;
}

bool ReadLevels(const std::string &path, std::vector<LevelRecord> &levels, std::string &message)
{
    if (!IsBinaryPath(path))
        return ReadLevelTexts({path}, levels, message);
    std::string bytes;
    return ReadFile(path, bytes, message) && DecodeLevels(path, bytes, levels, message);
}

std::string EncodeLevels(const std::vector<LevelRecord> &levels)
{
    LevelTable table;
    for (const LevelRecord &level : levels)
        table.Add(level);
    const std::vector<std::uint8_t> bytes = EncodeLevelSet(table);
    return {bytes.begin(), bytes.end()};
}
