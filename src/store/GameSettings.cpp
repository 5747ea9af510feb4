#include "GameSettings.h"

StartSettings ReadStartSettings(const SettingsStore &ini)
{
    StartSettings s;
    s.Language = ini.ReadInteger(SectionCommon, "tongue", -1);
    s.SoundOn = ini.ReadBool(SectionCommon, "sound", true);
    s.MusicOn = ini.ReadBool(SectionCommon, "music", true);
    s.AnimationOn = ini.ReadBool(SectionCommon, "animation", true);
    s.GrafMode = ini.ReadInteger(SectionCommon, "grafmode", 0);
    return s;
}

int ReadLevelSetting(const SettingsStore &ini)
{
    return ini.ReadInteger(SectionCommon, "level", 1);
}

std::string ReadGameSetting(const SettingsStore &ini)
{
    return ini.ReadString(SectionCommon, "game", "");
}

int ReadLanguageSetting(const SettingsStore &ini)
{
    return ini.ReadInteger(SectionCommon, "tongue", -1);
}

bool WriteCloseSettings(const SettingsStore &ini, const CloseSettings &v)
{
    bool ok = ini.WriteBool(SectionCommon, "sound", v.options.SoundOn);
    ok = ini.WriteBool(SectionCommon, "music", v.options.MusicOn) && ok;
    ok = ini.WriteBool(SectionCommon, "animation", v.options.AnimationOn) && ok;
    ok = ini.WriteInteger(SectionCommon, "tongue", v.options.Language) && ok;
    ok = ini.WriteInteger(SectionCommon, "level", v.CurrentLevel) && ok;
    ok = ini.WriteString(SectionCommon, "game", v.GameName) && ok;
    ok = ini.WriteInteger(SectionCommon, "grafmode", v.options.GrafMode) && ok;
    return ok;
}
