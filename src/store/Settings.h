// The per-user settings: string values in sections of an INI file, standing
// in for the registry key of the game. Every operation opens, reads or
// writes, and closes the file; nothing is cached, so a value written is what
// the next read returns.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

constexpr const char *SectionCommon = "common";

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

    // Booleans are read as integers and compared with 0; text that is no
    // integer gives the default.
    bool ReadBool(const std::string &section, const std::string &name, bool def) const;
    int ReadInteger(const std::string &section, const std::string &name, int def) const;
    std::string ReadString(
        const std::string &section, const std::string &name, const std::string &def) const;

    // Booleans as "1" and "0", integers in decimal with a leading "-".
    // False when the file could not be written; the old file then stays.
    bool WriteBool(const std::string &section, const std::string &name, bool value) const;
    bool WriteInteger(const std::string &section, const std::string &name, int value) const;
    bool WriteString(
        const std::string &section, const std::string &name, const std::string &value) const;

private:
    std::optional<std::string> Read(const std::string &section, const std::string &name) const;

    std::filesystem::path file_;
};

// Decimal text with an optional sign and surrounding blanks, within the
// range of a 32-bit integer; anything else is no integer.
std::optional<int> ParseInteger(std::string_view text);
