#include <gtest/gtest.h>

#include <fstream>

#include "core/Piece.h"
#include "tests/support/Levels.h"
#include "tools/levels/LevelLayout.h"
#include "tools/levels/LevelMetrics.h"
#include "tools/levels/Moves.h"
#include "tools/levels/PerfectNetworks.h"
#include "tools/levels/SolutionsFile.h"
#include "tools/levels/Solver.h"

namespace {

using testlevels::Make;

std::vector<Move> Moves(const std::string& text) {
    return *ParseMoves(text);
}

// The game itself must accept every solution the solver prints.
void ExpectSolvedByGame(const LevelRecord& level, const std::vector<Move>& moves) {
    const ReplayOutcome replay = ReplayMoves(level, moves);
    EXPECT_TRUE(replay.solved) << FormatMoves(moves);
    EXPECT_EQ(replay.movesToSolve, static_cast<int>(moves.size())) << FormatMoves(moves);
}

TEST(SolverTest, FindsShortSolutionsThatTheGameAccepts) {
    struct Case {
        const char* what;
        LevelRecord level;
        std::size_t presses;
    };
    const Case cases[] = {
        // Straight source (4,4) turned towards the End below it.
        {"one turn", Make({{4, 4, 3}, {4, 5, 9}}, 4, 4), 1},
        // End source facing away from the row: half a turn.
        {"half turn", Make({{3, 4, 17}, {4, 4, 3}, {5, 4, 17}}, 3, 4), 2},
        // Water must reach the corner (5,4) before it can turn towards (5,5).
        {"walk on", Make({{3, 4, 9}, {4, 4, 3}, {5, 4, 10}, {5, 5, 9}}, 3, 4), 2},
    };
    for (const Case& c : cases) {
        const SolveResult result = SolveLevel(c.level);
        ASSERT_EQ(result.status, SolveStatus::Solved) << c.what << ": " << result.reason;
        EXPECT_EQ(result.moves.size(), c.presses) << c.what << ": " << FormatMoves(result.moves);
        ExpectSolvedByGame(c.level, result.moves);
    }
}

TEST(SolverTest, JoinedAtStartIsSolvedByAPressThatTurnsNothing) {
    const LevelRecord& joined = testlevels::kJoinedRow;
    const SolveResult result = SolveLevel(joined);
    ASSERT_EQ(result.status, SolveStatus::Solved);
    EXPECT_EQ(FormatMoves(result.moves), "M4,4");
    ExpectSolvedByGame(joined, result.moves);
}

TEST(SolverTest, ProvesWhatCannotBeSolved) {
    struct Case {
        const char* what;
        LevelRecord level;
        const char* reason;
    };
    const Case cases[] = {
        {"source on an empty cell", Make({{4, 4, 3}, {5, 4, 1}}, 6, 6), "source cell holds no piece"},
        {"piece far away", Make({{4, 4, 3}, {5, 4, 1}, {9, 8, 1}}, 4, 4), "(9,8) touches no chain"},
        // The End (5,4) points away from the source and is dry: it never turns.
        {"dry end facing away", Make({{4, 4, 11}, {5, 4, 1}}, 4, 4), "(5,4) can never get water"},
        // A corner cannot join two pieces on opposite sides: found by trying every position.
        {"corner between two ends", Make({{3, 4, 1}, {4, 4, 2}, {5, 4, 17}}, 4, 4), "reachable positions"},
    };
    for (const Case& c : cases) {
        const SolveResult result = SolveLevel(c.level);
        EXPECT_EQ(result.status, SolveStatus::Impossible) << c.what;
        EXPECT_NE(result.reason.find(c.reason), std::string::npos) << c.what << ": " << result.reason;
    }
    EXPECT_EQ(SolveLevel(Make({}, 1, 1)).status, SolveStatus::NoPieces);
}

TEST(SolverTest, StopsAtItsBound) {
    // A row of tees open to the left, turned one after the other; a tee in a
    // row always has an opening towards nothing, so no perfect network
    // exists and the search goes without one.
    LevelRecord row = Make({}, 1, 4);
    for (int c = 1; c <= 10; ++c) row.PieceLayer[CellIndex(c, 4)] = 12;
    SolverOptions tight;
    tight.maxPositions = 3;
    const SolveResult result = SolveLevel(row, tight);
    EXPECT_EQ(result.status, SolveStatus::NotFound);
    EXPECT_NE(result.reason.find("within 3 positions"), std::string::npos);
    const SolveResult free = SolveLevel(row);
    ASSERT_EQ(free.status, SolveStatus::Solved) << free.reason;
    EXPECT_EQ(free.moves.size(), 9u) << FormatMoves(free.moves);
    ExpectSolvedByGame(row, free.moves);
}

TEST(SolverTest, PressesToSolveAndShortening) {
    const LevelRecord level = Make({{3, 4, 9}, {4, 4, 3}, {5, 4, 10}, {5, 5, 9}}, 3, 4);
    EXPECT_EQ(PressesToSolve(level, Moves("R3,4 L5,4")), 2);
    EXPECT_EQ(PressesToSolve(level, Moves("L5,4")), -1) << "dry piece";
    EXPECT_EQ(PressesToSolve(level, Moves("R3,4")), -1) << "not solved";
    EXPECT_EQ(PressesToSolve(level, Moves("R3,4 L5,4 L5,4")), 2);
    EXPECT_FALSE(SolvesOnBoard(level, Moves("R3,4 L5,4 L5,4"))) << "a press after the solving one";
    // Wasted turns there and back, and presses after the end, are dropped.
    EXPECT_EQ(FormatMoves(ShortenSolution(level, Moves("L3,4 R3,4 R3,4 L4,4 L4,4 L5,4 M5,4"))), "R3,4 L5,4");
}

}  // namespace

