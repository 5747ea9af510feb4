// The settings file: whatever it holds, reading gives each value or its
// default, and writing the game's values keeps every line that is not one of
// them, so that the file reads back as what was written.
#include "FuzzSupport.h"
#include "GameSettings.h"
#include "Settings.h"
#include "WindowPlacement.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    SettingsStore ini("unused");
    ini.Parse(text);
    const GameSettings read = ReadGameSettings(ini);
    ParsePlacement(ini.ReadString(SectionCommon, PlacementValueName, ""));

    // The values read, written back, read back the same; so does a value of
    // every odd kind.
    GameSettings changed = read;
    changed.GameName = std::string(text.substr(0, 40));
    changed.Level = read.Level == 7 ? 8 : 7;
    WriteGameSettings(ini, changed);
    ini.WriteString(SectionCommon, PlacementValueName, "200,0,1,0,0,680,510");
    FUZZ_CHECK(ReadGameSettings(ini) == changed);

    SettingsStore again("unused");
    again.Parse(ini.Text());
    FUZZ_CHECK(ReadGameSettings(again) == changed);
    FUZZ_CHECK(again.ReadString(SectionCommon, PlacementValueName, "") == "200,0,1,0,0,680,510");
    FUZZ_CHECK(again.Text() == ini.Text());
    return 0;
}
