#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/LevelRecord.h"
#include "tools/levels/Moves.h"

// What makes a level hard, measured.
struct LevelMetrics {
    int pieces = 0;
    std::array<int, 6> types{};  // pieces of each type 1..5 (index 0 unused)
    int dryAtStart = 0;
    int solutionLength = -1;  // presses of the best known solution, -1 when none is known
    int turnedPieces = 0;     // different pieces that solution turns
    int detours = 0;          // presses of that solution beyond one turn per turned piece, the shortest way
    double stuckRate = 0;     // share of hasty plays that get stuck (see StuckRate)
    double difficulty = 0;
};

// The difficulty score: presses of the best known solution, plus a quarter
// point per piece (more to look at and to get right), plus 3 points per
// detour press, plus 12 points times the share of hasty plays that get stuck.
double DifficultyScore(const LevelMetrics& metrics);

// A hasty player knows the end picture (the first perfect network) and turns
// any wet piece that is out of place straight into place, in random order,
// until no wet piece is out of place. Returns the share of 64 such plays that
// end with pieces still dry. Deterministic for a level.
double StuckRate(const LevelRecord& level);

LevelMetrics MeasureLevel(const LevelRecord& level, const std::vector<Move>& bestSolution);

// The pieces by type, "E2 C4 S1 T0 X0": ends, corners, straights, tees, crosses.
std::string TypeSummary(const LevelMetrics& metrics);
