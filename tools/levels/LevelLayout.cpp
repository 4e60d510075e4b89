#include "tools/levels/LevelLayout.h"

#include "core/Piece.h"

std::uint8_t OpeningMask(std::uint8_t code) {
    std::uint8_t mask = 0;
    for (Direction d : {Right, Up, Left, Down})
        if (HasOpening(code, d)) mask |= static_cast<std::uint8_t>(1 << d);
    return mask;
}

LevelLayout::LevelLayout(const LevelRecord& level) : m_level(level) {
    m_pieceAt.fill(-1);
    for (int c = 1; c <= kColumns; ++c) {
        for (int r = 1; r <= kRows; ++r) {
            const std::uint8_t code = level.PieceLayer[CellIndex(c, r)];
            if (code == 0) continue;
            LayoutPiece piece;
            piece.column = c;
            piece.row = r;
            piece.cell = CellIndex(c, r);
            piece.type = PieceTypeOf(code);
            m_pieceAt[piece.cell] = PieceCount();
            m_pieces.push_back(piece);
            m_start.push_back(static_cast<std::uint8_t>(OrientationOf(code)));
        }
    }
    static constexpr int kStepColumn[4] = {1, 0, -1, 0};
    static constexpr int kStepRow[4] = {0, -1, 0, 1};
    for (LayoutPiece& piece : m_pieces) {
        std::uint8_t towardsPieces = 0;
        for (int d = 0; d < 4; ++d) {
            const int nc = piece.column + kStepColumn[d];
            const int nr = piece.row + kStepRow[d];
            if (!IsOnBoard(nc, nr) || m_pieceAt[CellIndex(nc, nr)] < 0) continue;
            piece.neighbour[d] = m_pieceAt[CellIndex(nc, nr)];
            towardsPieces |= static_cast<std::uint8_t>(1 << d);
        }
        int classes = 0;
        for (int o = 0; o < 4; ++o) {
            piece.openings[o] = OpeningMask(PieceCode(piece.type, o));
            piece.useful[o] = piece.openings[o] & towardsPieces;
            int found = -1;
            for (int earlier = 0; earlier < o; ++earlier)
                if (piece.useful[earlier] == piece.useful[o]) found = piece.usefulClass[earlier];
            piece.usefulClass[o] = static_cast<std::uint8_t>(found >= 0 ? found : classes++);
        }
        piece.classes = classes;
    }
    if (IsOnBoard(level.SourceColumn, level.SourceRow))
        m_source = m_pieceAt[CellIndex(level.SourceColumn, level.SourceRow)];
}

Board LevelLayout::MakeBoard(const std::vector<std::uint8_t>& orientations, int source) const {
    Board board;
    board.PieceLayer.fill(0);
    for (int i = 0; i < PieceCount(); ++i)
        board.PieceLayer[m_pieces[i].cell] = PieceCode(m_pieces[i].type, orientations[i]);
    board.FloorLayer = m_level.FloorLayer;
    board.SourceColumn = m_pieces[source].column;
    board.SourceRow = m_pieces[source].row;
    ComputeWater(board);
    board.ShownWet = board.WetMap;
    return board;
}

PieceSet LevelLayout::WetPieces(const Board& board) const {
    PieceSet wet;
    for (int i = 0; i < PieceCount(); ++i)
        if (board.WetMap[m_pieces[i].cell]) wet.Add(i);
    return wet;
}

PieceSet LevelLayout::All() const {
    PieceSet all;
    for (int i = 0; i < PieceCount(); ++i) all.Add(i);
    return all;
}

void LevelLayout::Turn(Board& board, int i, int from, int to) const {
    const LayoutPiece& piece = m_pieces[i];
    const int steps = ((to - from) % 4 + 4) % 4;
    if (steps == 3) {
        TurnClockwise(board, piece.column, piece.row);
        return;
    }
    for (int k = 0; k < steps; ++k) TurnCounterClockwise(board, piece.column, piece.row);
}
