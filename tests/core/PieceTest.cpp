#include <gtest/gtest.h>

#include "core/Piece.h"

namespace {

struct TableRow {
    int code;
    int right, up, left, down;
};

// The openings of every code in use, as the game's rules list them.
constexpr TableRow kPieceTable[] = {
    {1, 1, 0, 0, 0}, {9, 0, 1, 0, 0},  {17, 0, 0, 1, 0}, {25, 0, 0, 0, 1},  //
    {2, 1, 1, 0, 0}, {10, 0, 1, 1, 0}, {18, 0, 0, 1, 1}, {26, 1, 0, 0, 1},  //
    {3, 1, 0, 1, 0}, {11, 0, 1, 0, 1}, {19, 1, 0, 1, 0}, {27, 0, 1, 0, 1},  //
    {4, 1, 1, 1, 0}, {12, 0, 1, 1, 1}, {20, 1, 0, 1, 1}, {28, 1, 1, 0, 1},  //
    {5, 1, 1, 1, 1}, {13, 1, 1, 1, 1}, {21, 1, 1, 1, 1}, {29, 1, 1, 1, 1},
};

TEST(PieceTable, OpeningsOfEveryCodeInUse) {
    for (const TableRow& row : kPieceTable) {
        SCOPED_TRACE(row.code);
        const auto code = static_cast<std::uint8_t>(row.code);
        EXPECT_EQ(HasOpening(code, Right), row.right == 1);
        EXPECT_EQ(HasOpening(code, Up), row.up == 1);
        EXPECT_EQ(HasOpening(code, Left), row.left == 1);
        EXPECT_EQ(HasOpening(code, Down), row.down == 1);
        EXPECT_TRUE(IsPieceCode(code));
    }
}

TEST(PieceTable, CodesWithoutAPieceHaveNoOpenings) {
    for (int code : {0, 6, 7, 8, 14, 15, 16, 22, 23, 24, 30, 31, 32, 33, 64, 200, 255}) {
        SCOPED_TRACE(code);
        for (Direction d : {Right, Up, Left, Down})
            EXPECT_FALSE(HasOpening(static_cast<std::uint8_t>(code), d));
        EXPECT_FALSE(IsPieceCode(static_cast<std::uint8_t>(code)));
    }
}

TEST(PieceTurns, MappingOfEveryCodeInUse) {
    // Each row: the four orientations of a type, then their left and right
    // turns; the last row a stray high bit, which the turns keep.
    const int rows[6][3][4] = {
        {{1, 9, 17, 25}, {9, 17, 25, 1}, {25, 1, 9, 17}},
        {{2, 10, 18, 26}, {10, 18, 26, 2}, {26, 2, 10, 18}},
        {{3, 11, 19, 27}, {11, 19, 27, 3}, {27, 3, 11, 19}},
        {{4, 12, 20, 28}, {12, 20, 28, 4}, {28, 4, 12, 20}},
        {{5, 13, 21, 29}, {13, 21, 29, 5}, {29, 5, 13, 21}},
        {{33, 41, 49, 57}, {41, 49, 57, 33}, {57, 33, 41, 49}},
    };
    for (const auto& row : rows) {
        for (int i = 0; i < 4; ++i) {
            const auto code = static_cast<std::uint8_t>(row[0][i]);
            SCOPED_TRACE(int(code));
            EXPECT_EQ(OrientationOf(code), i);
            EXPECT_EQ(TurnedCounterClockwise(code), row[1][i]);
            EXPECT_EQ(TurnedClockwise(code), row[2][i]);
            std::uint8_t left = code, right = code;
            for (int k = 0; k < 4; ++k) {
                left = TurnedCounterClockwise(left);
                right = TurnedClockwise(right);
            }
            EXPECT_EQ(left, code);
            EXPECT_EQ(right, code);
        }
    }
}

TEST(PieceTurns, CounterClockwiseMovesEveryOpeningOneDirectionOn) {
    for (const TableRow& row : kPieceTable) {
        const auto code = static_cast<std::uint8_t>(row.code);
        const std::uint8_t turned = TurnedCounterClockwise(code);
        for (int d = 0; d < 4; ++d)
            EXPECT_EQ(HasOpening(turned, static_cast<Direction>((d + 1) % 4)),
                      HasOpening(code, static_cast<Direction>(d)))
                << "code " << row.code << " direction " << d;
    }
}

}  // namespace
