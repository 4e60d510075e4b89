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
    int firstPieces = 5;          // fewest pieces a level has
    int lastPieces = 70;          // most pieces a level has
    int lastPresses = 60;         // least presses the last levels need, where the curve ends
    int candidates = 6;           // levels kept for each place; the one nearest the curve wins
    int solverPositions = 30000;  // the exact solver must prove the minimum within this bound
};

struct GeneratedLevel {
    LevelRecord level;
    std::vector<Move> solution;  // the least presses, or the best found when not proved
    bool proved = false;
    LevelMetrics metrics;
};

// The least presses wanted of level n (1-based): a few levels of two, then a
// steady rise, with every tenth level but the last a rest.
double WantedPresses(const GeneratorOptions& options, int n);

// Level n of the set, made for its place; depends only on the options, n and
// the salt (another salt, another level for the same place).
GeneratedLevel GenerateLevel(const GeneratorOptions& options, int n, int salt = 0);

// The whole set: level n made for place n, made again while it repeats an
// earlier one turned or mirrored, then each ten ordered by least presses with
// its rest kept last. progress (may be null) gets a line now and then.
std::vector<GeneratedLevel> GenerateLevels(const GeneratorOptions& options, std::ostream* progress);
