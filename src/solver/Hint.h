// What the game tells a player who is stuck: the next key press of a
// solution, or that the level cannot be finished any more.
#pragma once

#include "Search.h"

#include <atomic>
#include <cstdint>

// Positions a hint may expand, about a second and some 50 MB at most: every
// position of the shipped levels needs far fewer, and a hand-made level that
// needs more gets no answer rather than a guess.
constexpr std::uint64_t HintBudget = 1'000'000;

struct HintAnswer
{
    // Solvable with the key to press; Unsolvable when no key sequence
    // finishes the level any more; GaveUp when the search could not tell.
    Verdict verdict = Verdict::GaveUp;
    Key key;
    std::uint64_t nodes = 0; // positions expanded
};

// The exact answer for a hero on the board; a hero who has fallen off it
// cannot finish. `stop`, set from another thread, ends the search without
// an answer.
HintAnswer FindHint(const Position &from, std::uint64_t budget = HintBudget,
    const std::atomic<bool> *stop = nullptr);

// What can be told at once, without a search: Unsolvable for a position that
// provably cannot be finished (the hero off the board, a last tile that bears
// more than one landing, a tile nothing can reach, ...), Solvable when the
// next key finishes the level, GaveUp when only a search can tell.
Verdict QuickVerdict(const Position &from);
