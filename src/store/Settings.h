// The per-user settings: string values in sections of an INI file, standing
// in for the registry key of the game. The file is read once at start into
// memory; reads and writes work on that copy, and the whole file is written
// back in one step at close. Lines, comments and sections that are not the
// game's are kept as they are.
#pragma once

#include "SafeFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr const char *SectionCommon = "common";

// A settings file of the game holds a few hundred bytes; one larger than
// this is not ours and is neither read nor replaced.
constexpr std::size_t MaxSettingsBytes = 256 * 1024;

class SettingsStore
{
public:
    explicit SettingsStore(std::filesystem::path file)
        : file_(std::move(file))
    { }

    // $XDG_CONFIG_HOME/QuirkGames/Tumblewick/V2.conf, with ~/.config when the
    // variable is unset or not an absolute path.
    static std::filesystem::path DefaultPath();

    const std::filesystem::path &Path() const { return file_; }

    // Reads the file. A missing file is a first run; a file that exists but
    // cannot be read (no permission, a folder, too large) gives the defaults
    // and is never replaced, so that nothing it holds is lost.
    FileResult Load();
    // As if the file held `text`: for tests and for checking the reader.
    void Parse(std::string_view text);
    // What Load found; Missing and Done are the normal outcomes.
    const FileResult &Loaded() const { return loaded_; }
    bool MayReplace() const { return loaded_.ok() || loaded_.outcome == FileResult::Missing; }

    // Booleans are read as integers and compared with 0; text that is no
    // integer gives the default.
    bool ReadBool(const std::string &section, const std::string &name, bool def) const;
    int ReadInteger(const std::string &section, const std::string &name, int def) const;
    std::string ReadString(
        const std::string &section, const std::string &name, const std::string &def) const;

    // Booleans as "1" and "0", integers in decimal with a leading "-". A value
    // replaces its first line in the section, later lines of the same name
    // go; a new value ends its section, a new section ends the file.
    void WriteBool(const std::string &section, const std::string &name, bool value);
    void WriteInteger(const std::string &section, const std::string &name, int value);
    void WriteString(const std::string &section, const std::string &name, const std::string &value);

    // The file as Save writes it.
    std::string Text() const;
    // Writes the file in one step (see ReplaceFile). Refused with the load's
    // own failure when the file could not be read at start.
    FileResult Save() const;

private:
    std::optional<std::string> Read(const std::string &section, const std::string &name) const;

    std::filesystem::path file_;
    FileResult loaded_ {FileResult::Missing, 0};
    bool byteOrderMark_ = false;
    std::vector<std::string> lines_;
};

// Decimal text with an optional sign and surrounding blanks, within the
// range of a 32-bit integer; anything else is no integer.
std::optional<int> ParseInteger(std::string_view text);
