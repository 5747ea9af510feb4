// Where the game reads its data and where it keeps the player's games.
//
// A portable copy (the build's game folder, or any copy of that folder) has
// its level set beside the program and keeps its games in games/ there, as
// long as the player may write there. An installed copy reads its data from
// the install's data folder, found relative to the program so that the whole
// install may move, and keeps the games in the player's own data folder; so
// does a portable copy that the player may not write to. Only when neither
// place takes files and the program lies on a read-only medium is nothing
// saved at all.
#pragma once

#include <functional>
#include <string>

// The install's data folder as seen from the program folder, for example
// "/usr/share/tumblewick/" for "/usr/bin/"; ends in "/".
std::string InstalledDataFolder(const std::string &programFolder);

// Where the level set, the music and the help file are read from: the
// program folder when it holds the level set, else the install's data folder
// when there is one, else the program folder, where the missing level set is
// then reported as always.
std::string FindDataFolder(const std::string &programFolder);

// The player's own games folder, $XDG_DATA_HOME/QuirkGames/Tumblewick/games/,
// with `home`/.local/share when the variable is unset or not an absolute
// path; ends in "/". Empty when there is no absolute folder to use.
std::string PlayersGamesFolder(const char *xdgDataHome, const std::string &home);
// The same from the environment, the home folder from HOME or else from the
// password database.
std::string PlayersGamesFolder();

enum class GamesPlace {
    BesideProgram, // games/ in the program folder
    PlayersOwn, // the player's own games folder
    Nowhere, // a read-only medium and no folder of the player's: the notice
};

// What the choice depends on, as the system tells it.
struct FolderFacts
{
    bool portable = true; // the data lies beside the program
    bool programWritable = true; // the player may write the program's games folder
    bool readOnlyMedium = false; // the program lies on a read-only medium
    bool playersFolderKnown = true; // there is a folder of the player's to try
    // Creates the player's own games folder (with its parents) when it is
    // missing; true when it then takes files. Called only when the program
    // folder will not do, so that a portable copy never creates it.
    std::function<bool()> makePlayersFolder;
};

// A place that is known but cannot take files is still chosen, so that a
// save there fails with the usual error box and the player keeps the game.
GamesPlace ChooseGamesPlace(const FolderFacts &facts);

struct GamesFolderChoice
{
    GamesPlace place = GamesPlace::BesideProgram;
    std::string folder; // ends in "/"; empty when the place is Nowhere
};

// Asks the system for the facts about these folders, chooses, and creates
// the player's own folder when it is chosen. `playersFolder` may be empty
// when the player has none.
GamesFolderChoice SettleGamesFolder(const std::string &programFolder, const std::string &dataFolder,
    const std::string &playersFolder);
