#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/Geometry.h"

// One level as the level file stores it: 162 bytes, the same layout in memory.
struct LevelRecord {
    CellLayer PieceLayer{};
    CellLayer FloorLayer{};
    std::uint8_t SourceColumn = 1;
    std::uint8_t SourceRow = 1;

    static constexpr std::size_t kSize = 162;

    static LevelRecord FromBytes(std::span<const std::uint8_t, kSize> bytes);
    void ToBytes(std::span<std::uint8_t, kSize> bytes) const;

    int PieceCount() const;

    friend bool operator==(const LevelRecord&, const LevelRecord&) = default;
};
static_assert(sizeof(LevelRecord) == LevelRecord::kSize);

// Stands in for the whole level file when it cannot be used: an empty board
// on floor tile 29, source at (1, 1).
LevelRecord FallbackLevel();

inline constexpr int kFloorCodes = 64;
inline constexpr std::uint8_t kBareFloor = 7;

// What a record held that the game cannot use, counted before it was mended.
struct RecordRepairs {
    int pieceCodes = 0;                 // codes outside the 20 in use, now empty cells
    int floorCodes = 0;                 // codes above 63, now bare background
    bool source = false;                // source cell off the board, now pulled onto its edge
    std::uint8_t fileSourceColumn = 0;  // the source as the file had it
    std::uint8_t fileSourceRow = 0;

    bool Any() const { return pieceCodes != 0 || floorCodes != 0 || source; }
};

// Makes every byte of the record safe to use as an index: unknown piece codes
// become empty cells, unknown floor codes the bare background, and a source
// off the board the nearest cell on it. Everything else is left as it stands.
RecordRepairs RepairRecord(LevelRecord& record);
