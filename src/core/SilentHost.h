// A host that shows nothing, plays nothing and answers every question with
// No, so a lost or finished level stays as it is: the rules on their own, for
// the level tools and for tests of the drawing.
#pragma once

#include "GameHost.h"

class SilentHost : public GameHost
{
public:
    void DrawCell(int, int, bool) override { }
    void DrawCellsAfter(int, int) override { }
    void DrawHero(int, int) override { }
    void AnimateMove(int, int, int, int, bool) override { }
    void AnimateTileFall(int, int) override { }
    void AnimateLayerDrop(int, int) override { }
    void AnimateHeroFall(int, int) override { }
    void AnimateBothFall(int, int, int, int) override { }
    void LevelSweepOut() override { }
    void LevelSweepIn() override { }
    void PlayEffect(int) override { }
    ModalResult ShowMsg(int) override { return MrNo; }
    bool SaveCurrentGame() override { return true; }
    void LevelMarked() override { }
    void ShowCaption(const std::string &) override { }
    void ShowLevel(const LevelDisplay &) override { }
    void ShowGauge(const GaugeDisplay &) override { }
};
