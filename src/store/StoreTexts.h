// What the player is told about saved games and settings, in the player's
// language (German when language is 1, English otherwise).
#pragma once

#include "SafeFile.h"

#include <string>

std::string SaveFailedMessage(const std::string &name, int language);
std::string LoadFailedMessage(const std::string &name, int language);
std::string ReadOnlyMediumNotice(int language);

// Why a file could not be read or written, in a few words.
std::string FileProblem(const FileResult &result, int language);

// The settings file exists but could not be read: the game runs with the
// defaults and leaves the file alone.
std::string SettingsUnreadableMessage(
    const std::string &file, const FileResult &result, int language);
// The settings could not be written at close.
std::string SettingsNotSavedMessage(
    const std::string &file, const FileResult &result, int language);

// After a save that failed while the player leaves the game: what the
// choices say.
enum class Leaving { Close, Load, NewGame };
std::string UnsavedExplanation(int language);
std::string SaveUnderAnotherName(int language);
std::string GoOnWithoutSaving(Leaving leaving, int language);
std::string StayInTheGame(int language);
