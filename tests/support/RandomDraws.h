// The random draws of one history of a randomised test: the same seed
// gives the same draws.
#pragma once

#include <cstddef>
#include <random>

class Draws {
public:
    explicit Draws(unsigned seed) : m_random(seed) {}
    // One of `count` (at least one).
    std::size_t Pick(std::size_t count) { return std::uniform_int_distribution<std::size_t>(0, count - 1)(m_random); }
    bool Chance(int percent) { return static_cast<int>(Pick(100)) < percent; }

private:
    std::mt19937 m_random;
};
