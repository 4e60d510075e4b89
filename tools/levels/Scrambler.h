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
    int knots = 0;  // in pairs: pieces in place that may be turned away and back to reach one out of place
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

// Scrambles in pairs rather than by a walk: a tee or corner turned out of
// place keeps an opening towards the water and faces an end or straight
// that is turned to face it back, which a walk rarely gets to (an end or
// straight out of place holds no water without such a neighbour). Whatever
// a forward run in the game cannot reach is put back in place. Every piece
// out of place is pressed once, the shorter way round: the solution is the
// least turns, unless knots allows turning a piece away and back where the
// run would stop. Uses wrongPieces, halfTurn and knots of the options.
Scrambled ScrambleInPairs(const LevelRecord& solved, const ScrambleOptions& options, Rng& rng);
