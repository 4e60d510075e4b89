#include "core/Piece.h"

#include <array>

namespace {

// Openings of the base shapes, bit d set for an opening in direction d.
constexpr std::array<int, 8> kBaseOpenings = {
    0,                                                     // no type
    1 << Right,                                            // End
    (1 << Right) | (1 << Up),                              // Corner
    (1 << Right) | (1 << Left),                            // Straight
    (1 << Right) | (1 << Up) | (1 << Left),                // Tee
    (1 << Right) | (1 << Up) | (1 << Left) | (1 << Down),  // Cross
    0,
    0,  // types 6 and 7: no openings
};

struct Openings {
    std::array<std::uint8_t, 4> flag;
};

// Entries for codes 1..32; entry 0 is unused (an empty cell has no openings).
constexpr std::array<Openings, 33> BuildPieceTable() {
    std::array<Openings, 33> table{};
    for (int code = 1; code <= 32; ++code) {
        const auto piece = static_cast<std::uint8_t>(code);
        for (int d = 0; d < 4; ++d) {
            if (kBaseOpenings[PieceTypeOf(piece)] & (1 << d))
                table[code].flag[(d + OrientationOf(piece)) % 4] = 1;
        }
    }
    return table;
}

constexpr std::array<Openings, 33> kPieceTable = BuildPieceTable();

}  // namespace

bool HasOpening(std::uint8_t code, Direction d) {
    if (code == 0 || code > 32) return false;
    return kPieceTable[code].flag[d & 3] != 0;
}

namespace {

std::uint8_t WithOrientation(std::uint8_t code, int orientation) {
    return static_cast<std::uint8_t>((code & ~0x1F) | (orientation << 3) | PieceTypeOf(code));
}

}  // namespace

std::uint8_t TurnedCounterClockwise(std::uint8_t code) {
    return WithOrientation(code, (OrientationOf(code) + 1) % 4);
}

std::uint8_t TurnedClockwise(std::uint8_t code) {
    return WithOrientation(code, (OrientationOf(code) + 3) % 4);
}
