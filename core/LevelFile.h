#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/LevelRecord.h"

// The levels of one run, numbered 1..LevelCount in file order.
class LevelCatalogue {
public:
    static constexpr int kMaxLevels = 500;

    int LevelCount() const { return static_cast<int>(m_levels.size()); }
    // n must be 1..LevelCount().
    const LevelRecord& Level(int n) const;
    // Ignored once kMaxLevels records are held.
    void Add(const LevelRecord& record);

private:
    std::vector<LevelRecord> m_levels;
};

enum class LevelFileStatus {
    Read,        // at least one complete record
    CannotOpen,  // missing, no access, a folder, or nothing could be read
    NoLevel,     // opened, but shorter than one record
};

struct LevelFileReport {
    LevelFileStatus status = LevelFileStatus::CannotOpen;
    int error = 0;  // errno of the failed open or read
    LevelCatalogue catalogue;
    std::vector<RecordRepairs> repairs;  // one per level, in catalogue order
    std::size_t trailingBytes = 0;       // a fragment after the last complete record
    bool recordsBeyondMax = false;       // more than kMaxLevels records in the file
};

// Reads the level file as the game does: up to 500 records, a trailing
// fragment ignored, every record mended by RepairRecord before it is kept.
LevelFileReport ReadLevelFile(const std::string& path);
