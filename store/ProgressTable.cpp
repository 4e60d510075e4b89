#include "store/ProgressTable.h"

#include <algorithm>
#include <cassert>

std::int32_t& ProgressTable::operator[](int level) {
    assert(level >= 1 && level <= kEntries);
    return m_entries[static_cast<std::size_t>(level - 1)];
}

std::int32_t ProgressTable::operator[](int level) const {
    assert(level >= 1 && level <= kEntries);
    return m_entries[static_cast<std::size_t>(level - 1)];
}

bool ProgressTable::AllSolved(int levelCount) const {
    const auto end = m_entries.begin() + std::clamp(levelCount, 0, kEntries);
    return std::all_of(m_entries.begin(), end, [](std::int32_t e) { return e != 0; });
}

int ProgressTable::CountSolved(int levelCount) const {
    const auto end = m_entries.begin() + std::clamp(levelCount, 0, kEntries);
    return static_cast<int>(std::count_if(m_entries.begin(), end, [](std::int32_t e) { return e > 0; }));
}
