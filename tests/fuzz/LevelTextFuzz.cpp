// The level tool's text form: any text either gives levels that read back
// the same once written out, or an error that names a place.
#include "FuzzSupport.h"
#include "LevelText.h"

#include <cstdint>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    std::vector<LevelRecord> levels;
    TextError error;
    if (!ParseLevelText(text, "fuzz.lvl", levels, error)) {
        FUZZ_CHECK(error.file == "fuzz.lvl");
        FUZZ_CHECK(error.line >= 1);
        FUZZ_CHECK(!error.message.empty());
        FUZZ_CHECK(!error.Format().empty());
        return 0;
    }
    FUZZ_CHECK(levels.size() <= std::size_t(MaxLevels));
    std::vector<LevelRecord> again;
    TextError againError;
    const bool reread = ParseLevelText(LevelSetToText(levels), "again.lvl", again, againError);
    if (!reread)
        std::fprintf(stderr, "%s\n", againError.Format().c_str());
    FUZZ_CHECK(reread);
    FUZZ_CHECK(again == levels);
    return 0;
}
