#include "tools/levels/Generator.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <ostream>
#include <thread>

#include "tools/levels/ExactMeasures.h"
#include "tools/levels/FloorLayout.h"
#include "tools/levels/LevelLayout.h"
#include "tools/levels/Network.h"
#include "tools/levels/Rng.h"
#include "tools/levels/Scrambler.h"

namespace {

constexpr int kBlock = 10;
constexpr int kRamp = 5;          // levels of two presses that show the rule
constexpr double kRest = 0.6;     // a rest needs this share of the curve's presses
constexpr double kFinale = 1.15;  // and the last level this much more
// The late levels (from this share of the set on) must fill a third of their clock.
constexpr double kLate = 0.8;
constexpr int kWalks = 300;  // walks tried for one candidate

enum class Start {
    Any,
    Spread,   // more than the source wet
    DeadEnd,  // the source faces no neighbour: the first press is forced
};

struct Plan {
    NetworkShape shape;
    ScrambleOptions scramble;
    Start start = Start::Any;
};

double Place(const GeneratorOptions& options, int n) {
    return options.count > 1 ? (n - 1.0) / (options.count - 1.0) : 1.0;
}

bool IsRest(const GeneratorOptions& options, int n) {
    return n % kBlock == 0 && n != options.count && n > kRamp;
}

Plan PlanFor(const GeneratorOptions& options, int n, Rng& rng) {
    const double t = Place(options, n);
    Plan plan;
    // Out of place: 35 % at first, 70 % at the end; each such piece costs
    // more presses later on, where half turns become likelier.
    const double share = 0.35 + 0.35 * t;
    const double pressesPerPiece = 1.25 + 0.35 * t;
    const double jitter = 1.0 + 0.1 * (rng.Unit() * 2 - 1) * std::min(1.0, 5 * t);
    // Early on a piece more every four levels: small boards of two presses are few and would repeat.
    const double pieces = std::max(WantedPresses(options, n) / (share * pressesPerPiece),
                                   std::min(options.firstPieces + (n - 1) / 4.0, 12.0)) *
                          jitter;
    plan.shape.pieces = std::clamp(static_cast<int>(std::lround(pieces)), options.firstPieces,
                                   std::max(options.firstPieces, options.lastPieces));
    // A straight is never half a turn out, and like an end it cannot be turned out of place without
    // leaving the water: late boards hold more tees, which the walk can scramble further.
    plan.shape.straightWeight = 1.5 - 1.2 * t;
    // Tees from the 4th percent of the set on, crosses from the 12th, both rarer at first.
    plan.shape.teeWeight = t < 0.03 ? 0.0 : 0.1 + 2.5 * t;
    plan.shape.crossWeight = t < 0.12 ? 0.0 : 0.05 + 0.6 * t;
    plan.shape.loops = t < 0.3 ? 0 : rng.Below(2);
    const int p = plan.shape.pieces;
    plan.scramble.wrongPieces = std::max(2, static_cast<int>(std::lround(p * share)));
    // An end or a straight turned out of place holds no water unless a neighbour already out of place
    // faces it: a walk that steps onto one stops there. It steps only onto pieces it can leave again,
    // and now and then turns a piece again, or it stops long before the share out of place.
    plan.scramble.deadEnd = 0;
    plan.scramble.revisit = 0.03;
    plan.scramble.maxRevisits = plan.scramble.wrongPieces / 8;
    plan.scramble.halfTurn = n <= kRamp ? 0.0 : 0.3 + 10 * t;
    plan.scramble.maxSteps = 4 * p;
    // Knots from a fifth into the set on; the late levels, which must fill a third of the clock, get more.
    plan.scramble.knots = t < 0.2 ? 0 : static_cast<int>(1 + (t >= kLate ? 4 : 3) * t);
    if (n > kRamp) plan.start = n % 3 == 0 ? Start::Spread : n % 3 == 1 ? Start::DeadEnd : Start::Any;
    return plan;
}

int WetAtStart(const LevelRecord& level) {
    const LevelLayout layout(level);
    if (layout.SourcePiece() < 0) return 0;
    return layout.WetPieces(layout.MakeBoard(layout.StartOrientations(), layout.SourcePiece())).Count();
}

bool StartFits(Start start, int wetAtStart) {
    switch (start) {
        case Start::Spread:
            return wetAtStart >= 3;
        case Start::DeadEnd:
            return wetAtStart == 1;
        case Start::Any:
            break;
    }
    return true;
}

}  // namespace

double WantedPresses(const GeneratorOptions& options, int n) {
    if (n <= kRamp || options.count <= kRamp) return 2;
    const double u = (n - kRamp) / static_cast<double>(options.count - kRamp);
    const double presses = 2 + (options.lastPresses - 2) * u;
    if (n == options.count) return presses * kFinale;
    return IsRest(options, n) ? std::max(2.0, presses * kRest) : presses;
}

