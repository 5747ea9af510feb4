// The state of a game and the operations on it: the move rules, the level
// progression and the record of solved levels.
#pragma once

#include "Board.h"
#include "GameHost.h"
#include "LevelSet.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

enum PlayStateValue : std::uint8_t {
    PlayReady = 0, // just loaded, not touched
    PlayInPlay = 1,
    PlaySolved = 2,
    PlayLost = 3,
};

// Virtual key codes of the four arrow keys.
constexpr int VkLeft = 0x25;
constexpr int VkUp = 0x26;
constexpr int VkRight = 0x27;
constexpr int VkDown = 0x28;

struct Cell
{
    int col = 0;
    int row = 0;
    bool operator==(const Cell &) const = default;
};

// The cell a click on the board aims at; none while the board has no size
// (before the window's first layout both units are 0).
std::optional<Cell> ClickTarget(int x, int y, int cellW, int cellH);

class Game
{
public:
    explicit Game(GameHost &host)
        : host_(host)
    { }
    Game(const Game &) = delete;
    Game &operator=(const Game &) = delete;

    // --- state, owned for the whole run ---------------------------------
    LevelTable levels;
    int CurrentLevel = 1;
    Board board {};
    int HeroCol = 0;
    int HeroRow = 0;
    std::uint8_t PlayState = PlayReady;
    std::array<std::int32_t, MaxLevels> SolvedFlags {}; // mark of level k at k - 1
    bool AllSolved = false;
    std::string GameName;
    int Language = -1; // 1 German, anything else English, -1 not chosen yet
    bool AnimationOn = true;

    int LevelCount() const { return levels.Count(); }
    std::int32_t &Mark(int level) { return SolvedFlags[static_cast<std::size_t>(level - 1)]; }
    std::int32_t Mark(int level) const { return SolvedFlags[static_cast<std::size_t>(level - 1)]; }
    int CountSolved() const;

    // --- start-up --------------------------------------------------------
    // Takes the loaded level set and picks the start level from the setting.
    void InstallLevels(LevelTable table, int settingLevel);
    // After the saved game is restored: the all-solved test, and the start
    // level put on the board without animation.
    void StartUp();

    // --- moves -------------------------------------------------------------
    void MoveHero(int dCol, int dRow);
    void MoveSequence(int dCol, int dRow, bool fromKey);
    void Teleport(bool fromKey);
    void FormKeyDown(int key, bool shift);
    void boxMouseDown(int x, int y, int cellW, int cellH);
    // Whether a click on this cell now moves the hero onto a tile: a step or
    // a jump along a row or column that his tile allows, while the level is
    // ready or in play and is not down to its last landing.
    bool CanReach(int col, int row) const;

    // --- progression -------------------------------------------------------
    void LoadLevel(int level);
    void LevelSolved();
    void ShowLevel();
    void UpdateStatus();
    std::string Caption() const;
    GaugeDisplay Gauge() const;

    void RestartBtnClick();
    void Level1UpBtnClick();
    void Level1DnBtnClick();
    void Level10UpBtnClick();
    void Level10DnBtnClick();
    void Level100UpBtnClick();
    void Level100DnBtnClick();
    void sUpBtnClick();
    void sDownBtnClick();
    void NewGameBtnClick();

    // The next unsolved level searching up or down with wrap-around, or 0
    // when the search meets nothing but the current level.
    int FindUnsolved(int direction) const;

    // Before the level changes: while a level is in play, asks whether to
    // give it up. False when the player stays.
    bool ConfirmLevelChange();

private:
    // The six level steps: up (by > 0) or down by that many levels.
    void StepLevel(int by);
    void PutLevelOnBoard(int level);

    GameHost &host_;
};
