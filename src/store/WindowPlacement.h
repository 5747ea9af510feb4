// The main window's placement as kept in the setting "MainForm": seven
// decimal integers joined by ",", the first always 200.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr const char *PlacementValueName = "MainForm";

enum ShowCommand { ShowNormal = 1, ShowMinimized = 2, ShowMaximized = 3 };

struct PlacementRect
{
    static int Distance(int a, int b);

    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // Distances of the edges, whichever lies first; never overflowing.
    int Width() const { return Distance(left, right); }
    int Height() const { return Distance(top, bottom); }
    bool operator==(const PlacementRect &) const = default;
};

struct WindowPlacement
{
    int flags = 0;
    int showCmd = ShowNormal;
    PlacementRect normal; // the window's frame when it is neither minimised nor maximised

    bool operator==(const WindowPlacement &) const = default;
};

std::string FormatPlacement(const WindowPlacement &placement);

// Nothing unless the text holds exactly seven integers and the first is 200.
std::optional<WindowPlacement> ParsePlacement(std::string_view text);

// Whether a stored rectangle can be a window on one of the screens: its
// right edge right of its left edge, its bottom below its top, and no wider
// or higher than that screen. Anything else (a crafted or damaged value)
// counts as no placement.
bool FitsSomeScreen(const PlacementRect &rect, const std::vector<PlacementRect> &screens);

// Moves the rectangle back onto the desktop, keeping its size: first against
// the right and bottom edges, then against the left and top ones, so that a
// window larger than the desktop keeps its top-left corner visible.
PlacementRect MoveOntoDesktop(PlacementRect rect, const PlacementRect &desktop);

// The top-left corner that centres a window of this size on the screen.
struct Corner
{
    int left = 0;
    int top = 0;
    bool operator==(const Corner &) const = default;
};
Corner CentreOnScreen(int screenWidth, int screenHeight, int windowWidth, int windowHeight);
