#pragma once

#include <string>
#include <vector>

#include "core/LevelRecord.h"
#include "tools/levels/ExactSolver.h"
#include "tools/levels/Moves.h"

// A level measured from its least solution.
struct ExactMeasures {
    int pieces = 0;
    int clock = 0;            // seconds the level gives
    int minimum = -1;         // presses of the shortest solution found, -1 when none
    bool proved = false;      // and no shorter one exists
    int lowerBound = 0;       // proved: no solution is shorter
    int staticBound = 0;      // least turns to a solved picture, ignoring the water
    int detours = 0;          // presses the water forces beyond that: minimum - staticBound
    int outOfPlace = 0;       // pieces whose openings towards pieces differ from the solution's end
    int wetAtStart = 0;       // pieces
    int knots = 0;            // runs of presses that take a piece no nearer its end
    double localShare = 0;    // pieces that matching neighbours alone fix, of all
    double quickSeconds = 0;  // a quick player: 0.6 s a press, 1 s a decision (a new piece to turn)
    std::vector<Move> moves;
};

ExactMeasures MeasureExactly(const LevelRecord& level, const ExactOptions& options = {});

// What the moves take a quick player: 0.6 s a press and 1 s to choose each
// piece (a run of presses on one piece is one choice).
double QuickPlayerSeconds(const std::vector<Move>& moves);

// Pieces whose openings towards pieces differ at the end of the moves.
int CountOutOfPlace(const LevelRecord& level, const std::vector<Move>& moves);

// Runs of presses that take their piece no nearer its orientation at the end
// of the moves: where a player who only turns wet pieces straight into place
// gets stuck and must turn something away first.
int CountKnots(const LevelRecord& level, const std::vector<Move>& moves);

// The share of pieces whose openings towards other pieces follow from the
// rule that every opening meets one of a neighbour, applied locally until
// nothing changes.
double LocallyFixedShare(const LevelRecord& level);

struct OffCurve {
    int level = 0;     // 1-based
    double ratio = 0;  // its minimum over the median of its neighbours'
};

// Levels whose minimum is below low or above high times the median of the
// minima of up to `reach` levels on either side; minima of -1 (unknown) are
// left out.
std::vector<OffCurve> FindOffCurve(const std::vector<int>& minima, double low = 0.65, double high = 1.5,
                                   int reach = 5);

struct SimilarLevels {
    int first = 0;  // level numbers, 1-based, first < second
    int second = 0;
    bool exact =
        false;        // the same start (pieces, orientations, source); else the same pieces on the same cells
    std::string how;  // "moved", "mirrored", "turned 90", ...
};

// Pairs of levels that are the same up to moving, turning and mirroring the
// pieces: the same start, or the same pieces on the same cells.
std::vector<SimilarLevels> FindSimilarLevels(const std::vector<LevelRecord>& levels);
