#include "core/LevelRecord.h"

#include <algorithm>
#include <cstring>

#include "core/Piece.h"

LevelRecord LevelRecord::FromBytes(std::span<const std::uint8_t, kSize> bytes) {
    LevelRecord record;
    std::memcpy(record.PieceLayer.data(), bytes.data(), kCells);
    std::memcpy(record.FloorLayer.data(), bytes.data() + kCells, kCells);
    record.SourceColumn = bytes[2 * kCells];
    record.SourceRow = bytes[2 * kCells + 1];
    return record;
}

void LevelRecord::ToBytes(std::span<std::uint8_t, kSize> bytes) const {
    std::memcpy(bytes.data(), PieceLayer.data(), kCells);
    std::memcpy(bytes.data() + kCells, FloorLayer.data(), kCells);
    bytes[2 * kCells] = SourceColumn;
    bytes[2 * kCells + 1] = SourceRow;
}

int LevelRecord::PieceCount() const {
    return static_cast<int>(
        std::count_if(PieceLayer.begin(), PieceLayer.end(), [](auto p) { return p != 0; }));
}

LevelRecord FallbackLevel() {
    LevelRecord record;
    record.PieceLayer.fill(0);
    record.FloorLayer.fill(29);
    record.SourceColumn = 1;
    record.SourceRow = 1;
    return record;
}

RecordRepairs RepairRecord(LevelRecord& record) {
    RecordRepairs repairs;
    repairs.fileSourceColumn = record.SourceColumn;
    repairs.fileSourceRow = record.SourceRow;
    for (auto& code : record.PieceLayer) {
        if (code != 0 && !IsPieceCode(code)) {
            code = 0;
            ++repairs.pieceCodes;
        }
    }
    for (auto& floor : record.FloorLayer) {
        if (floor >= kFloorCodes) {
            floor = kBareFloor;
            ++repairs.floorCodes;
        }
    }
    if (!IsOnBoard(record.SourceColumn, record.SourceRow)) {
        record.SourceColumn = static_cast<std::uint8_t>(std::clamp<int>(record.SourceColumn, 1, kColumns));
        record.SourceRow = static_cast<std::uint8_t>(std::clamp<int>(record.SourceRow, 1, kRows));
        repairs.source = true;
    }
    return repairs;
}
