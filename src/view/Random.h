// The program's one random generator, seeded from the clock at start-up;
// tests seed it with a fixed number.
#pragma once

#include <cstdint>
#include <random>

class Random
{
public:
    explicit Random(std::uint32_t seed = 1)
        : engine_(seed)
    { }
    void Seed(std::uint32_t seed) { engine_.seed(seed); }

    // Uniform in 0..n - 1; 0 when n is 0 or below.
    int operator()(int n)
    {
        if (n <= 0)
            return 0;
        return std::uniform_int_distribution<int>(0, n - 1)(engine_);
    }

private:
    std::mt19937 engine_;
};
