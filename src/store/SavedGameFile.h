// Saved games: the record of solved levels under a name the player chooses,
// one file of exactly 2000 bytes per game in the games folder beside the
// program.
#pragma once

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

// ProgramFolder + "games/"; the program folder ends in "/".
std::string GamesFolder(const std::string &programFolder);
// The file of a game: ProgramFolder + "games/" + name + ".twp".
std::string SavedGamePath(const std::string &programFolder, const std::string &name);

// The 2000 bytes of a record: 500 little-endian signed 32-bit marks.
std::vector<std::uint8_t> EncodeSolvedRecord(const SolvedRecord &record);

enum class SaveOutcome { Saved, Failed };

// Writes the record beside the old file and renames it over the old one, so
// a save that fails half-way keeps the earlier file whole. An unusable name
// fails without writing anything anywhere.
SaveOutcome SaveGameFile(
    const std::string &programFolder, const std::string &name, const SolvedRecord &record);

enum class LoadOutcome {
    Loaded,
    Missing, // no such file, or a name no file may have: forgotten silently
    Failed, // the file exists but could not be read
};

// Clears all 500 marks, then fills as many as the file holds (a shorter file
// fills what it holds, bytes after the 2000th are not read).
LoadOutcome LoadGameFile(
    const std::string &programFolder, const std::string &name, SolvedRecord &record);

// The names of the saved games: every entry of the games folder whose name
// ends in ".twp" (folders too, as with any listing of "*.twp"), without that
// ending, in name order with case ignored.
std::vector<std::string> ListSavedGames(const std::string &programFolder);

// Creates the games folder; an existing folder or a failure is ignored.
void CreateGamesFolder(const std::string &programFolder);

// Whether the program runs from a read-only medium, where nothing can be
// saved: our stand-in for a CD-ROM drive. Tests replace the probe.
using ReadOnlyProbe = std::function<bool(const std::string &programFolder)>;
bool IsReadOnlyMedium(const std::string &programFolder);
void SetReadOnlyProbe(ReadOnlyProbe probe); // an empty probe restores the real one

// Texts in the player's language (German when language is 1).
std::string SaveFailedMessage(const std::string &name, int language);
std::string LoadFailedMessage(const std::string &name, int language);
std::string ReadOnlyMediumNotice(int language);
