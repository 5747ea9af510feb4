// The preset data of a soundfont on the player's system: any bytes either
// cut to a smaller set of presets or give nothing, and a cut cut again to the
// same programs stays as it is.
#include "FuzzSupport.h"
#include "SoundFontCut.h"

#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte chooses the programs: 0 and one more.
    ProgramSet programs;
    programs.set(0);
    programs.set(data[0] & 0x7F);
    const std::span<const std::uint8_t> presetData(data + 1, size - 1);
    const auto cut = CutPresetData(presetData, programs);
    if (!cut)
        return 0;
    FUZZ_CHECK(cut->size() <= presetData.size() + 9 * 8 + 4);
    const auto again = CutPresetData(*cut, programs);
    FUZZ_CHECK(again && *again == *cut);
    return 0;
}
