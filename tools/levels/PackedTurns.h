#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Two bits a piece for up to 96 pieces: an orientation (or a class of them)
// per piece, the key of the solvers' searches.
using Packed = std::array<std::uint64_t, 3>;

inline int Get2(const Packed& p, int i) {
    return static_cast<int>((p[i >> 5] >> (2 * (i & 31))) & 3);
}

inline void Set2(Packed& p, int i, int v) {
    const int shift = 2 * (i & 31);
    p[i >> 5] = (p[i >> 5] & ~(std::uint64_t{3} << shift)) | (std::uint64_t(v) << shift);
}

struct PackedHash {
    std::size_t operator()(const Packed& key) const {
        std::uint64_t h = 0x9E3779B97F4A7C15ull;
        for (std::uint64_t w : key) {
            h ^= w + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
            h *= 0xBF58476D1CE4E5B9ull;
        }
        return static_cast<std::size_t>(h ^ (h >> 31));
    }
};
