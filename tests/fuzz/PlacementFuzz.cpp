// The window placement kept in the settings ("MainForm"): any text either
// gives a placement that is written back as the same text's meaning, or none.
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
    return 0;
}
