#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <tuple>

#include "core/Board.h"
#include "tests/support/Levels.h"
#include "tools/levels/ExactMeasures.h"
#include "tools/levels/ExactSolver.h"
#include "tools/levels/Rng.h"

namespace {

using testlevels::Make;

// Breadth first over every board the presses can reach, played with the
// game's own turns and water: the least presses, or -1.
int BruteForceMinimum(const LevelRecord& level, int maxDepth) {
    Board start;
    PlaceLevel(start, level);
    ComputeWater(start);
    auto key = [](const Board& b) {
        std::string text(b.PieceLayer.begin(), b.PieceLayer.end());
        return text + char(b.SourceColumn) + char(b.SourceRow);
    };
    std::set<std::string> seen{key(start)};
    std::deque<std::pair<Board, int>> queue{{start, 0}};
    while (!queue.empty()) {
        const auto [board, depth] = queue.front();
        queue.pop_front();
        if (depth == maxDepth) continue;
        for (int c = 1; c <= kColumns; ++c) {
            for (int r = 1; r <= kRows; ++r) {
                if (board.Piece(c, r) == 0 || !board.IsWet(c, r)) continue;
                for (const bool counterClockwise : {true, false}) {
                    Board next = board;
                    if (counterClockwise)
                        TurnCounterClockwise(next, c, r);
                    else
                        TurnClockwise(next, c, r);
                    next.SourceColumn = c;
                    next.SourceRow = r;
                    ComputeWater(next);
                    next.ShownWet = next.WetMap;
                    if (IsSolved(next)) return depth + 1;
                    if (seen.insert(key(next)).second) queue.emplace_back(next, depth + 1);
                }
            }
        }
    }
    return -1;
}

TEST(ExactSolverTest, MinimumMatchesBruteForce) {
    struct Case {
        const char* what;
        LevelRecord level;
        int minimum;
        int leastTurns;  // ignoring the water
    };
    const Case cases[] = {
        {"one turn", Make({{4, 4, 3}, {4, 5, 9}}, 4, 4), 1, 1},
        {"half turn", Make({{3, 4, 17}, {4, 4, 3}, {5, 4, 17}}, 3, 4), 2, 2},
        {"walk on", Make({{3, 4, 9}, {4, 4, 3}, {5, 4, 10}, {5, 5, 9}}, 3, 4), 2, 2},
        // Found by the brute force among random boards: the water forces
        // turns away and back on top of the least turns.
        {"detour of two", Make({{3, 3, 26}, {3, 4, 26}, {4, 3, 12}, {4, 4, 27}, {4, 5, 4}}, 4, 3), 3, 1},
        {"source turned away first", Make({{3, 3, 28}, {3, 4, 28}, {4, 3, 17}, {4, 4, 2}, {4, 5, 2}}, 3, 3),
         4, 2},
        {"detour of four",
         Make({{3, 3, 3}, {3, 4, 12}, {4, 3, 26}, {4, 4, 27}, {5, 3, 26}, {5, 4, 12}}, 5, 4), 8, 4},
        {"detour of six", Make({{3, 3, 2}, {3, 4, 27}, {4, 3, 26}, {4, 4, 18}, {5, 3, 1}, {5, 4, 12}}, 5, 3),
         11, 5},
    };
    for (const Case& c : cases) {
        const int brute = BruteForceMinimum(c.level, 12);
        const ExactResult exact = SolveExact(c.level);
        ASSERT_EQ(exact.status, SolveStatus::Solved) << c.what << ": " << exact.reason;
        EXPECT_TRUE(exact.proved) << c.what;
        EXPECT_EQ(static_cast<int>(exact.moves.size()), brute) << c.what << ": " << FormatMoves(exact.moves);
        EXPECT_EQ(brute, c.minimum) << c.what;
        EXPECT_EQ(exact.staticBound, c.leastTurns) << c.what;
        // The column sweep, used when the pictures are too many to list.
        const SolvedPictures swept = FindSolvedPictures(LevelLayout(c.level), 0);
        EXPECT_FALSE(swept.complete);
        EXPECT_EQ(swept.staticBound, c.leastTurns) << c.what;
        // The bound counts the turns the water forces: with next to no search, it is the minimum.
        ExactOptions few;
        few.maxPositions = 3;
        EXPECT_EQ(SolveExact(c.level, few).lowerBound, c.minimum) << c.what;
        const ReplayOutcome replay = ReplayMoves(c.level, exact.moves);
        EXPECT_TRUE(replay.solved) << c.what;
        // A known line is only a solution to beat: a good one changes nothing, one that solves nothing is
        // ignored.
        for (const std::vector<Move>& known : {exact.moves, std::vector<Move>{{MouseButton::Left, 1, 1}}}) {
            ExactOptions options;
            options.known = known;
            const ExactResult with = SolveExact(c.level, options);
            EXPECT_TRUE(with.proved) << c.what;
            EXPECT_EQ(static_cast<int>(with.moves.size()), brute) << c.what;
        }
    }
}

// Random boards with every kind of piece: up to 3 x 2 cells, which one
// window of the bound covers, and 3 x 3, where water enters the windows from
// outside.
TEST(ExactSolverTest, RandomSmallBoardsMatchBruteForce) {
    struct Size {
        int columns, rows, trials, depth, atLeast;  // depth: the deepest minimum compared
    };
    for (const Size size : {Size{3, 2, 1500, 16, 100}, Size{3, 3, 2500, 9, 80}}) {
        Rng rng(26);
        int compared = 0;
        for (int trial = 0; trial < size.trials; ++trial) {
            LevelRecord level = Make({}, 3, 3);
            for (int c = 3; c < 3 + size.columns; ++c)
                for (int r = 3; r < 3 + size.rows; ++r)
                    if (rng.Below(5) > 0)
                        level.PieceLayer[CellIndex(c, r)] =
                            static_cast<std::uint8_t>(8 * rng.Below(4) + 1 + rng.Below(5));
            if (level.PieceLayer[CellIndex(3, 3)] == 0) continue;
            const ExactResult exact = SolveExact(level);
            if (exact.status != SolveStatus::Solved) {
                if (size.rows == 2) {
                    EXPECT_EQ(BruteForceMinimum(level, size.depth), -1) << trial;
                }
                continue;
            }
            if (exact.moves[0].button == MouseButton::Middle) continue;  // joined at the start
            if (static_cast<int>(exact.moves.size()) > size.depth) continue;
            const int brute = BruteForceMinimum(level, static_cast<int>(exact.moves.size()));
            ASSERT_TRUE(exact.proved) << trial;
            EXPECT_EQ(static_cast<int>(exact.moves.size()), brute)
                << trial << ": " << FormatMoves(exact.moves);
            ++compared;
        }
        EXPECT_GT(compared, size.atLeast) << size.columns << " x " << size.rows << " boards compared";
    }
}

TEST(ExactSolverTest, StopsAtItsBoundWithALowerBound) {
    // The detour of six, with too few positions to prove it.
    const LevelRecord level =
        Make({{3, 3, 2}, {3, 4, 27}, {4, 3, 26}, {4, 4, 18}, {5, 3, 1}, {5, 4, 12}}, 5, 3);
    ExactOptions tight;
    tight.maxPositions = 20;
    const ExactResult result = SolveExact(level, tight);
    EXPECT_FALSE(result.proved);
    EXPECT_GE(result.lowerBound, 5) << "at least the turns ignoring the water";
    EXPECT_LE(result.lowerBound, 11);
    if (result.status == SolveStatus::Solved) {
        EXPECT_GE(result.moves.size(), 11u);
    }
}

TEST(ExactMeasuresTest, MeasuresDetoursKnotsAndThePlayersTime) {
    const LevelRecord detour = Make({{3, 3, 26}, {3, 4, 26}, {4, 3, 12}, {4, 4, 27}, {4, 5, 4}}, 4, 3);
    const ExactMeasures m = MeasureExactly(detour);
    EXPECT_EQ(m.pieces, 5);
    EXPECT_EQ(m.clock, 20);
    EXPECT_EQ(m.minimum, 3);
    EXPECT_TRUE(m.proved);
    EXPECT_EQ(m.staticBound, 1);
    EXPECT_EQ(m.detours, 2);
    EXPECT_EQ(m.knots, 1) << FormatMoves(m.moves);
    EXPECT_EQ(m.outOfPlace, 1);
    EXPECT_EQ(m.wetAtStart, 4) << "all but the corner (3,4)";

    EXPECT_DOUBLE_EQ(QuickPlayerSeconds(*ParseMoves("L3,4 L3,4 R5,4")), 3 * 0.6 + 2);
    // Off the curve: a rest far below its neighbours, a spike far above; the first and last have fewer
    // neighbours, an unknown minimum none.
    const std::vector<OffCurve> off = FindOffCurve({3, 3, 3, 4, 4, 1, 5, 6, 12, 7, -1, 8, 8});
    ASSERT_EQ(off.size(), 2u);
    EXPECT_EQ(off[0].level, 6);
    EXPECT_DOUBLE_EQ(off[0].ratio, 1 / 4.0);
    EXPECT_EQ(off[1].level, 9);
    EXPECT_DOUBLE_EQ(off[1].ratio, 12 / 5.5);
    // Away and back on one piece, then straight on: one knot.
    const LevelRecord row = Make({{3, 4, 1}, {4, 4, 3}, {5, 4, 17}}, 4, 4);
    EXPECT_EQ(CountKnots(row, *ParseMoves("L4,4 R4,4 M4,4")), 1);
    EXPECT_EQ(CountKnots(testlevels::kBrokenRow, *ParseMoves("L5,4 L5,4")), 0);

    // Every opening must meet one: a row is fixed by that alone, four ends
    // in a square pair off two ways.
    EXPECT_DOUBLE_EQ(LocallyFixedShare(testlevels::kBrokenRow), 1.0);
    EXPECT_DOUBLE_EQ(LocallyFixedShare(Make({{3, 3, 1}, {4, 3, 1}, {3, 4, 1}, {4, 4, 1}}, 3, 3)), 0.0);
}

TEST(ExactMeasuresTest, FindsMovedMirroredAndTurnedLevels) {
    const LevelRecord a = Make({{3, 4, 9}, {4, 4, 3}, {5, 4, 10}, {5, 5, 9}}, 3, 4);
    const LevelRecord mirrored = Make({{8, 4, 9}, {7, 4, 3}, {6, 4, 2}, {6, 5, 9}}, 8, 4);
    const LevelRecord moved = Make({{4, 5, 9}, {5, 5, 3}, {6, 5, 10}, {6, 6, 9}}, 4, 5);
    const LevelRecord otherTurns = Make({{3, 4, 1}, {4, 4, 11}, {5, 4, 10}, {5, 5, 9}}, 3, 4);
    const LevelRecord other = Make({{3, 4, 9}, {4, 4, 3}, {5, 4, 3}, {6, 4, 9}}, 3, 4);
    const auto pairs = FindSimilarLevels({a, other, mirrored, moved, otherTurns});
    ASSERT_EQ(pairs.size(), 3u);
    EXPECT_EQ(std::tie(pairs[0].first, pairs[0].second, pairs[0].exact), std::make_tuple(1, 3, true));
    EXPECT_EQ(pairs[0].how, "mirrored");
    EXPECT_EQ(std::tie(pairs[1].first, pairs[1].second, pairs[1].exact), std::make_tuple(1, 4, true));
    EXPECT_EQ(pairs[1].how, "moved");
    EXPECT_EQ(std::tie(pairs[2].first, pairs[2].second, pairs[2].exact), std::make_tuple(1, 5, false));
}

}  // namespace