GeneratedLevel GenerateLevel(const GeneratorOptions& options, int n, int salt) {
    Rng rng(Rng::Mix(options.seed,
                     static_cast<std::uint64_t>(n) + 1000003ull * static_cast<std::uint64_t>(salt)));
    const double wanted = WantedPresses(options, n);
    const bool late = Place(options, n) >= kLate;
    GeneratedLevel best;
    double bestDistance = 1e9;
    // The first solver runs must meet every wish; later ones only come close.
    // Late levels choose from more: a third of the clock is met by about half of their candidates.
    const int candidates = late ? options.candidates + options.candidates / 3 : options.candidates;
    const int strictRuns = 3 * candidates;
    for (int run = 0, made = 0; made < candidates && (run < 5 * candidates || made == 0); ++run) {
        const bool strict = run < strictRuns;
        // Walks cost little, the solver much: walk until one meets the plan and the start wanted.
        // When none does, the walk that came nearest the plan is taken.
        Plan plan;
        Scrambled scrambled;
        bool near = false;
        for (int walk = 0; walk < kWalks && !near; ++walk) {
            Plan tried = PlanFor(options, n, rng);
            // Every other candidate may turn a piece twice: a detour the water forces.
            if (run % 2) {
                tried.scramble.revisit = 0.05 + 0.25 * Place(options, n);
                tried.scramble.maxRevisits = tried.scramble.wrongPieces / 4;
            }
            const auto network = BuildNetwork(tried.shape, rng);
            if (!network) continue;
            LevelRecord solved;
            solved.PieceLayer = *network;
            // Late, walks that turn pieces again are rarely proved and fall short of the plan: pairs only.
            Scrambled walked = run % 2 && !late ? Scramble(solved, tried.scramble, rng) : [&] {
                // Pairs fall short of what they aim at now and then: aim higher.
                ScrambleOptions pairs = tried.scramble;
                pairs.wrongPieces = std::min(tried.shape.pieces, pairs.wrongPieces * 23 / 20);
                return ScrambleInPairs(solved, pairs, rng);
            }();
            near = 10 * walked.wrongPieces >= 9 * tried.scramble.wrongPieces &&
                   (!strict || StartFits(tried.start, WetAtStart(walked.level)));
            if (near || walked.wrongPieces * std::max(1, plan.scramble.wrongPieces) >
                            scrambled.wrongPieces * tried.scramble.wrongPieces) {
                plan = tried;
                scrambled = std::move(walked);
            }
        }
        if (scrambled.level.PieceCount() == 0) continue;
        ExactOptions exact;
        exact.maxPositions = options.solverPositions;
        exact.maxSweepStates = 100000;  // many pictures: not provable cheaply, another candidate is
        exact.known = scrambled.solution;
        const ExactMeasures m = MeasureExactly(scrambled.level, exact);
        if (m.minimum < 2) continue;
        const bool fits = StartFits(plan.start, m.wetAtStart);
        const bool tense = !late || 3 * m.quickSeconds >= m.clock;
        if (strict && !m.proved) continue;
        ++made;
        const double distance = std::abs(m.minimum - wanted) + (m.proved ? 0 : 1000) + (fits ? 0 : 10) +
                                (tense ? 0 : 3 + 200 * (m.clock / 3.0 - m.quickSeconds) / m.clock) +
                                20.0 * std::max(0, plan.scramble.wrongPieces - m.outOfPlace) / m.pieces;
        if (distance < bestDistance) {
            bestDistance = distance;
            best.level = scrambled.level;
            best.solution = m.moves;
            best.proved = m.proved;
        }
    }
    best.metrics = MeasureLevel(best.level, best.solution);
    best.level.FloorLayer = LayFloor(best.level.PieceLayer, rng);
    return best;
}

std::vector<GeneratedLevel> GenerateLevels(const GeneratorOptions& options, std::ostream* progress) {
    // Each place's first level depends on nothing else: made on every core, the set stays the same.
    std::vector<GeneratedLevel> firstMade(options.count);
    std::atomic<int> nextPlace{0};
    std::atomic<int> made{0};
    std::mutex progressLock;
    auto work = [&] {
        for (int i = nextPlace++; i < options.count; i = nextPlace++) {
            firstMade[i] = GenerateLevel(options, i + 1);
            const int done = ++made;
            if (progress && done % 50 == 0) {
                const std::lock_guard lock(progressLock);
                *progress << "made " << done << " levels\n" << std::flush;
            }
        }
    };
    std::vector<std::thread> workers;
    for (unsigned t = 1; t < std::max(1u, std::thread::hardware_concurrency()); ++t)
        workers.emplace_back(work);
    work();
    for (std::thread& worker : workers) worker.join();

    std::vector<GeneratedLevel> levels;
    std::vector<LevelRecord> records;
    for (int n = 1; n <= options.count; ++n) {
        for (int salt = 0;; ++salt) {
            GeneratedLevel level = salt == 0 ? std::move(firstMade[n - 1]) : GenerateLevel(options, n, salt);
            records.push_back(level.level);
            const auto similar = FindSimilarLevels(records);
            if (salt < 20 && std::any_of(similar.begin(), similar.end(),
                                         [n](const SimilarLevels& pair) { return pair.second == n; })) {
                records.pop_back();
                continue;
            }
            levels.push_back(std::move(level));
            break;
        }
    }
    // Within each ten the presses rise, and the rest comes last: the easiest of the ten, whichever
    // place it was made for (small boards fall short of their wanted minimum now and then).
    const auto fewer = [](const GeneratedLevel& a, const GeneratedLevel& b) {
        return a.solution.size() < b.solution.size();
    };
    for (int first = 0; first < options.count; first += kBlock) {
        const int end = std::min(options.count, first + kBlock);
        const bool rest = IsRest(options, end);
        if (rest) {
            const auto easiest = std::min_element(levels.begin() + first, levels.begin() + end, fewer);
            if (fewer(*easiest, levels[end - 1])) std::iter_swap(easiest, levels.begin() + end - 1);
        }
        std::stable_sort(levels.begin() + first, levels.begin() + (rest ? end - 1 : end), fewer);
    }
    return levels;
}
