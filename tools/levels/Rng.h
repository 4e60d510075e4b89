#pragma once

#include <cstdint>

// SplitMix64: its sequence is fixed by the seed on every platform and
// compiler, which the standard distributions do not promise. The level file
// and the generated art must come out byte for byte the same from the same seed.
inline std::uint64_t SplitMix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

class Rng {
public:
    explicit Rng(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t Next() { return SplitMix64(m_state); }
    // 0..n-1; n must be positive.
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
    // [0, 1)
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    bool Chance(double p) { return Unit() < p; }
    // An independent stream for part n of a larger job.
    static std::uint64_t Mix(std::uint64_t seed, std::uint64_t n) {
        Rng rng(seed ^ (n * 0xD1B54A32D192ED03ull));
        return rng.Next();
    }

private:
    std::uint64_t m_state;
};
