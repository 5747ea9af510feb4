// Saved games: whatever a file in the games folder holds, loading fills the
// marks from its first 2000 bytes and clears the rest; and a name the player
// or the folder listing gives can only name a file inside the games folder.
#include "FuzzSupport.h"
#include "SavedGameFile.h"

#include <algorithm>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::string games = GamesBesideProgram(ScratchFolder());
    WriteFile(SavedGamePath(games, "fuzz"), data, size);
    const LoadedGame loaded = LoadGameFile(games, "fuzz");
    FUZZ_CHECK(loaded.result.ok());
    const SolvedRecord &record = loaded.record;
    const std::size_t whole = std::min<std::size_t>(size, SavedGameBytes) / 4;
    for (std::size_t i = 0; i < std::size_t(SavedMarks); ++i) {
        std::uint32_t expected = 0;
        if (i < whole) {
            for (int b = 3; b >= 0; --b)
                expected = (expected << 8) | data[i * 4 + std::size_t(b)];
        }
        FUZZ_CHECK(record[i] == static_cast<std::int32_t>(expected));
    }

    // The same bytes as a game's name.
    const std::string name(reinterpret_cast<const char *>(data), size);
    if (IsUsableGameName(name)) {
        FUZZ_CHECK(!name.empty() && name != "." && name != "..");
        FUZZ_CHECK(name.find('/') == std::string::npos);
        FUZZ_CHECK(name.find('\0') == std::string::npos);
        FUZZ_CHECK(SavedGamePath(games, name) == games + name + ".twp");
    }
    return 0;
}
