#include "Settings.h"

#include "AsciiCase.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace {

std::string_view Trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A value is written as it is unless blanks at its ends, a leading quote or
// a control character would not survive a line of the file; then it is
// quoted with backslash escapes.
std::string EncodeValue(const std::string &value)
{
    bool quote = !value.empty()
        && (value.front() == ' ' || value.front() == '\t' || value.back() == ' '
            || value.back() == '\t' || value.front() == '"');
    for (unsigned char c : value)
        quote = quote || c < 0x20 || c == 0x7f;
    if (!quote)
        return value;
    std::string out = "\"";
    for (unsigned char c : value) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7f) {
                char hex[5];
                std::snprintf(hex, sizeof hex, "\\x%02x", c);
                out += hex;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string DecodeValue(std::string_view text)
{
    text = Trim(text);
    if (text.size() < 2 || text.front() != '"' || text.back() != '"')
        return std::string(text);
    text = text.substr(1, text.size() - 2);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char e = text[++i];
        if (e == 'n')
            out += '\n';
        else if (e == 'r')
            out += '\r';
        else if (e == 't')
            out += '\t';
        else if (e == 'x' && i + 2 < text.size()) {
            unsigned value = 0;
            const auto hex = text.substr(i + 1, 2);
            if (std::from_chars(hex.data(), hex.data() + 2, value, 16).ptr == hex.data() + 2) {
                out += static_cast<char>(value);
                i += 2;
            } else {
                out += e;
            }
        } else {
            out += e; // \\ and \" and anything unknown stand for themselves
        }
    }
    return out;
}

std::vector<std::string> SplitLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// "[name]" gives name; any other line gives nothing.
std::optional<std::string_view> SectionHeader(std::string_view line)
{
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return std::nullopt;
    return Trim(line.substr(1, line.size() - 2));
}

struct Entry
{
    std::string_view name;
    std::string_view value;
};

std::optional<Entry> ValueLine(std::string_view line)
{
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#')
        return std::nullopt;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return Entry {Trim(line.substr(0, eq)), line.substr(eq + 1)};
}

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

} // namespace

std::optional<int> ParseInteger(std::string_view text)
{
    text = Trim(text);
    // from_chars takes a "-" but no "+"; one sign of either kind is allowed.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::filesystem::path SettingsStore::DefaultPath()
{
    std::filesystem::path base;
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg && std::filesystem::path(xdg).is_absolute()) {
        base = xdg;
    } else {
        const char *home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd *entry = getpwuid(getuid());
            home = entry ? entry->pw_dir : "/tmp";
        }
        base = std::filesystem::path(home) / ".config";
    }
    return base / "QuirkGames" / "Tumblewick" / "V2.conf";
}

FileResult SettingsStore::Load()
{
    std::string text;
    loaded_ = ReadSmallFile(file_, MaxSettingsBytes, false, text);
    Parse(loaded_.ok() ? text : std::string());
    return loaded_;
}

void SettingsStore::Parse(std::string_view text)
{
    // An editor may start the file with a byte-order mark; it stays.
    byteOrderMark_ = text.substr(0, ByteOrderMark.size()) == ByteOrderMark;
    if (byteOrderMark_)
        text.remove_prefix(ByteOrderMark.size());
    lines_ = SplitLines(std::string(text));
}

std::optional<std::string> SettingsStore::Read(
    const std::string &section, const std::string &name) const
{
    bool inSection = false;
    for (const std::string &line : lines_) {
        if (const auto header = SectionHeader(line)) {
            inSection = EqualsIgnoringCase(*header, section);
            continue;
        }
        if (!inSection)
            continue;
        if (const auto entry = ValueLine(line); entry && EqualsIgnoringCase(entry->name, name))
            return DecodeValue(entry->value);
    }
    return std::nullopt;
}

bool SettingsStore::ReadBool(const std::string &section, const std::string &name, bool def) const
{
    return ReadInteger(section, name, def ? 1 : 0) != 0;
}

int SettingsStore::ReadInteger(const std::string &section, const std::string &name, int def) const
{
    const std::optional<std::string> text = Read(section, name);
    if (!text)
        return def;
    return ParseInteger(*text).value_or(def);
}

std::string SettingsStore::ReadString(
    const std::string &section, const std::string &name, const std::string &def) const
{
    return Read(section, name).value_or(def);
}

void SettingsStore::WriteBool(const std::string &section, const std::string &name, bool value)
{
    WriteString(section, name, value ? "1" : "0");
}

void SettingsStore::WriteInteger(const std::string &section, const std::string &name, int value)
{
    WriteString(section, name, std::to_string(value));
}

void SettingsStore::WriteString(
    const std::string &section, const std::string &name, const std::string &value)
{
    const std::string entry = name + "=" + EncodeValue(value);
    std::vector<std::string> out;
    out.reserve(lines_.size() + 2);
    bool inSection = false;
    bool sectionSeen = false;
    bool written = false;
    for (std::string &line : lines_) {
        if (const auto header = SectionHeader(line)) {
            if (inSection && !written) {
                out.push_back(entry);
                written = true;
            }
            inSection = EqualsIgnoringCase(*header, section);
            sectionSeen = sectionSeen || inSection;
            out.push_back(std::move(line));
            continue;
        }
        if (inSection) {
            if (const auto e = ValueLine(line); e && EqualsIgnoringCase(e->name, name)) {
                if (!written)
                    out.push_back(entry);
                written = true;
                continue;
            }
        }
        out.push_back(std::move(line));
    }
    if (!written) {
        if (!sectionSeen) {
            if (!out.empty() && !Trim(out.back()).empty())
                out.push_back("");
            out.push_back("[" + section + "]");
        }
        out.push_back(entry);
    }
    lines_ = std::move(out);
}

std::string SettingsStore::Text() const
{
    std::string text = byteOrderMark_ ? std::string(ByteOrderMark) : std::string();
    for (const std::string &line : lines_)
        text += line + '\n';
    return text;
}

FileResult SettingsStore::Save() const
{
    if (!MayReplace())
        return loaded_;
    std::error_code ec;
    // A settings file kept as a link (as some keep their configuration) is
    // written where the link points, and stays a link.
    std::filesystem::path target = file_;
    if (std::filesystem::is_symlink(file_, ec)) {
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(file_, ec);
        if (!ec)
            target = resolved;
    }
    std::filesystem::create_directories(target.parent_path(), ec);
    return ReplaceFile(target, Text());
}
