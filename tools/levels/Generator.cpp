#include "tools/levels/Generator.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "tools/levels/FloorLayout.h"
#include "tools/levels/Network.h"
#include "tools/levels/Rng.h"
#include "tools/levels/Scrambler.h"
#include "tools/levels/Solver.h"

namespace {

constexpr std::size_t kBlock = 10;

// Everything that changes along the set, for the place t (0 first, 1 last).
struct Plan {
    NetworkShape shape;
    ScrambleOptions scramble;
    double wantedDifficulty = 0;
};

Plan PlanFor(const GeneratorOptions& options, int n, Rng& rng) {
    const double t = options.count > 1 ? (n - 1.0) / (options.count - 1.0) : 1.0;
    Plan plan;
    const double pieces =
        options.firstPieces + (options.lastPieces - options.firstPieces) * std::pow(t, 0.85);
    const double jitter = 1.0 + 0.08 * (rng.Unit() * 2 - 1) * std::min(1.0, 5 * t);
    plan.shape.pieces = std::clamp(static_cast<int>(std::lround(pieces * jitter)), 3, kCells - 6);
    plan.shape.straightWeight = 1.5;
    // Tees from the 4th percent of the set on, crosses from the 12th, both rarer at first.
    plan.shape.teeWeight = t < 0.03 ? 0.0 : 0.04 + 0.5 * t;
    plan.shape.crossWeight = t < 0.12 ? 0.0 : 0.02 + 0.25 * t;
    plan.shape.loops = t < 0.3 ? 0 : rng.Below(t < 0.7 ? 2 : 3);
    const int p = plan.shape.pieces;
    plan.scramble.wrongPieces = std::max(2, static_cast<int>(std::lround(p * (0.35 + 0.35 * t))));
    plan.scramble.revisit = 0.05 + 0.25 * t;
    plan.scramble.maxSteps = 4 * p;
    // Wanted score: the presses a level of this size needs when it is out of
    // place as planned, plus what its place adds for traps and detours.
    plan.wantedDifficulty = 1.3 * plan.scramble.wrongPieces + 0.25 * p + 14.0 * t;
    return plan;
}

bool Acceptable(const GeneratedLevel& candidate, int n) {
    const LevelMetrics& m = candidate.metrics;
    if (m.solutionLength < 1 || m.dryAtStart == 0) return false;
    // Even the first levels want two presses; from then on a level must need
    // at least a third of its pieces turned, or it is over too quickly.
    return m.solutionLength >= std::max(2, std::min(m.pieces / 3, 2 + n / 10));
}

}  // namespace

GeneratedLevel GenerateLevel(const GeneratorOptions& options, int n) {
    Rng rng(Rng::Mix(options.seed, static_cast<std::uint64_t>(n)));
    GeneratedLevel best;
    double bestDistance = 1e9;
    for (int attempt = 0, made = 0; made < options.candidates && attempt < 20 * options.candidates;
         ++attempt) {
        const Plan plan = PlanFor(options, n, rng);
        const auto network = BuildNetwork(plan.shape, rng);
        if (!network) continue;
        LevelRecord solved;
        solved.PieceLayer = *network;
        Scrambled scrambled = Scramble(solved, plan.scramble, rng);
        if (PressesToSolve(scrambled.level, scrambled.solution) < 0) continue;  // cannot happen: walked back
        GeneratedLevel candidate;
        candidate.level = scrambled.level;
        candidate.solution = ShortenSolution(scrambled.level, scrambled.solution);
        SolverOptions solverOptions;
        solverOptions.maxPositions = options.solverPositions;
        const SolveResult bySolver = SolveLevel(candidate.level, solverOptions);
        if (bySolver.status != SolveStatus::Solved) continue;  // the author's tool must cope with every level
        if (bySolver.moves.size() < candidate.solution.size()) candidate.solution = bySolver.moves;
        candidate.metrics = MeasureLevel(candidate.level, candidate.solution);
        if (!Acceptable(candidate, n)) continue;
        ++made;
        const double distance = std::abs(candidate.metrics.difficulty - plan.wantedDifficulty);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    best.level.FloorLayer = LayFloor(best.level.PieceLayer, rng);
    return best;
}

std::vector<GeneratedLevel> GenerateLevels(const GeneratorOptions& options, std::ostream* progress) {
    std::vector<GeneratedLevel> levels;
    for (int n = 1; n <= options.count; ++n) {
        levels.push_back(GenerateLevel(options, n));
        if (progress && n % 50 == 0) *progress << "made " << n << " levels\n" << std::flush;
    }
    // Within each ten the easier come first, so the rise is steady close up too.
    for (std::size_t first = 0; first < levels.size(); first += kBlock) {
        const auto end =
            levels.begin() + static_cast<std::ptrdiff_t>(std::min(levels.size(), first + kBlock));
        std::stable_sort(levels.begin() + static_cast<std::ptrdiff_t>(first), end,
                         [](const GeneratedLevel& a, const GeneratedLevel& b) {
                             return a.metrics.difficulty < b.metrics.difficulty;
                         });
    }
    return levels;
}
