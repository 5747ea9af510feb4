// The values of section "common" that the game reads at start and writes at
// close, with their names, defaults and order.
#pragma once

#include "Settings.h"

#include <string>

struct StartSettings
{
    int Language = -1; // "tongue"; -1 until a language is chosen
    bool SoundOn = true; // "sound"
    bool MusicOn = true; // "music"
    bool AnimationOn = true; // "animation"
    int GrafMode = 0; // "grafmode", kept and written back, used for nothing else
};

// Read in this order: tongue, sound, music, animation, grafmode.
StartSettings ReadStartSettings(const SettingsStore &ini);

int ReadLevelSetting(const SettingsStore &ini); // "level", default 1, not yet clamped
std::string ReadGameSetting(const SettingsStore &ini); // "game", default empty
int ReadLanguageSetting(const SettingsStore &ini); // "tongue" again at the first tick

struct CloseSettings
{
    StartSettings options;
    int CurrentLevel = 1;
    std::string GameName;
};

// Written in this order: sound, music, animation, tongue, level, game,
// grafmode. False when any of them could not be written.
bool WriteCloseSettings(const SettingsStore &ini, const CloseSettings &values);
