#pragma once

#include <bit>
#include <cstdint>

// A set of piece numbers 0..127 (a level holds at most 80 pieces).
struct PieceSet {
    std::uint64_t low = 0;
    std::uint64_t high = 0;

    void Add(int i) { (i < 64 ? low : high) |= std::uint64_t{1} << (i & 63); }
    bool Has(int i) const { return ((i < 64 ? low : high) >> (i & 63)) & 1; }
    int Count() const { return std::popcount(low) + std::popcount(high); }
    bool Empty() const { return low == 0 && high == 0; }
    bool Meets(const PieceSet& other) const { return (low & other.low) || (high & other.high); }
    void Join(const PieceSet& other) {
        low |= other.low;
        high |= other.high;
    }
    // The lowest member; the set must not be empty.
    int First() const { return low ? std::countr_zero(low) : 64 + std::countr_zero(high); }

    template <class F>
    void ForEach(F f) const {
        for (std::uint64_t w = low; w; w &= w - 1) f(std::countr_zero(w));
        for (std::uint64_t w = high; w; w &= w - 1) f(64 + std::countr_zero(w));
    }
    friend bool operator==(const PieceSet&, const PieceSet&) = default;
};
