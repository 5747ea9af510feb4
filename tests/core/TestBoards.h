// Helpers for the core's tests: boards written as they look on screen, and a
// host that records what the rules ask of it.
#pragma once

#include "Game.h"

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

// Eight rows of eight tokens, row 0 first, as on screen: "." is an empty
// cell, any other token the cell's code in decimal ("3", "-7").
Board BoardFromRows(std::initializer_list<const char *> rows);

// A level table of `count` copies of one record.
LevelTable TableOf(int count, const Board &board, int startCol, int startRow);

class RecordingHost : public GameHost
{
public:
    std::vector<std::string> calls;
    std::deque<ModalResult> answers; // ShowMsg answers in turn; No when none is left
    int saves = 0;
    bool saveLets = true; // what SaveCurrentGame answers: false, the player stays
    LevelDisplay level;
    GaugeDisplay gauge;
    std::string caption;

    bool Saw(const std::string &call) const;
    int Count(const std::string &call) const;
    // The calls that begin with one of the prefixes, in order.
    std::vector<std::string> Only(std::initializer_list<const char *> prefixes) const;
    void Clear() { calls.clear(); }

    void DrawCell(int col, int row, bool visible) override;
    void DrawCellsAfter(int col, int row) override;
    void DrawHero(int col, int row) override;
    void AnimateMove(int fromCol, int fromRow, int toCol, int toRow, bool teleport) override;
    void AnimateTileFall(int col, int row) override;
    void AnimateLayerDrop(int col, int row) override;
    void AnimateHeroFall(int col, int row) override;
    void AnimateBothFall(int tileCol, int tileRow, int heroCol, int heroRow) override;
    void LevelSweepOut() override;
    void LevelSweepIn() override;
    void PlayEffect(int n) override;
    ModalResult ShowMsg(int id) override;
    bool SaveCurrentGame() override;
    void LevelMarked() override;
    void ShowCaption(const std::string &text) override;
    void ShowLevel(const LevelDisplay &display) override;
    void ShowGauge(const GaugeDisplay &display) override;
};

// A game on one board, already in play.
struct TestGame
{
    RecordingHost host;
    Game game {host};

    TestGame(const Board &board, int col, int row, int levels = 1)
    {
        game.InstallLevels(TableOf(levels, board, col, row), 1);
        game.StartUp();
        game.PlayState = PlayInPlay;
    }
};
