// The window placement kept in the settings ("MainForm"): any text either
// gives a placement that is written back as the same text's meaning, or none;
// and a placement the game takes always ends up whole on the screen.
#include "FuzzSupport.h"
#include "WindowPlacement.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::optional<WindowPlacement> placement = ParsePlacement(text);
    if (!placement)
        return 0;
    const std::string written = FormatPlacement(*placement);
    FUZZ_CHECK(written.starts_with("200,"));
    const std::optional<WindowPlacement> again = ParsePlacement(written);
    FUZZ_CHECK(again && *again == *placement);

    const PlacementRect screen {0, 0, 1280, 1024};
    const PlacementRect &r = placement->normal;
    FUZZ_CHECK(r.Width() >= 0 && r.Height() >= 0);
    if (!FitsSomeScreen(r, {screen}))
        return 0;
    FUZZ_CHECK(r.right > r.left && r.bottom > r.top);
    const PlacementRect moved = MoveOntoDesktop(r, screen);
    FUZZ_CHECK(moved.Width() == r.Width() && moved.Height() == r.Height());
    FUZZ_CHECK(moved.left >= screen.left && moved.right <= screen.right);
    FUZZ_CHECK(moved.top >= screen.top && moved.bottom <= screen.bottom);
    return 0;
}
