#pragma once

#include <cstdint>

// A piece code is 8 * orientation + type; 0 is an empty cell.
enum Direction : int { Right = 0, Up = 1, Left = 2, Down = 3 };

enum PieceType : int { End = 1, Corner = 2, Straight = 3, Tee = 4, Cross = 5 };

constexpr Direction Opposite(Direction d) {
    return static_cast<Direction>((d + 2) % 4);
}

constexpr int PieceTypeOf(std::uint8_t code) {
    return code & 7;
}
// Bits 3 and 4; the bits above them belong to no piece and a turn keeps them.
constexpr int OrientationOf(std::uint8_t code) {
    return (code >> 3) & 3;
}

// True for the 20 codes that name a real piece in one of its four orientations.
constexpr bool IsPieceCode(std::uint8_t code) {
    return code <= 29 && PieceTypeOf(code) >= End && PieceTypeOf(code) <= Cross;
}

// Opening flag of the piece table. Codes without an entry (0 and anything
// above 32) have no openings, so a stray byte can never index past the table.
bool HasOpening(std::uint8_t code, Direction d);

// Quarter turns; only the orientation bits change, the type bits are kept.
std::uint8_t TurnedCounterClockwise(std::uint8_t code);
std::uint8_t TurnedClockwise(std::uint8_t code);
