// Levels in order: loading, solving, the level commands and the solved record.
#include "Game.h"

#include <algorithm>
#include <cassert>

int Game::CountSolved() const
{
    int count = 0;
    for (int level = 1; level <= LevelCount(); ++level)
        count += Mark(level) > 0 ? 1 : 0;
    return count;
}

void Game::InstallLevels(LevelTable table, int settingLevel)
{
    assert(table.Count() >= 1);
    levels = std::move(table);
    CurrentLevel = StartLevel(settingLevel, LevelCount());
}

void Game::StartUp()
{
    // The searches and this test take any mark other than 0 as solved.
    AllSolved = true;
    for (int level = 1; level <= LevelCount(); ++level) {
        if (Mark(level) == 0)
            AllSolved = false;
    }
    PutLevelOnBoard(CurrentLevel);
}

void Game::PutLevelOnBoard(int level)
{
    const LevelRecord &record = levels.Get(level);
    board = record.cells;
    HeroCol = record.startCol;
    HeroRow = record.startRow;
}

void Game::LoadLevel(int level)
{
    assert(level >= 1 && level <= LevelCount());
    CurrentLevel = level;
    host_.LevelSweepOut();
    PutLevelOnBoard(level);
    host_.LevelSweepIn();
    PlayState = PlayReady;
    UpdateStatus();
}

void Game::LevelSolved()
{
    Mark(CurrentLevel) = 1;
    host_.LevelMarked();
    PlayState = PlaySolved;
    ShowLevel();
    host_.ShowGauge(Gauge());

    if (CountSolved() >= LevelCount() && !AllSolved) {
        host_.PlayEffect(EffectTeleport);
        host_.ShowMsg(MsgAllSolved);
        AllSolved = true;
        return;
    }
    host_.PlayEffect(EffectSolved);
    if (host_.ShowMsg(MsgNextLevel) != MrYes)
        return;
    // The next level by number, solved or not. After the last level there is
    // no next one; rather than leave a Yes without effect, the game goes on
    // at the first unsolved level, sought upwards and around as the
    // next-unsolved button seeks it. With none left the level stays on screen.
    const int next = CurrentLevel < LevelCount() ? CurrentLevel + 1 : FindUnsolved(1);
    if (next == 0)
        return;
    LoadLevel(next);
}

void Game::ShowLevel()
{
    host_.ShowLevel(
        {CurrentLevel / 100, (CurrentLevel % 100) / 10, CurrentLevel % 10, Mark(CurrentLevel) > 0});
}

std::string Game::Caption() const
{
    std::string caption = "Tumblewick 2.0";
    if (!GameName.empty())
        caption += (Language == 1 ? " - Spiel: " : " - Game: ") + GameName;
    return caption;
}

GaugeDisplay Game::Gauge() const
{
    const std::string count = std::to_string(CountSolved());
    const std::string of = std::to_string(LevelCount());
    return {LevelCount(), CountSolved(),
        Language == 1 ? count + " von " + of + " Ebenen gelöst"
                      : count + " of " + of + " levels solved"};
}

void Game::UpdateStatus()
{
    host_.ShowCaption(Caption());
    ShowLevel();
    host_.ShowGauge(Gauge());
}

bool Game::ConfirmLevelChange()
{
    // Only a level in play is given up; any answer but No goes on.
    return PlayState != PlayInPlay || host_.ShowMsg(MsgGiveUpLevel) != MrNo;
}

void Game::RestartBtnClick()
{
    if (ConfirmLevelChange())
        LoadLevel(CurrentLevel);
}

void Game::StepLevel(int by)
{
    // Up does nothing on the last level, down nothing on the first; a step
    // that would leave the set stops at its end.
    if ((by > 0 ? CurrentLevel >= LevelCount() : CurrentLevel < 2) || !ConfirmLevelChange())
        return;
    LoadLevel(std::clamp(CurrentLevel + by, 1, LevelCount()));
}

void Game::Level1UpBtnClick()
{
    StepLevel(1);
}

void Game::Level1DnBtnClick()
{
    StepLevel(-1);
}

void Game::Level10UpBtnClick()
{
    StepLevel(10);
}

void Game::Level10DnBtnClick()
{
    StepLevel(-10);
}

void Game::Level100UpBtnClick()
{
    StepLevel(100);
}

void Game::Level100DnBtnClick()
{
    StepLevel(-100);
}

int Game::FindUnsolved(int direction) const
{
    // Meeting the current level again at the last step finds nothing, also
    // when the current level itself is unsolved.
    int level = CurrentLevel;
    int steps = 0;
    do {
        ++steps;
        level += direction;
        if (level < 1)
            level = LevelCount();
        else if (level > LevelCount())
            level = 1;
    } while (Mark(level) != 0 && steps < LevelCount());
    return steps >= LevelCount() ? 0 : level;
}

void Game::sDownBtnClick()
{
    const int found = FindUnsolved(-1);
    if (found == 0 || !ConfirmLevelChange())
        return;
    LoadLevel(found);
}

void Game::sUpBtnClick()
{
    // The forward search asks before it looks, so in play the question comes
    // even when there is nowhere to go.
    if (!ConfirmLevelChange())
        return;
    const int found = FindUnsolved(1);
    if (found == 0)
        return;
    LoadLevel(found);
}

void Game::NewGameBtnClick()
{
    if (host_.ShowMsg(MsgGiveUpGame) == MrNo)
        return;
    // A game that could not be saved is given up only when the player says so.
    if (!host_.SaveCurrentGame())
        return;
    CurrentLevel = 1;
    for (int level = 1; level <= LevelCount(); ++level)
        Mark(level) = 0;
    // The name goes before the new level comes, so that the status shown with
    // it is already the new game's.
    GameName.clear();
    LoadLevel(1);
}
