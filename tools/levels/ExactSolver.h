#pragma once

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "core/LevelRecord.h"
#include "tools/levels/LevelLayout.h"
#include "tools/levels/Moves.h"
#include "tools/levels/Solver.h"

// The solved pictures of a level: orientations in which the water, from any
// piece, reaches every piece. Openings may face nothing; only the network
// counts. Pieces are numbered as in LevelLayout.
struct SolvedPictures {
    // Every picture, when complete: the orientations (bit o) each piece may take in it.
    std::vector<std::vector<std::uint8_t>> all;
    bool complete = false;  // all holds every picture there is
    // Orientations (bit o) that some picture gives each piece; every
    // orientation when the pictures are too many to list.
    std::vector<std::uint8_t> possible;
    // The least quarter turns from the start to any picture, ignoring which
    // pieces hold water: no solution can be shorter.
    int staticBound = 0;
    bool staticExact = false;
    bool none = false;  // proved: no picture exists
};

// Pictures more than costCap turns from the start are not looked for; with
// none nearer, the bound is reported as none.
SolvedPictures FindSolvedPictures(const LevelLayout& layout, int maxPictures = 64, int maxSteps = 20000,
                                  int costCap = INT_MAX, std::size_t maxSweepStates = 400000);

struct ExactOptions {
    int maxPositions = 300000;  // positions stored before the search gives up
    // States a column of the least-turns sweep may hold; beyond, a weaker bound
    // stands in. The sweep is what costs seconds on a large level with many pictures.
    std::size_t maxSweepStates = 400000;
    std::vector<Move> known;  // a solution to beat, such as the one a level was made with; may be empty
};

struct ExactResult {
    SolveStatus status = SolveStatus::NotFound;
    std::vector<Move> moves;  // the shortest found, checked through the game's board
    bool proved = false;      // moves.size() is the minimum
    int lowerBound = 0;       // no solution has fewer presses
    int staticBound = 0;      // least turns ignoring the water, see SolvedPictures
    bool staticExact = false;
    int positions = 0;
    std::string reason;
};

// The least presses that solve the level: A* over (orientations, wet
// network), one quarter turn of a wet piece per step, guided by the least
// turns to the nearest solved picture, which never overestimates. Gives the
// best found and a proved lower bound when the bound on positions is hit.
ExactResult SolveExact(const LevelRecord& level, const ExactOptions& options = {});
