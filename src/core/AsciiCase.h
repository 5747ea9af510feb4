// Names compared the way the game's files and settings compare them: ASCII
// letters without regard to case, every other byte as it is (so that a name
// means the same whatever the locale).
#pragma once

#include <algorithm>
#include <string_view>

constexpr char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return AsciiLower(x) == AsciiLower(y);
    });
}

constexpr bool EndsWithIgnoringCase(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size()
        && EqualsIgnoringCase(text.substr(text.size() - tail.size()), tail);
}

// Orders by the lower-case bytes, taken as unsigned; names that differ only
// in case keep a fixed order between them, by their own bytes.
constexpr bool LessIgnoringCase(std::string_view a, std::string_view b)
{
    if (!EqualsIgnoringCase(a, b)) {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
                return static_cast<unsigned char>(AsciiLower(x))
                    < static_cast<unsigned char>(AsciiLower(y));
            });
    }
    return a < b; // char_traits<char> compares as unsigned char
}
