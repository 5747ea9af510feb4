// The values of section "common" that the game reads at start and writes at
// close: their names, types and defaults, in one place.
#pragma once

#include "Settings.h"

#include <string>
#include <variant>

struct GameSettings
{
    int Language = -1; // "tongue"; -1 until a language is chosen
    bool SoundOn = true; // "sound"
    bool MusicOn = true; // "music"
    bool AnimationOn = true; // "animation"
    int GrafMode = 0; // "grafmode", kept and written back, used for nothing else
    int Level = 1; // "level", brought into the level set's range by the game
    std::string GameName; // "game", empty when the game has no name
    // The game's own choices beside the design's; each off unless chosen, so
    // that a first start looks and moves as designed.
    bool SmoothOn = false; // "smooth": antialiased tiles, marks and ball
    bool CalmOn = false; // "calm": no twinkling stars, no victory dance
    bool ContrastOn = false; // "contrast": marks in contrasting colours
    // "solvablemark": the lamp that tells whether the level can still be finished
    bool SolvableMarkOn = false;

    bool operator==(const GameSettings &) const = default;
};

// One value: its name in the file and the member that holds it. The member's
// type is the value's type; its initial value above is the default.
struct SettingField
{
    const char *name;
    std::variant<bool GameSettings::*, int GameSettings::*, std::string GameSettings::*> member;
};

// In the order the game writes them at close.
inline const SettingField SettingFields[] = {
    {"sound", &GameSettings::SoundOn},
    {"music", &GameSettings::MusicOn},
    {"animation", &GameSettings::AnimationOn},
    {"tongue", &GameSettings::Language},
    {"level", &GameSettings::Level},
    {"game", &GameSettings::GameName},
    {"grafmode", &GameSettings::GrafMode},
    {"smooth", &GameSettings::SmoothOn},
    {"calm", &GameSettings::CalmOn},
    {"contrast", &GameSettings::ContrastOn},
    {"solvablemark", &GameSettings::SolvableMarkOn},
};

// Every value, or its default where the store holds none or holds text
// that is no value of its type.
GameSettings ReadGameSettings(const SettingsStore &ini);
// Every value, in the closing order.
void WriteGameSettings(SettingsStore &ini, const GameSettings &values);
