#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "core/LevelRecord.h"
#include "core/Piece.h"

// The level on the board: a copy of its record that play changes, and the water.
struct Board {
    CellLayer PieceLayer{};
    CellLayer FloorLayer{};
    int SourceColumn = 1;
    int SourceRow = 1;
    CellLayer WetMap{};    // where the water reaches, as last computed
    CellLayer ShownWet{};  // the water as drawn; trails WetMap until it is animated

    std::uint8_t Piece(int c, int r) const { return PieceLayer[CellIndex(c, r)]; }
    bool IsWet(int c, int r) const { return WetMap[CellIndex(c, r)] != 0; }
    bool IsShownWet(int c, int r) const { return ShownWet[CellIndex(c, r)] != 0; }
};

// The clock a level starts with: this many seconds for each of its pieces.
inline constexpr int kSecondsPerPiece = 4;

// Puts a level's pieces, floor and source on the board; the water is cleared.
// Returns the level's time allowance, kSecondsPerPiece for each piece.
int PlaceLevel(Board& board, const LevelRecord& record);

// Rewrites WetMap: the source cell, and every piece joined to it by pairs of
// facing openings.
void ComputeWater(Board& board);

// True when every piece shows water. Reads ShownWet, so it is asked after the
// water has been animated.
bool IsSolved(const Board& board);

// The code change of a turn; the cell must hold a piece.
void TurnCounterClockwise(Board& board, int c, int r);
void TurnClockwise(Board& board, int c, int r);
