#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "core/LevelRecord.h"
#include "tools/levels/LevelMetrics.h"
#include "tools/levels/Moves.h"

struct GeneratorOptions {
    std::uint64_t seed = 1;
    int count = 500;
    int firstPieces = 5;          // pieces of level 1
    int lastPieces = 70;          // pieces of the last level
    int candidates = 8;           // levels made for each place; the one nearest the wanted difficulty is kept
    int solverPositions = 40000;  // the solver must find a solution within this bound
};

struct GeneratedLevel {
    LevelRecord level;
    std::vector<Move> solution;  // the best known
    LevelMetrics metrics;
};

// Level n (1-based) of the set; depends only on the options and n.
GeneratedLevel GenerateLevel(const GeneratorOptions& options, int n);

// The whole set: level n made for place n, then each ten ordered by
// difficulty. progress (may be null) gets a line now and then.
std::vector<GeneratedLevel> GenerateLevels(const GeneratorOptions& options, std::ostream* progress);
