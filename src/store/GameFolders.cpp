#include "GameFolders.h"

#include "LevelSet.h"
#include "SavedGameFile.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef TUMBLEWICK_DATA_FROM_PROGRAM
#error "the build sets TUMBLEWICK_DATA_FROM_PROGRAM, the data folder relative to the program"
#endif

namespace fs = std::filesystem;

namespace {

bool IsFolder(const std::string &path)
{
    struct stat info
    { };
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Writable(const std::string &folder)
{
    return IsFolder(folder) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

// Creates each missing folder of the path for the player alone, as folders
// in the player's data folder are made.
bool MakeFolders(const std::string &folder)
{
    std::string path;
    for (const fs::path &part : fs::path(folder)) {
        path = (fs::path(path) / part).string();
        if (part.empty() || part == "/" || IsFolder(path))
            continue;
        if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return Writable(folder);
}

} // namespace

std::string InstalledDataFolder(const std::string &programFolder)
{
    // The program's own folder has its links resolved already, so "bin/.."
    // may be taken away by the letters alone, for shorter paths in messages.
    std::string folder
        = fs::path(programFolder + TUMBLEWICK_DATA_FROM_PROGRAM).lexically_normal().string();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string FindDataFolder(const std::string &programFolder)
{
    struct stat info
    { };
    if (::stat((programFolder + LevelSetFileName).c_str(), &info) == 0)
        return programFolder;
    const std::string installed = InstalledDataFolder(programFolder);
    return IsFolder(installed) ? installed : programFolder;
}

std::string PlayersGamesFolder(const char *xdgDataHome, const std::string &home)
{
    fs::path base;
    if (xdgDataHome && fs::path(xdgDataHome).is_absolute())
        base = xdgDataHome;
    else if (fs::path(home).is_absolute())
        base = fs::path(home) / ".local" / "share";
    else
        return {};
    return (base / "QuirkGames" / "Tumblewick" / "games").string() + "/";
}

std::string PlayersGamesFolder()
{
    const char *home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd *entry = ::getpwuid(::getuid());
        home = entry ? entry->pw_dir : "";
    }
    return PlayersGamesFolder(std::getenv("XDG_DATA_HOME"), home);
}

GamesPlace ChooseGamesPlace(const FolderFacts &facts)
{
    if (facts.portable && facts.programWritable && !facts.readOnlyMedium)
        return GamesPlace::BesideProgram;
    if (facts.playersFolderKnown && facts.makePlayersFolder && facts.makePlayersFolder())
        return GamesPlace::PlayersOwn;
    if (facts.readOnlyMedium)
        return GamesPlace::Nowhere;
    // Neither folder takes files now: saves go where they belong and fail
    // there with the error box, which lets the player keep the game.
    return facts.playersFolderKnown ? GamesPlace::PlayersOwn : GamesPlace::BesideProgram;
}

GamesFolderChoice SettleGamesFolder(const std::string &programFolder, const std::string &dataFolder,
    const std::string &playersFolder)
{
    const std::string beside = GamesBesideProgram(programFolder);
    FolderFacts facts;
    facts.portable = dataFolder == programFolder;
    // An existing games folder decides, so that a folder made writable for
    // the player in a shared copy is used.
    facts.programWritable = Writable(IsFolder(beside) ? beside : programFolder);
    facts.readOnlyMedium = IsReadOnlyMedium(programFolder);
    facts.playersFolderKnown = !playersFolder.empty();
    facts.makePlayersFolder = [&playersFolder] { return MakeFolders(playersFolder); };

    switch (ChooseGamesPlace(facts)) {
    case GamesPlace::BesideProgram:
        return {GamesPlace::BesideProgram, beside};
    case GamesPlace::PlayersOwn:
        return {GamesPlace::PlayersOwn, playersFolder};
    case GamesPlace::Nowhere:
        break;
    }
    return {GamesPlace::Nowhere, {}};
}
