// What the rules ask of the rest of the program. Nothing flows back except the
// answer to a message; the rules never learn how any of this is shown.
#pragma once

#include <string>

enum ModalResult { MrNone = 0, MrOk = 1, MrCancel = 2, MrYes = 6, MrNo = 7 };

// The messages the rules ask (texts live with the message dialog).
enum MessageId {
    MsgGiveUpLevel = 2,
    MsgQuit = 3,
    MsgGiveUpGame = 4,
    MsgAllSolved = 6,
    MsgCdRom = 10,
    MsgRepeatLevel = 13,
    MsgNextLevel = 14,
};

// Sound effects by number: 1 step (and a refused move), 2 jump, 3 fall,
// 4 level solved, 5 teleport and all levels solved.
enum EffectId {
    EffectStep = 1,
    EffectJump = 2,
    EffectFall = 3,
    EffectSolved = 4,
    EffectTeleport = 5
};

// The level digits and the solved indicator.
struct LevelDisplay
{
    int hundreds = 0;
    int tens = 0;
    int ones = 0;
    bool solved = false;

    bool operator==(const LevelDisplay &) const = default;
};

// The solved-levels gauge: range, value and its hint text.
struct GaugeDisplay
{
    int maximum = 0;
    int progress = 0;
    std::string hint;

    bool operator==(const GaugeDisplay &) const = default;
};

class GameHost
{
public:
    virtual ~GameHost() = default;

    // Drawing of the board; coordinates may lie off the board for a hero
    // who has left it.
    virtual void DrawCell(int col, int row, bool visible) = 0;
    virtual void DrawCellsAfter(int col, int row) = 0;
    virtual void DrawHero(int col, int row) = 0;

    // Animations run to their end before they return.
    virtual void AnimateMove(int fromCol, int fromRow, int toCol, int toRow, bool teleport) = 0;
    virtual void AnimateTileFall(int col, int row) = 0;
    virtual void AnimateLayerDrop(int col, int row) = 0;
    virtual void AnimateHeroFall(int col, int row) = 0;
    virtual void AnimateBothFall(int tileCol, int tileRow, int heroCol, int heroRow) = 0;

    // The two halves of a level change: the hero and the old tiles vanish
    // while the board still holds the old level; then the new tiles and the
    // hero appear.
    virtual void LevelSweepOut() = 0;
    virtual void LevelSweepIn() = 0;

    virtual void PlayEffect(int n) = 0;
    virtual ModalResult ShowMsg(int id) = 0;

    // The saving step before a new game: the read-only-medium check, then a
    // save under the game's name, asking for one when it has none. False when
    // the game could not be saved and the player chose to stay in it.
    virtual bool SaveCurrentGame() = 0;

    // A level has just been marked as solved: the record may be kept at
    // once, so that no solved level is lost if the program ends badly.
    virtual void LevelMarked() = 0;

    // Status line: window caption, level digits with the solved indicator,
    // solved-levels gauge.
    virtual void ShowCaption(const std::string &caption) = 0;
    virtual void ShowLevel(const LevelDisplay &display) = 0;
    virtual void ShowGauge(const GaugeDisplay &gauge) = 0;
};
