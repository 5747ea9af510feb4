// A small random generator with a fixed algorithm (xoshiro256**), so that a
// seed gives the same levels with every compiler and library.
#pragma once

#include <cstdint>

class Random
{
public:
    explicit Random(std::uint64_t seed)
    {
        // splitmix64 spreads the seed over the state.
        for (std::uint64_t &s : state_) {
            seed += 0x9E3779B97F4A7C15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
            s = z ^ (z >> 31);
        }
    }

    std::uint64_t Next()
    {
        const std::uint64_t result = Rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = Rotl(state_[3], 45);
        return result;
    }

    // 0 <= result < n, for n > 0.
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

    // 0 <= result < 1.
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

    bool Chance(double p) { return Unit() < p; }

private:
    static std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t state_[4] {};
};
