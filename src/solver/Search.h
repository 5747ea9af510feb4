// Exact searches over the key presses of a level.
#pragma once

#include "Engine.h"

#include <atomic>
#include <cstdint>
#include <vector>

// Positions a search for one solution may expand before it gives up; far
// more than any level of the shipped set needs.
constexpr std::uint64_t SolveBudget = 50'000'000;
// Positions the full search of a level may meet before it gives up.
constexpr std::uint64_t AnalysisBudget = 5'000'000;
// Solutions are counted up to here, and the count then reads ">=".
constexpr std::uint64_t SolutionCap = 1'000'000;

struct SearchOptions
{
    bool useTable = true; // remember positions already found dead
    bool prune = true; // cut positions that provably cannot be finished
    std::uint64_t budget = SolveBudget; // positions to expand before giving up
    // Set from another thread to stop the search; it then gives up.
    const std::atomic<bool> *stop = nullptr;
};

enum class Verdict { Solvable, Unsolvable, GaveUp };

struct SolveResult
{
    Verdict verdict = Verdict::GaveUp;
    std::vector<Key> keys; // ending with the key press that finishes the level
    std::uint64_t nodes = 0; // positions expanded
    double seconds = 0;
};

// Depth-first search for one solution. Exact: it answers Unsolvable only
// after every key press sequence has been ruled out, and gives up rather
// than guess when the budget is spent or it is stopped.
SolveResult Solve(const Position &from, const SearchOptions &options = {});
SolveResult Solve(const LevelRecord &level, const SearchOptions &options = {});

// The plainest search there is: every key press from every position, no
// table, no cuts. For tests on small levels; `budget` bounds the positions.
Verdict BruteForce(
    const LevelRecord &level, std::uint64_t budget, std::uint64_t *solutions = nullptr);

// What a player meets, from a search of every position the level can reach.
struct Analysis
{
    bool complete = false; // false when the budget ran out
    bool solvable = false;
    // The chance that a player who presses, uniformly at random, one of the
    // keys that do not lose at once still finishes the level.
    double chance = 0;
    // Of those keys, over all positions that can still be finished, the share
    // that leads into a position that cannot.
    double trapShare = 0;
    std::uint64_t solutions = 0; // key press sequences that finish, up to SolutionCap
    std::uint64_t positions = 0; // distinct positions met
    std::uint64_t livePositions = 0; // of them, those that can still be finished

    // -log2(chance): a level with difficulty d is finished by such a player
    // once in 2^d tries.
    double Difficulty() const;
};

Analysis Analyze(const LevelRecord &level, std::uint64_t budget = AnalysisBudget);
