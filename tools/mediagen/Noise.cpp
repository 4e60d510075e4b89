#include "tools/mediagen/Noise.h"

#include <cmath>

#include "tools/levels/Rng.h"

std::uint64_t Random::Next() {
    return SplitMix64(m_state);
}

float LatticeHash(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343u ^
                      static_cast<std::uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return static_cast<float>(h >> 8) / float(1 << 24);
}

float ValueNoise(float x, float y, float cell, int period, std::uint32_t seed) {
    const float fx = x / cell, fy = y / cell;
    const float x0 = std::floor(fx), y0 = std::floor(fy);
    const float tx = fx - x0, ty = fy - y0;
    const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    auto wrap = [period](int v) { return period > 0 ? ((v % period) + period) % period : v; };
    const int ix = static_cast<int>(x0), iy = static_cast<int>(y0);
    const float a = LatticeHash(wrap(ix), wrap(iy), seed), b = LatticeHash(wrap(ix + 1), wrap(iy), seed);
    const float c = LatticeHash(wrap(ix), wrap(iy + 1), seed),
                d = LatticeHash(wrap(ix + 1), wrap(iy + 1), seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

float FractalNoise(float x, float y, float cell, int octaves, int period, std::uint32_t seed) {
    float sum = 0, weight = 1, total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += weight * ValueNoise(x, y, cell, period, seed + 977u * o);
        total += weight;
        weight *= 0.5f;
        cell *= 0.5f;
        if (period > 0) period *= 2;
    }
    return sum / total;
}
