// The level generator: levels made from a random walk of the hero, so every
// level comes with a way through it, then rated and placed by difficulty.
#pragma once

#include "LevelSet.h"
#include "Random.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

// How one walk is made.
struct WalkShape
{
    int landings = 10; // of the level made
    double jump = 0.3; // weight of a jump against a step
    double revisit = 0.3; // weight of a cell already visited against a new one
    int maxCount = 4; // highest count a tile may reach
    double special = 0.0; // chance that a tile of one becomes a special tile
    std::string kinds; // special kinds that may appear: any of "> ^ < v - | s T" (T teleports)
    double teleport = 0.0; // chance, on a new cell, of a teleport pair
    // The walk crosses the board in this many parts (1 to 4), one region of
    // the board after another, so that a level is a chain of smaller puzzles.
    int parts = 1;
    bool across = false; // parts side by side rather than one above the other
};

// A level walked by the hero from a random start. The walk itself solves it.
LevelRecord WalkLevel(Random &random, const WalkShape &shape);

struct GeneratorOptions
{
    std::uint64_t seed = 1;
    int first = 1; // the first and last level numbers to make
    int last = MaxLevels;
};

// Makes levels first..last after the `prior` levels (which must be levels
// 1..first-1), never repeating one of them under a symmetry. Each level's
// note says how it rates. Progress goes to `log` when given.
std::vector<LevelRecord> GenerateLevels(const GeneratorOptions &options,
    const std::vector<LevelRecord> &prior, std::vector<std::string> &notes, std::ostream *log);
