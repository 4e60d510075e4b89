#include "core/Board.h"

#include <cassert>

#include "core/Piece.h"

int PlaceLevel(Board& board, const LevelRecord& record) {
    board.PieceLayer = record.PieceLayer;
    board.FloorLayer = record.FloorLayer;
    board.SourceColumn = record.SourceColumn;
    board.SourceRow = record.SourceRow;
    board.WetMap.fill(0);
    board.ShownWet.fill(0);
    return kSecondsPerPiece * record.PieceCount();
}

namespace {

// The recursive step of ComputeWater: water leaves wet cell (c, r) towards d.
void FlowInto(Board& board, int c, int r, Direction d) {
    static constexpr int kStepColumn[4] = {1, 0, -1, 0};
    static constexpr int kStepRow[4] = {0, -1, 0, 1};
    const int nc = c + kStepColumn[d];
    const int nr = r + kStepRow[d];
    if (!IsOnBoard(nc, nr)) return;
    const std::uint8_t piece = board.Piece(nc, nr);
    if (piece == 0) return;
    if (board.IsWet(nc, nr)) return;
    if (!HasOpening(piece, Opposite(d))) return;
    board.WetMap[CellIndex(nc, nr)] = 1;
    for (Direction e : {Right, Up, Left, Down}) {
        if (HasOpening(piece, e)) FlowInto(board, nc, nr, e);
    }
}

}  // namespace

void ComputeWater(Board& board) {
    board.WetMap.fill(0);
    const int c = board.SourceColumn;
    const int r = board.SourceRow;
    assert(IsOnBoard(c, r));
    board.WetMap[CellIndex(c, r)] = 1;
    for (Direction d : {Right, Up, Left, Down}) {
        if (HasOpening(board.Piece(c, r), d)) FlowInto(board, c, r, d);
    }
}

bool IsSolved(const Board& board) {
    for (int i = 0; i < kCells; ++i) {
        if (board.PieceLayer[i] != 0 && board.ShownWet[i] == 0) return false;
    }
    return true;
}

void TurnCounterClockwise(Board& board, int c, int r) {
    auto& code = board.PieceLayer[CellIndex(c, r)];
    assert(code != 0);
    code = TurnedCounterClockwise(code);
}

void TurnClockwise(Board& board, int c, int r) {
    auto& code = board.PieceLayer[CellIndex(c, r)];
    assert(code != 0);
    code = TurnedClockwise(code);
}
