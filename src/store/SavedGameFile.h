// Saved games: the record of solved levels under a name the player chooses,
// one file of exactly 2000 bytes per game in the games folder (beside the
// program, or the player's own; GameFolders.h chooses). Every operation takes
// that folder, ending in "/"; an empty folder is no folder, and nothing is
// read or written for it.
#pragma once

#include "SafeFile.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

constexpr int SavedMarks = 500;
constexpr int SavedGameBytes = SavedMarks * 4;
constexpr const char *SavedGameExtension = ".twp";

using SolvedRecord = std::array<std::int32_t, SavedMarks>;

// A name that can only name a file inside the games folder: not empty, not
// "." or "..", and without path separators, control characters or the
// characters other systems refuse in file names. Anything else could write
// outside the folder or make a file no other copy of the game could read.
bool IsUsableGameName(std::string_view name);

// ProgramFolder + "games/", where a portable copy keeps its games; the
// program folder ends in "/".
std::string GamesBesideProgram(const std::string &programFolder);

// A game as the games folder lists it: its name (the file name without the
// four characters of its ".twp", which may be in any case) and its file
// name, both as the bytes the file system holds, whatever their encoding.
struct SavedGame
{
    std::string name;
    std::string fileName;
    bool operator==(const SavedGame &) const = default;
};

// Every entry of the games folder whose name ends in ".twp" in any case
// (folders too, as with any listing of "*.twp"), in name order with case
// ignored.
std::vector<SavedGame> ListSavedGames(const std::string &gamesFolder);

// The file that holds the game of a name: name + ".twp", or, when no such
// file exists but one whose extension differs only in case does, that one,
// so that a game is always saved where it was found.
std::string SavedGamePath(const std::string &gamesFolder, const std::string &name);
// The same without the folder.
std::string SavedGameFileName(const std::string &gamesFolder, const std::string &name);

// The 2000 bytes of a record: 500 little-endian signed 32-bit marks.
std::vector<std::uint8_t> EncodeSolvedRecord(const SolvedRecord &record);
// As many whole marks as the bytes hold, the others 0.
SolvedRecord DecodeSolvedRecord(std::string_view bytes);

// Replaces the game's file in one step, so that a save that fails half-way
// keeps the earlier file whole. An unusable name fails (EINVAL) without
// writing anything anywhere.
FileResult SaveGameFile(
    const std::string &gamesFolder, const std::string &name, const SolvedRecord &record);
// The same into the file a game was listed or loaded from.
FileResult SaveGameFile(
    const std::string &gamesFolder, const SavedGame &game, const SolvedRecord &record);

// Reads a game into a record of its own; the caller decides what to do with
// it. Missing: no such file, or a name no file may have. Any other failure
// (a folder, a link loop, no permission) is reported. A shorter file fills
// what it holds; bytes after the 2000th are not read.
struct LoadedGame
{
    FileResult result;
    SolvedRecord record {};
};
LoadedGame LoadGameFile(const std::string &gamesFolder, const std::string &name);
// A game as the games folder listed it, read from exactly that file.
LoadedGame LoadSavedGame(const std::string &gamesFolder, const SavedGame &game);

// Creates the games folder (an existing folder or a failure is ignored) and
// removes what saves of earlier runs that ended half-way left in it.
void CreateGamesFolder(const std::string &gamesFolder);

// Whether the program runs from a read-only medium, where nothing can be
// saved: our stand-in for a CD-ROM drive. Tests replace the probe.
using ReadOnlyProbe = std::function<bool(const std::string &programFolder)>;
bool IsReadOnlyMedium(const std::string &programFolder);
void SetReadOnlyProbe(ReadOnlyProbe probe); // an empty probe restores the real one