namespace {

TEST(LevelMetricsTest, CountsPiecesDryPiecesAndDetours) {
    // End source facing up, a straight, a corner facing up and left, an End below it.
    const LevelRecord level = Make({{3, 4, 9}, {4, 4, 3}, {5, 4, 10}, {5, 5, 9}}, 3, 4);
    const LevelMetrics direct = MeasureLevel(level, Moves("R3,4 L5,4"));
    EXPECT_EQ(direct.pieces, 4);
    EXPECT_EQ(direct.types[End], 2);
    EXPECT_EQ(direct.types[Straight], 1);
    EXPECT_EQ(direct.types[Corner], 1);
    EXPECT_EQ(TypeSummary(direct), "E2 C1 S1 T0 X0");
    EXPECT_EQ(direct.dryAtStart, 3);
    EXPECT_EQ(direct.solutionLength, 2);
    EXPECT_EQ(direct.turnedPieces, 2);
    EXPECT_EQ(direct.detours, 0);
    EXPECT_EQ(direct.stuckRate, 0.0) << "putting the wet piece right always helps here";

    // The source turned away and back first: two presses more than needed.
    const LevelMetrics roundabout = MeasureLevel(level, Moves("L3,4 R3,4 R3,4 L5,4"));
    EXPECT_EQ(roundabout.detours, 2);
    EXPECT_GT(roundabout.difficulty, direct.difficulty);

    EXPECT_EQ(MeasureLevel(level, {}).solutionLength, -1);
}

}  // namespace

namespace {

TEST(PerfectNetworksTest, FindsTheEndPictureOrNone) {
    // A corner with ends on two sides: one way to close every opening.
    const LevelRecord corner = Make({{4, 4, 2}, {5, 4, 1}, {4, 5, 1}}, 4, 4);
    const auto one = FindPerfectNetworks(LevelLayout(corner), 4, 1000);
    ASSERT_EQ(one.size(), 1u);
    // Pieces in layer order: the corner, the end below it, the end to its right.
    EXPECT_EQ(one[0], (std::vector<std::uint8_t>{3, 1, 2})) << "corner right+down, ends facing it";
    // A row of tees always has an opening towards nothing: no perfect network,
    // but tidy ones where only neighbours must meet.
    const LevelRecord tees = Make({{3, 4, 4}, {4, 4, 4}, {5, 4, 4}}, 3, 4);
    EXPECT_TRUE(FindPerfectNetworks(LevelLayout(tees), 4, 1000).empty());
    const auto tidy = FindPerfectNetworks(LevelLayout(tees), 4, 1000, true);
    ASSERT_FALSE(tidy.empty());
    for (const auto& network : tidy) {
        const LevelLayout layout(tees);
        const Board board = layout.MakeBoard(network, 0);
        EXPECT_EQ(layout.WetPieces(board).Count(), 3);
    }
    // Two ends facing each other close a network that leaves the third piece out.
    const LevelRecord apart = Make({{3, 4, 1}, {4, 4, 1}, {5, 4, 1}}, 3, 4);
    EXPECT_TRUE(FindPerfectNetworks(LevelLayout(apart), 4, 1000).empty());
}

TEST(SolutionsFileTest, RoundTripAndBadLines) {
    testlevels::TempFolder folder;
    const std::string path = (folder.path() / "solutions.txt").string();
    const Solutions written = {{1, Moves("L5,4 R6,4")}, {2, Moves("M1,1")}, {10, Moves("R10,8")}};
    ASSERT_TRUE(WriteSolutions(path, written));
    std::string error;
    const auto read = ReadSolutions(path, error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(*read, written);

    for (const char* bad : {"1 L5,4\n", "x: L5,4\n", "0: L5,4\n", "1: L5,4 Q1,1\n", "1: L5,4\n1: R5,4\n",
                            "1x: L5,4\n", "1.5: L5,4\n"}) {
        std::ofstream(path, std::ios::trunc) << "# comment\n\n" << bad;
        EXPECT_FALSE(ReadSolutions(path, error)) << bad;
        EXPECT_NE(error.find("solutions.txt:"), std::string::npos) << error;
    }
    EXPECT_FALSE(ReadSolutions((folder.path() / "none.txt").string(), error));
    EXPECT_FALSE(ReadSolutions(folder.path().string(), error)) << "a folder is no empty file";
}

}  // namespace
