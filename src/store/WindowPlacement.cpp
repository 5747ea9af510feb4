#include "WindowPlacement.h"

#include "Settings.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

int PlacementRect::Distance(int a, int b)
{
    const std::int64_t d = static_cast<std::int64_t>(b) - a;
    return static_cast<int>(std::min<std::int64_t>(d < 0 ? -d : d, INT_MAX));
}

bool FitsSomeScreen(const PlacementRect &rect, const std::vector<PlacementRect> &screens)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return false;
    return std::any_of(screens.begin(), screens.end(), [&](const PlacementRect &screen) {
        return rect.Width() <= screen.Width() && rect.Height() <= screen.Height();
    });
}

std::string FormatPlacement(const WindowPlacement &p)
{
    std::string text = "200";
    for (int field :
        {p.flags, p.showCmd, p.normal.left, p.normal.top, p.normal.right, p.normal.bottom})
        text += "," + std::to_string(field);
    return text;
}

std::optional<WindowPlacement> ParsePlacement(std::string_view text)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        fields.push_back(
            text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    if (fields.size() != 7 || fields[0] != "200")
        return std::nullopt;
    int values[7] = {};
    for (std::size_t i = 1; i < 7; ++i) {
        const std::optional<int> value = ParseInteger(fields[i]);
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    return WindowPlacement {values[1], values[2], {values[3], values[4], values[5], values[6]}};
}

PlacementRect MoveOntoDesktop(PlacementRect r, const PlacementRect &desktop)
{
    const int w = r.Width();
    const int h = r.Height();
    if (r.right > desktop.right) {
        r.left = desktop.right - w;
        r.right = desktop.right;
    }
    if (r.bottom > desktop.bottom) {
        r.top = desktop.bottom - h;
        r.bottom = desktop.bottom;
    }
    if (r.left < desktop.left) {
        r.right = desktop.left + w;
        r.left = desktop.left;
    }
    if (r.top < desktop.top) {
        r.bottom = desktop.top + h;
        r.top = desktop.top;
    }
    return r;
}

Corner CentreOnScreen(int screenWidth, int screenHeight, int windowWidth, int windowHeight)
{
    return {(screenWidth - windowWidth) / 2, (screenHeight - windowHeight) / 2};
}
