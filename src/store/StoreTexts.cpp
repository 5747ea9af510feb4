#include "StoreTexts.h"

#include "SavedGameFile.h"

#include <cerrno>
#include <cstring>

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

std::string FileProblem(const FileResult &result, int language)
{
    const bool german = language == 1;
    switch (result.outcome) {
    case FileResult::Done:
        return "";
    case FileResult::Missing:
        return german ? "nicht vorhanden" : "not found";
    case FileResult::NotRegular:
        if (result.error == EISDIR)
            return german ? "ein Ordner statt einer Datei" : "a folder, not a file";
        return german ? "keine gewöhnliche Datei" : "not an ordinary file";
    case FileResult::TooLarge:
        return german ? "zu groß" : "too large";
    case FileResult::Failed:
        break;
    }
    switch (result.error) {
    case EACCES:
    case EPERM:
        return german ? "keine Berechtigung" : "permission denied";
    case ENOSPC:
    case EDQUOT:
        return german ? "Datenträger voll" : "disk full";
    case EROFS:
        return german ? "schreibgeschützt" : "read-only";
    case ELOOP:
        return german ? "Verknüpfung im Kreis" : "a link that points to itself";
    case EISDIR:
        return german ? "ein Ordner statt einer Datei" : "a folder, not a file";
    case ENOTDIR:
        return german ? "ein Teil des Pfades ist kein Ordner" : "part of the path is not a folder";
    default:
        return std::strerror(result.error);
    }
}

std::string SettingsUnreadableMessage(
    const std::string &file, const FileResult &result, int language)
{
    return language == 1
        ? "Die Einstellungen in " + file + " konnten nicht gelesen werden ("
            + FileProblem(result, language)
            + "). Das Spiel beginnt mit den Grundeinstellungen und lässt diese Datei "
              "unverändert."
        : "The settings in " + file + " could not be read (" + FileProblem(result, language)
            + "). The game starts with its default settings and leaves that file as it is.";
}

std::string SettingsNotSavedMessage(const std::string &file, const FileResult &result, int language)
{
    return language == 1 ? "Die Einstellungen konnten nicht in " + file + " gespeichert werden ("
            + FileProblem(result, language) + ")."
                         : "The settings could not be saved in " + file + " ("
            + FileProblem(result, language) + ").";
}

std::string UnsavedExplanation(int language)
{
    return language == 1 ? "Die in diesem Spiel gelösten Stufen sind noch nicht gespeichert."
                         : "The levels solved in this game have not been saved.";
}

std::string SaveUnderAnotherName(int language)
{
    return language == 1 ? "Unter anderem Namen speichern" : "Save under another name";
}

std::string GoOnWithoutSaving(Leaving leaving, int language)
{
    const bool german = language == 1;
    switch (leaving) {
    case Leaving::Close:
        return german ? "Ohne Speichern beenden" : "Quit without saving";
    case Leaving::Load:
        return german ? "Ohne Speichern laden" : "Load without saving";
    case Leaving::NewGame:
        break;
    }
    return german ? "Ohne Speichern neu beginnen" : "New game without saving";
}

std::string StayInTheGame(int language)
{
    return language == 1 ? "Zurück zum Spiel" : "Back to game";
}
