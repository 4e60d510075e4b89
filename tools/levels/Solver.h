#pragma once

#include <string>
#include <vector>

#include "core/LevelRecord.h"
#include "tools/levels/Moves.h"

struct SolverOptions {
    int maxPositions = 300000;  // positions looked at before giving up
};

enum class SolveStatus {
    Solved,      // moves solve the level, checked through the game
    Impossible,  // proved: no sequence of moves solves it
    NotFound,    // the search hit its bound
    NoPieces,    // nothing to solve
};

struct SolveResult {
    SolveStatus status = SolveStatus::NotFound;
    std::vector<Move> moves;
    std::string reason;  // why Impossible or NotFound
    int positions = 0;   // positions looked at
};

// Searches for presses that solve the level. Only a wet piece turns, and the
// turned piece becomes the source, so the search walks the positions
// (orientations, wet network) that the player can reach; every move can be
// undone by the opposite turn of the same piece, so a level is solvable
// exactly when a solved position can be reached at all.
SolveResult SolveLevel(const LevelRecord& level, const SolverOptions& options = {});

// Presses up to and including the one that solves the level, played on the
// core board alone (the fast check; the game itself is the final word); -1
// when a press is refused or the level stays unsolved.
int PressesToSolve(const LevelRecord& level, const std::vector<Move>& moves);

// Drops presses that the solution does not need, as long as it still solves
// the level. Every candidate is played through the game's own board rules.
std::vector<Move> ShortenSolution(const LevelRecord& level, std::vector<Move> moves);

// True when the last press, and no earlier one, solves the level.
bool SolvesOnBoard(const LevelRecord& level, const std::vector<Move>& moves);
