#pragma once

#include <cstdint>

// Seeded randomness for the artwork and the sounds: the same seed always gives
// the same pictures and samples.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next();
    // Uniform in [0, 1).
    float Uniform() { return static_cast<float>(Next() >> 40) / float(1 << 24); }
    float Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

private:
    std::uint64_t m_state;
};

// Value noise in [0, 1] on a lattice of the given cell size that repeats every
// period cells (0: never), so a texture can be made to tile.
float ValueNoise(float x, float y, float cell, int period, std::uint32_t seed);
// Octaves of value noise, each half the cell size and half the weight.
float FractalNoise(float x, float y, float cell, int octaves, int period, std::uint32_t seed);
// A hash of a lattice point, in [0, 1).
float LatticeHash(int x, int y, std::uint32_t seed);
