#pragma once

#include <vector>

#include "core/LevelRecord.h"
#include "tools/levels/Moves.h"
#include "tools/levels/Rng.h"

struct ScrambleOptions {
    int wrongPieces = 4;     // pieces to leave out of place, when the walk gets that far
    double revisit = 0.1;    // weight of turning a piece again that is already out of place; 0: never
    int maxRevisits = 1000;  // and how often the walk may
    double deadEnd = 0.05;   // weight factor of a piece from which the walk cannot go on
    double halfTurn = 1.0;   // weight factor of leaving a piece half a turn out (two presses to mend)
    int maxSteps = 200;
};

struct Scrambled {
    LevelRecord level;           // pieces and source; the floor is left as given
    std::vector<Move> solution;  // presses that solve it, by construction
    int wrongPieces = 0;
};

// Walks back from the solved network: each step undoes the turn of the
// piece that is the source, and picks the piece turned before it from the
// network that piece is then wet with, so that forward every press lands on
// a wet piece. The solution is the walk played forward.
Scrambled Scramble(const LevelRecord& solved, const ScrambleOptions& options, Rng& rng);
