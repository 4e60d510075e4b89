#include <gtest/gtest.h>

#include "core/Board.h"
#include "tests/support/Levels.h"

namespace {

using testlevels::Make;

Board Placed(const LevelRecord& record) {
    Board board;
    PlaceLevel(board, record);
    ComputeWater(board);
    return board;
}

std::vector<std::pair<int, int>> WetCells(const Board& board) {
    std::vector<std::pair<int, int>> cells;
    for (int c = 1; c <= kColumns; ++c)
        for (int r = 1; r <= kRows; ++r)
            if (board.IsWet(c, r)) cells.emplace_back(c, r);
    return cells;
}

using Cells = std::vector<std::pair<int, int>>;

TEST(Water, FlowsOnlyThroughFacingOpenings) {
    // Straight (right, left) at (5,4); an End opening left meets it, one opening right does not.
    EXPECT_EQ(WetCells(Placed(Make({{5, 4, 3}, {6, 4, 17}}, 5, 4))), (Cells{{5, 4}, {6, 4}}));
    EXPECT_EQ(WetCells(Placed(Make({{5, 4, 3}, {6, 4, 1}}, 5, 4))), (Cells{{5, 4}}));
}

TEST(Water, StopsAtTheEdgeAnEmptyCellAndAClosedSide) {
    // Cross in the corner: up and left lead off the board, right to an empty
    // cell, down into a Straight lying across (closed at the top).
    EXPECT_EQ(WetCells(Placed(Make({{1, 1, 5}, {1, 2, 3}}, 1, 1))), (Cells{{1, 1}}));
    // A Tee in the far corner: right leads off the board, up to an empty cell.
    EXPECT_EQ(WetCells(Placed(Make({{10, 8, 4}, {9, 8, 3}, {8, 8, 1}}, 10, 8))),
              (Cells{{8, 8}, {9, 8}, {10, 8}}));
}

TEST(Water, FillsARingOfCornersAndStops) {
    // Corners: 26 right+down, 18 left+down, 2 right+up, 10 up+left.
    const Board board = Placed(Make({{2, 2, 26}, {3, 2, 18}, {2, 3, 2}, {3, 3, 10}}, 3, 3));
    EXPECT_EQ(WetCells(board), (Cells{{2, 2}, {2, 3}, {3, 2}, {3, 3}}));
}

TEST(Water, SourceOnAnEmptyCellWetsOnlyThatCell) {
    const Board board = Placed(Make({{2, 1, 17}}, 1, 1));
    EXPECT_EQ(WetCells(board), (Cells{{1, 1}}));
}

TEST(Water, IsTheSameNetworkFromAnyOfItsPieces) {
    const LevelRecord level =
        Make({{1, 1, 26}, {2, 1, 3}, {3, 1, 18}, {1, 2, 11}, {3, 2, 2}, {4, 2, 17}, {6, 6, 5}}, 1, 1);
    const Cells fromCorner = WetCells(Placed(level));
    EXPECT_EQ(fromCorner.size(), 6u);
    for (auto [c, r] : fromCorner) {
        LevelRecord other = level;
        other.SourceColumn = static_cast<std::uint8_t>(c);
        other.SourceRow = static_cast<std::uint8_t>(r);
        EXPECT_EQ(WetCells(Placed(other)), fromCorner) << "from " << c << "," << r;
    }
}

TEST(Water, TurningAwayDrainsTheRest) {
    Board board = Placed(Make({{5, 4, 3}, {6, 4, 17}, {4, 4, 1}}, 5, 4));
    ASSERT_EQ(WetCells(board).size(), 3u);
    TurnCounterClockwise(board, 5, 4);  // now up and down: faces no neighbour
    ComputeWater(board);
    EXPECT_EQ(WetCells(board), (Cells{{5, 4}}));
}

TEST(Solved, EveryPieceMustShowWater) {
    Board board = Placed(Make({{5, 4, 3}, {6, 4, 17}, {4, 4, 1}, {8, 8, 3}, {9, 8, 3}}, 5, 4));
    board.ShownWet = board.WetMap;
    EXPECT_FALSE(IsSolved(board)) << "a joined pair cut off from the source is still dry";

    board = Placed(Make({{5, 4, 3}, {6, 4, 17}, {4, 4, 1}}, 5, 4));
    EXPECT_FALSE(IsSolved(board)) << "the test reads the shown water, not the computed one";
    board.ShownWet = board.WetMap;
    EXPECT_TRUE(IsSolved(board));

    // Water on empty cells does not count either way.
    board = Placed(Make({}, 3, 3));
    EXPECT_TRUE(IsSolved(board));
}

TEST(Water, LongestPathOverTheWholeBoard) {
    // A snake through all 80 cells: the recursion is as deep as it ever gets.
    LevelRecord level = Make({}, 1, 1);
    for (int c = 1; c <= kColumns; ++c) {
        const bool down = c % 2 == 1;
        for (int r = 1; r <= kRows; ++r) level.PieceLayer[CellIndex(c, r)] = 11;  // up-down straight
        // Corners at the turns: top or bottom of each column joins the next.
        const int top = down ? 1 : kRows;
        const int bottom = down ? kRows : 1;
        if (c > 1) level.PieceLayer[CellIndex(c, top)] = down ? 18 : 10;  // from the left, then on
        if (c < kColumns) level.PieceLayer[CellIndex(c, bottom)] = down ? 2 : 26;
    }
    level.PieceLayer[CellIndex(1, 1)] = 25;         // End opening down
    level.PieceLayer[CellIndex(kColumns, 1)] = 25;  // the last column ends at the top
    EXPECT_EQ(WetCells(Placed(level)).size(), 80u);
}

}  // namespace
