// The level set tmbw.dat: any bytes give either levels that start on the
// board or a message, and the file reader agrees with the parser.
#include "FuzzSupport.h"
#include "LevelSet.h"

#include <algorithm>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const LevelSetResult parsed = ParseLevelSet(bytes);
    if (parsed.ok()) {
        const int count = parsed.table.Count();
        FUZZ_CHECK(count == int(std::min<std::size_t>(size / RecordSize, MaxLevels)));
        // The table holds the file's whole records, byte for byte.
        const std::vector<std::uint8_t> encoded = EncodeLevelSet(parsed.table);
        FUZZ_CHECK(std::equal(encoded.begin(), encoded.end(), bytes.begin(),
            bytes.begin() + std::ptrdiff_t(encoded.size())));
        for (int level = 1; level <= count; ++level) {
            const LevelRecord &record = parsed.table.Get(level);
            FUZZ_CHECK(OnBoard(record.startCol, record.startRow));
        }
        FUZZ_CHECK(StartLevel(count + 1, count) == count);
    } else {
        FUZZ_CHECK(parsed.table.Count() == 0);
        FUZZ_CHECK(!LevelSetMessage(parsed, 1).empty());
        FUZZ_CHECK(!LevelSetMessage(parsed, 0).empty());
    }

    WriteFile(ScratchFolder() + LevelSetFileName, data, size);
    const LevelSetResult loaded = LoadLevelSet(ScratchFolder());
    FUZZ_CHECK(loaded.error == parsed.error);
    FUZZ_CHECK(loaded.badLevel == parsed.badLevel);
    FUZZ_CHECK(loaded.table == parsed.table);
    return 0;
}
