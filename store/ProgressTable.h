#pragma once

#include <array>
#include <cstdint>

// The results of all 500 levels: 0 unsolved, otherwise the seconds left at the
// first solution (negative values only ever come from a file).
class ProgressTable {
public:
    static constexpr int kEntries = 500;

    // level must be 1..kEntries.
    std::int32_t& operator[](int level);
    std::int32_t operator[](int level) const;

    void Clear() { m_entries.fill(0); }
    bool operator==(const ProgressTable&) const = default;

    // Every level 1..levelCount has a non-zero entry (true for no level at all).
    bool AllSolved(int levelCount) const;
    // Levels 1..levelCount with a positive entry.
    int CountSolved(int levelCount) const;

private:
    std::array<std::int32_t, kEntries> m_entries{};
};
