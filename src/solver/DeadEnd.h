// Sound tests for positions that can no longer be finished. Each test looks
// only at what can still happen: tiles never come back, a tile's direction
// rule never changes, so a move that is impossible now stays impossible.
#pragma once

#include "Engine.h"

#include <array>
#include <cstdint>

class DeadEndTest
{
public:
    DeadEndTest();

    // True only when no sequence of key presses can finish the level from
    // `p`. The thorough test also balances the landings of every tile
    // against its neighbours': slower, and worth it where few positions are
    // dead, as in the search for one solution.
    bool CannotFinish(const Position &p, bool thorough = true) const;

private:
    // Per code: the directions in which a tile may be left (bit d for AllKeys[d], steps).
    std::array<std::uint8_t, 256> leave_ {};
};
