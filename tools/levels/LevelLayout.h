#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/Board.h"
#include "core/LevelRecord.h"
#include "tools/levels/PieceSet.h"

// Orientations of a piece, by the openings that face another piece: only
// those can carry water, so orientations that differ elsewhere (towards the
// edge or an empty cell) are the same for every question of play.
struct LayoutPiece {
    int column = 0;
    int row = 0;
    int cell = 0;  // index into the layers
    int type = 0;
    std::array<int, 4> neighbour{-1, -1, -1, -1};  // piece number by direction, -1 for none
    std::array<std::uint8_t, 4> openings{};        // all openings, by orientation (bit d)
    std::array<std::uint8_t, 4> useful{};          // openings towards pieces, by orientation
    std::array<std::uint8_t, 4> usefulClass{};     // orientation -> its class 0..classes-1
    int classes = 1;
};

// Quarter turns from orientation a to b, the shorter way (0, 1 or 2).
constexpr int TurnDistance(int a, int b) {
    const int d = ((b - a) % 4 + 4) % 4;
    return d == 3 ? 1 : d;
}

// Quarter turns from orientation o to the nearest of the orientations in
// set (bit t); 3 when the set is empty.
constexpr int TurnsToSet(int o, std::uint8_t set) {
    int best = 3;
    for (int t = 0; t < 4; ++t)
        if ((set >> t & 1) && TurnDistance(o, t) < best) best = TurnDistance(o, t);
    return best;
}

// The pieces of a level numbered 0..PieceCount()-1 in layer order, with
// their neighbours; what the solver, the scrambler and the stats share.
class LevelLayout {
public:
    explicit LevelLayout(const LevelRecord& level);

    int PieceCount() const { return static_cast<int>(m_pieces.size()); }
    const LayoutPiece& Piece(int i) const { return m_pieces[i]; }
    int PieceAt(int cell) const { return m_pieceAt[cell]; }
    int SourcePiece() const { return m_source; }  // -1 when the source cell holds no piece
    const std::vector<std::uint8_t>& StartOrientations() const { return m_start; }
    const LevelRecord& Level() const { return m_level; }

    // The board with the given orientations and source piece, its water
    // computed by the game's own flow.
    Board MakeBoard(const std::vector<std::uint8_t>& orientations, int source) const;
    // The pieces a board shows wet.
    PieceSet WetPieces(const Board& board) const;
    PieceSet All() const;
    // Turns piece i on the board from orientation `from` to `to` with the
    // game's own turns, the shorter way round.
    void Turn(Board& board, int i, int from, int to) const;

private:
    LevelRecord m_level;
    std::vector<LayoutPiece> m_pieces;
    std::array<int, kCells> m_pieceAt{};
    std::vector<std::uint8_t> m_start;
    int m_source = -1;
};

// Piece code of a type in an orientation.
constexpr std::uint8_t PieceCode(int type, int orientation) {
    return static_cast<std::uint8_t>(8 * orientation + type);
}

// Openings (bit d) of a piece code, read from the game's piece table.
std::uint8_t OpeningMask(std::uint8_t code);
