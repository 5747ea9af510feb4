#include "GameSettings.h"

GameSettings ReadGameSettings(const SettingsStore &ini)
{
    GameSettings values;
    for (const SettingField &field : SettingFields) {
        std::visit(
            [&](auto member) {
                auto &value = values.*member;
                using Value = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<Value, bool>)
                    value = ini.ReadBool(SectionCommon, field.name, value);
                else if constexpr (std::is_same_v<Value, int>)
                    value = ini.ReadInteger(SectionCommon, field.name, value);
                else
                    value = ini.ReadString(SectionCommon, field.name, value);
            },
            field.member);
    }
    return values;
}

void WriteGameSettings(SettingsStore &ini, const GameSettings &values)
{
    for (const SettingField &field : SettingFields) {
        std::visit(
            [&](auto member) {
                const auto &value = values.*member;
                using Value = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<Value, bool>)
                    ini.WriteBool(SectionCommon, field.name, value);
                else if constexpr (std::is_same_v<Value, int>)
                    ini.WriteInteger(SectionCommon, field.name, value);
                else
                    ini.WriteString(SectionCommon, field.name, value);
            },
            field.member);
    }
}
