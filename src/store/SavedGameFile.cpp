#include "SavedGameFile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

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

bool EndsWithExtension(const std::string &name)
{
    if (name.size() < 4)
        return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == SavedGameExtension;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Writes all bytes and forces them to the disk before the rename makes them
// the saved game.
bool WriteDurably(const std::string &path, const std::vector<std::uint8_t> &bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ::close(fd);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
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

std::string GamesFolder(const std::string &programFolder)
{
    return programFolder + "games/";
}

std::string SavedGamePath(const std::string &programFolder, const std::string &name)
{
    return GamesFolder(programFolder) + name + SavedGameExtension;
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

SaveOutcome SaveGameFile(
    const std::string &programFolder, const std::string &name, const SolvedRecord &record)
{
    if (!IsUsableGameName(name))
        return SaveOutcome::Failed;
    const std::string path = SavedGamePath(programFolder, name);
    // The temporary name never ends in ".twp", so a listing never shows it.
    const std::string temp = path + ".tmp" + std::to_string(::getpid());
    if (!WriteDurably(temp, EncodeSolvedRecord(record))) {
        std::error_code ec;
        fs::remove(temp, ec);
        return SaveOutcome::Failed;
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        return SaveOutcome::Failed;
    }
    return SaveOutcome::Saved;
}

LoadOutcome LoadGameFile(
    const std::string &programFolder, const std::string &name, SolvedRecord &record)
{
    record.fill(0);
    if (!IsUsableGameName(name))
        return LoadOutcome::Missing;
    const std::string path = SavedGamePath(programFolder, name);
    std::error_code ec;
    if (!fs::exists(path, ec))
        return LoadOutcome::Missing;

    std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(
        std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return LoadOutcome::Failed;
    std::array<std::uint8_t, SavedGameBytes> bytes {};
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    // Marks read before a failure are kept, as far as they are whole.
    for (std::size_t i = 0; i + 4 <= got; i += 4) {
        const std::uint32_t value = std::uint32_t(bytes[i]) | std::uint32_t(bytes[i + 1]) << 8
            | std::uint32_t(bytes[i + 2]) << 16 | std::uint32_t(bytes[i + 3]) << 24;
        record[i / 4] = static_cast<std::int32_t>(value);
    }
    if (std::ferror(file.get()))
        return LoadOutcome::Failed;
    return LoadOutcome::Loaded;
}

std::vector<std::string> ListSavedGames(const std::string &programFolder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(GamesFolder(programFolder), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (EndsWithExtension(entry) && entry.size() > 4)
            names.push_back(entry.substr(0, entry.size() - 4));
    }
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        const std::string la = Lower(a);
        const std::string lb = Lower(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

void CreateGamesFolder(const std::string &programFolder)
{
    std::error_code ec;
    fs::create_directory(GamesFolder(programFolder), ec);
}

bool IsReadOnlyMedium(const std::string &programFolder)
{
    return Probe() ? Probe()(programFolder) : RealReadOnlyProbe(programFolder);
}

void SetReadOnlyProbe(ReadOnlyProbe probe)
{
    Probe() = std::move(probe);
}

std::string SaveFailedMessage(const std::string &name, int language)
{
    const std::string file = name + SavedGameExtension;
    return language == 1
        ? "Kann Spiel " + file + " nicht speichern. Datenträger voll oder nicht beschreibbar."
        : "Cannot save game " + file + ". Drive full or not writable.";
}

std::string LoadFailedMessage(const std::string &name, int language)
{
    return language == 1 ? "Fehler beim Laden des Spiels " + name + "!"
                         : "Error occured while loading file " + name + "!";
}

std::string ReadOnlyMediumNotice(int language)
{
    return language == 1 ? "Auf CD-Rom kann nichts gespeichert werden. Bitte installiere das "
                           "Spiel auf Deiner Festplatte."
                         : "I cannot store anything on a CD-Rom. Please install the game to your "
                           "harddisk.";
}
