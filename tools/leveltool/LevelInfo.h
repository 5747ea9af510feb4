// Plain facts about one level, and the verification of a whole set.
#pragma once

#include "LevelSet.h"
#include "Search.h"

#include <iosfwd>
#include <string>
#include <vector>

// The tile kinds present, as their text tokens in a fixed order, e.g. "1 3 > s A"
// (1 for tiles of one, the highest count for stacks).
std::string TileKinds(const Board &board);

struct LevelReport
{
    int number = 0;
    int landings = 0;
    int tiles = 0;
    std::string kinds;
    SolveResult solve;
    Analysis analysis;
    std::string fault; // empty when the level passes
};

struct VerifyOptions
{
    SearchOptions search;
    std::uint64_t analysisBudget = AnalysisBudget;
    bool analyze = true; // count solutions and rate the difficulty
    int threads = 1;
};

// Checks and measures every level; reports come back in level order.
std::vector<LevelReport> VerifyLevels(
    const std::vector<LevelRecord> &levels, const VerifyOptions &options);

// Levels in each run whose median the difficulty curve and the chart follow.
constexpr int MedianWindow = 25;

// The median of each run of `window` levels, for the levels from `window` on.
std::vector<double> RollingMedian(const std::vector<double> &values, int window);
