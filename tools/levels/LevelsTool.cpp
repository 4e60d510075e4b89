#include "tools/levels/LevelsTool.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>

#include "core/Board.h"
#include "core/LevelFile.h"
#include "game/Game.h"
#include "game/NullShell.h"
#include "tools/levels/ExactMeasures.h"
#include "tools/levels/ExactSolver.h"
#include "tools/levels/Generator.h"
#include "tools/levels/LevelMetrics.h"
#include "tools/levels/MotifPass.h"
#include "tools/levels/Moves.h"
#include "tools/levels/SolutionsFile.h"
#include "tools/levels/Solver.h"

namespace {

constexpr int kClean = 0;
constexpr int kProblems = 1;
constexpr int kUnusable = 2;

const char* const kUsage =
    "usage: aquendo-levels check FILE\n"
    "       aquendo-levels replay FILE LEVEL MOVE...\n"
    "       aquendo-levels solve FILE LEVEL [--positions N]\n"
    "       aquendo-levels generate --seed S [--count N] [--first-pieces P] [--last-pieces P]\n"
    "                               [--last-presses M] [--candidates K] [--positions N] -o FILE\n"
    "                               [--solutions FILE]\n"
    "       aquendo-levels stats FILE [--solutions FILE] [--positions N]\n"
    "       aquendo-levels similar FILE\n"
    "       aquendo-levels floors FILE -o FILE\n"
    "MOVE is L, R or M (left, right, middle button) and a cell, for example L5,4.\n";

std::string Wet(const CellLayer& layer) {
    std::string text(kCells, '0');
    for (int i = 0; i < kCells; ++i) text[i] = layer[i] ? '1' : '0';
    return text;
}

// A level whose water already reaches every piece when it starts.
bool SolvedAtStart(const LevelRecord& record) {
    Board board;
    PlaceLevel(board, record);
    ComputeWater(board);
    board.ShownWet = board.WetMap;
    return IsSolved(board);
}

// Reports what the game would have to mend or would show oddly.
std::string Problems(const LevelRecord& record, const RecordRepairs& repairs) {
    std::string problems;
    auto add = [&problems](const std::string& text) { problems += (problems.empty() ? "" : ", ") + text; };
    if (repairs.pieceCodes) add("piece codes out of range: " + std::to_string(repairs.pieceCodes));
    if (repairs.floorCodes) add("floor codes out of range: " + std::to_string(repairs.floorCodes));
    if (repairs.source) add("source outside the board");
    if (record.PieceCount() == 0) {
        add("no pieces");
        return problems;
    }
    if (!repairs.source && record.PieceLayer[CellIndex(record.SourceColumn, record.SourceRow)] == 0)
        add("source on an empty cell");
    if (SolvedAtStart(record)) add("already solved at start");
    return problems;
}

int Check(const std::string& path, std::ostream& out, std::ostream& err) {
    const LevelFileReport report = ReadLevelFile(path);
    if (report.status == LevelFileStatus::CannotOpen) {
        err << "aquendo-levels: cannot read " << path << ": " << std::strerror(report.error) << "\n";
        return kUnusable;
    }
    const LevelCatalogue& levels = report.catalogue;
    out << "levels: " << levels.LevelCount() << "\n";
    bool clean = levels.LevelCount() > 0;
    if (levels.LevelCount() == 0) out << "file: no complete level record\n";
    if (report.trailingBytes) {
        out << "file: " << report.trailingBytes << " trailing bytes ignored\n";
        clean = false;
    }
    if (report.recordsBeyondMax) {
        out << "file: records after level " << LevelCatalogue::kMaxLevels << " ignored\n";
        clean = false;
    }

    for (int n = 1; n <= levels.LevelCount(); ++n) {
        const LevelRecord& record = levels.Level(n);
        const RecordRepairs& repairs = report.repairs[n - 1];
        const std::string problems = Problems(record, repairs);
        out << "level " << n << ": pieces " << record.PieceCount() << ", source ("
            << int(repairs.fileSourceColumn) << "," << int(repairs.fileSourceRow) << "), "
            << (problems.empty() ? "ok" : problems) << "\n";
        if (!problems.empty()) clean = false;
    }
    return clean ? kClean : kProblems;
}

int Replay(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::string& path = args[1];
    const auto level = ParseInt(args[2]);
    std::vector<Move> moves;
    for (std::size_t i = 3; i < args.size(); ++i) {
        const auto move = ParseMove(args[i]);
        if (!move) {
            err << "aquendo-levels: bad move '" << args[i]
                << "' (expected L, R or M and a cell, like L5,4)\n";
            return kUnusable;
        }
        moves.push_back(*move);
    }

    HeadlessGame headless(path);
    Game& game = headless.game();
    if (!headless.Loaded()) {
        err << "aquendo-levels: cannot read levels from " << path << "\n";
        return kUnusable;
    }
    if (!level || *level < 1 || *level > game.LevelCount()) {
        err << "aquendo-levels: level must be 1 to " << game.LevelCount() << "\n";
        return kUnusable;
    }
    game.StartLevel(*level);
    out << "start time " << game.TimeLeft() << " wet " << Wet(game.board().ShownWet) << "\n";
    for (std::size_t i = 0; i < moves.size(); ++i) {
        // The press lands in the middle of the cell, as a player's would.
        const MoveResult result = Press(game, moves[i]);
        out << args[3 + i] << " " << ResultName(result) << " wet " << Wet(game.board().ShownWet) << "\n";
    }
    return kClean;
}

// Reads a level file as the game does; reports on err when it cannot.
std::optional<LevelCatalogue> ReadLevels(const std::string& path, std::ostream& err) {
    LevelFileReport report = ReadLevelFile(path);
    if (report.status != LevelFileStatus::Read) {
        err << "aquendo-levels: cannot read levels from " << path << "\n";
        return std::nullopt;
    }
    return std::move(report.catalogue);
}

std::optional<int> LevelNumber(const std::string& text, const LevelCatalogue& levels, std::ostream& err) {
    const auto level = ParseInt(text);
    if (!level || *level < 1 || *level > levels.LevelCount()) {
        err << "aquendo-levels: level must be 1 to " << levels.LevelCount() << "\n";
        return std::nullopt;
    }
    return level;
}

int Solve(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ExactOptions options;
    for (std::size_t i = 3; i + 1 < args.size(); i += 2) {
        const auto value = ParseInt(args[i + 1]);
        if (args[i] != "--positions" || !value || *value < 1) {
            err << kUsage;
            return kUnusable;
        }
        options.maxPositions = *value;
    }
    if (args.size() % 2 == 0) {
        err << kUsage;
        return kUnusable;
    }
    const auto levels = ReadLevels(args[1], err);
    if (!levels) return kUnusable;
    const auto level = LevelNumber(args[2], *levels, err);
    if (!level) return kUnusable;

    const LevelRecord& record = levels->Level(*level);
    const ExactResult result = SolveExact(record, options);
    switch (result.status) {
        case SolveStatus::Solved: {
            // The game has the last word on every solution printed.
            const ReplayOutcome replay = ReplayMoves(record, result.moves);
            if (!replay.solved || replay.movesToSolve != static_cast<int>(result.moves.size())) {
                err << "aquendo-levels: internal error: the game does not accept the solution "
                    << FormatMoves(result.moves) << "\n";
                return kUnusable;
            }
            out << "solution " << result.moves.size() << " moves: " << FormatMoves(result.moves) << "\n";
            if (result.proved)
                out << "minimum " << result.moves.size() << ", proved";
            else
                out << "minimum at least " << result.lowerBound << ", not proved within "
                    << options.maxPositions << " positions";
            out << "; least turns " << result.staticBound << (result.staticExact ? "" : " at least") << "\n";
            return kClean;
        }
        case SolveStatus::Impossible:
            out << "no solution exists: " << result.reason << "\n";
            return kProblems;
        case SolveStatus::NoPieces:
            out << "nothing to solve: " << result.reason << "\n";
            return kProblems;
        case SolveStatus::NotFound:
            out << "none found: " << result.reason << "\n";
            return kProblems;
    }
    return kUnusable;
}

// Options of the form --name VALUE after the first `skip` words.
std::optional<std::map<std::string, std::string>> Options(const std::vector<std::string>& args,
                                                          std::size_t skip,
                                                          std::initializer_list<const char*> known) {
    std::map<std::string, std::string> options;
    for (std::size_t i = skip; i < args.size(); i += 2) {
        const bool ok = i + 1 < args.size() && std::any_of(known.begin(), known.end(),
                                                           [&](const char* name) { return args[i] == name; });
        if (!ok || options.count(args[i])) return std::nullopt;
        options[args[i]] = args[i + 1];
    }
    return options;
}

bool PositiveOption(const std::map<std::string, std::string>& options, const char* name, int& value) {
    const auto it = options.find(name);
    if (it == options.end()) return true;
    const auto parsed = ParseInt(it->second);
    if (!parsed || *parsed < 1) return false;
    value = *parsed;
    return true;
}

int Generate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const auto options = Options(args, 1,
                                 {"--seed", "--count", "--first-pieces", "--last-pieces", "--last-presses",
                                  "--candidates", "--positions", "-o", "--solutions"});
    if (!options || !options->count("--seed") || !options->count("-o")) {
        err << kUsage;
        return kUnusable;
    }
    GeneratorOptions generator;
    const std::string& seedText = options->at("--seed");
    std::uint64_t seed = 0;
    const auto [end, ec] = std::from_chars(seedText.data(), seedText.data() + seedText.size(), seed);
    bool ok = ec == std::errc() && end == seedText.data() + seedText.size();
    generator.seed = seed;
    ok = ok && PositiveOption(*options, "--count", generator.count) &&
         PositiveOption(*options, "--first-pieces", generator.firstPieces) &&
         PositiveOption(*options, "--last-pieces", generator.lastPieces) &&
         PositiveOption(*options, "--last-presses", generator.lastPresses) &&
         PositiveOption(*options, "--candidates", generator.candidates) &&
         PositiveOption(*options, "--positions", generator.solverPositions);
    ok = ok && generator.count <= LevelCatalogue::kMaxLevels && generator.firstPieces >= 3 &&
         generator.lastPieces >= 3 && generator.lastPieces <= kCells - 6;
    if (!ok) {
        err << "aquendo-levels: bad generate option (count 1 to 500, pieces 3 to 74)\n" << kUsage;
        return kUnusable;
    }
    out << "seed " << generator.seed << "\n" << std::flush;

    const auto started = std::chrono::steady_clock::now();
    const std::vector<GeneratedLevel> levels = GenerateLevels(generator, &err);
    std::vector<LevelRecord> records;
    records.reserve(levels.size());
    for (const GeneratedLevel& level : levels) records.push_back(level.level);
    const std::string& path = options->at("-o");
    {
        std::vector<std::uint8_t> bytes(records.size() * LevelRecord::kSize);
        for (std::size_t i = 0; i < records.size(); ++i)
            records[i].ToBytes(std::span<std::uint8_t, LevelRecord::kSize>(
                bytes.data() + i * LevelRecord::kSize, LevelRecord::kSize));
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!file.flush()) {
            err << "aquendo-levels: cannot write " << path << "\n";
            return kUnusable;
        }
    }
    // Every solution is played again through the game, on the file as written.
    HeadlessGame headless(path);
    Solutions solutions;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        const ReplayOutcome replay =
            headless.Loaded() ? headless.Replay(n, levels[i].solution) : ReplayOutcome{};
        if (!replay.solved || replay.movesToSolve != static_cast<int>(levels[i].solution.size())) {
            err << "aquendo-levels: internal error: level " << n << " does not replay to solved\n";
            return kUnusable;
        }
        solutions[n] = levels[i].solution;
    }
    if (options->count("--solutions") && !WriteSolutions(options->at("--solutions"), solutions)) {
        err << "aquendo-levels: cannot write " << options->at("--solutions") << "\n";
        return kUnusable;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    char time[32];
    std::snprintf(time, sizeof time, "%.1f", seconds);
    out << "wrote " << levels.size() << " levels to " << path << ", every solution replayed to solved, in "
        << time << " s\n";
    return kClean;
}

std::string Fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Percent(double share) {
    return Fixed(100 * share, 0) + "%";
}

int Stats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const auto options = Options(args, 2, {"--solutions", "--positions"});
    ExactOptions exactOptions;
    if (!options || !PositiveOption(*options, "--positions", exactOptions.maxPositions)) {
        err << kUsage;
        return kUnusable;
    }
    const auto levels = ReadLevels(args[1], err);
    if (!levels) return kUnusable;
    Solutions known;
    if (options->count("--solutions")) {
        std::string error;
        const auto read = ReadSolutions(options->at("--solutions"), error);
        if (!read) {
            err << "aquendo-levels: " << error << "\n";
            return kUnusable;
        }
        known = *read;
    }

    HeadlessGame headless(args[1]);
    std::vector<ExactMeasures> all;
    std::vector<LevelRecord> records;
    int unsolved = 0;
    for (int n = 1; n <= levels->LevelCount(); ++n) {
        const LevelRecord& record = levels->Level(n);
        records.push_back(record);
        // A line from the solutions file is the solution to beat: with it a minimum is often proved at once.
        exactOptions.known = known.count(n) ? known[n] : std::vector<Move>{};
        ExactMeasures m = MeasureExactly(record, exactOptions);
        if (known.count(n) && !m.proved) {
            // A shorter line from the solutions file stands in for one not proved.
            const ReplayOutcome replay = headless.Replay(n, known[n]);
            if (replay.solved && (m.minimum < 0 || replay.movesToSolve < m.minimum)) {
                m.moves.assign(known[n].begin(), known[n].begin() + replay.movesToSolve);
                m.minimum = replay.movesToSolve;
                m.detours = m.minimum - m.staticBound;
                m.knots = CountKnots(record, m.moves);
                m.quickSeconds = QuickPlayerSeconds(m.moves);
            }
        }
        if (m.minimum < 0) ++unsolved;
        all.push_back(m);
        LevelMetrics types;
        for (std::uint8_t code : record.PieceLayer)
            if (code) ++types.types[PieceTypeOf(code)];
        out << "level " << n << ": pieces " << m.pieces << " (" << TypeSummary(types) << "), "
            << (m.minimum < 0 ? "minimum none, at least " + std::to_string(m.lowerBound)
                : m.proved    ? "minimum " + std::to_string(m.minimum) + " proved"
                              : "best " + std::to_string(m.minimum) + ", minimum at least " +
                                 std::to_string(m.lowerBound))
            << ", least turns " << m.staticBound << ", detours " << m.detours << ", out of place "
            << m.outOfPlace << ", wet at start " << m.wetAtStart << ", knots " << m.knots << ", local "
            << Percent(m.localShare) << ", quick " << Fixed(m.quickSeconds, 0) << " s of " << m.clock
            << " s\n";
    }

    // The rise through the set, a fifth at a time.
    const int count = static_cast<int>(all.size());
    int proved = 0;
    for (int fifth = 0; fifth < 5 && count > 0; ++fifth) {
        const int first = fifth * count / 5;
        const int last = (fifth + 1) * count / 5;
        if (first == last) continue;
        double pieces = 0, minimum = 0, detours = 0, outOfPlace = 0, wet = 0, knots = 0, local = 0, quick = 0,
               clock = 0;
        int minPieces = 99, maxPieces = 0, minMinimum = 9999, maxMinimum = 0, known = 0, provedHere = 0;
        for (int i = first; i < last; ++i) {
            const ExactMeasures& m = all[i];
            pieces += m.pieces;
            minPieces = std::min(minPieces, m.pieces);
            maxPieces = std::max(maxPieces, m.pieces);
            wet += m.wetAtStart;
            local += m.localShare;
            clock += m.clock;
            if (m.minimum < 0) continue;
            ++known;
            provedHere += m.proved;
            minimum += m.minimum;
            minMinimum = std::min(minMinimum, m.minimum);
            maxMinimum = std::max(maxMinimum, m.minimum);
            detours += m.detours;
            outOfPlace += m.outOfPlace;
            knots += m.knots;
            quick += m.quickSeconds;
        }
        proved += provedHere;
        const double span = last - first;
        const double solved = std::max(known, 1);
        out << "levels " << first + 1 << "-" << last << ": pieces " << Fixed(pieces / span, 1) << " ("
            << minPieces << "-" << maxPieces << "), minimum " << Fixed(minimum / solved, 1) << " ("
            << minMinimum << "-" << maxMinimum << ", " << provedHere << " proved), detours "
            << Fixed(detours / solved, 2) << ", out of place " << Fixed(outOfPlace / solved, 1) << " ("
            << Percent(outOfPlace / pieces) << "), wet at start " << Fixed(wet / span, 1) << ", knots "
            << Fixed(knots / solved, 2) << ", local " << Percent(local / span) << ", quick "
            << Percent(quick / clock) << " of the clock\n";
    }
    std::vector<int> minima(all.size());
    std::transform(all.begin(), all.end(), minima.begin(), [](const ExactMeasures& m) { return m.minimum; });
    for (const OffCurve& off : FindOffCurve(minima))
        out << "off the curve: level " << off.level << ", " << Fixed(off.ratio, 2)
            << " of its neighbours' median minimum\n";
    for (const SimilarLevels& pair : FindSimilarLevels(records))
        out << "similar: levels " << pair.first << " and " << pair.second << ", "
            << (pair.exact ? "the same start" : "the same pieces") << ", " << pair.how << "\n";
    out << "minimum proved: " << proved << " of " << count << "\n";
    if (unsolved) out << "levels without a known solution: " << unsolved << "\n";
    return unsolved ? kProblems : kClean;
}

int Similar(const std::string& path, std::ostream& out, std::ostream& err) {
    const auto levels = ReadLevels(path, err);
    if (!levels) return kUnusable;
    std::vector<LevelRecord> records;
    for (int n = 1; n <= levels->LevelCount(); ++n) records.push_back(levels->Level(n));
    const std::vector<SimilarLevels> pairs = FindSimilarLevels(records);
    for (const SimilarLevels& pair : pairs)
        out << "levels " << pair.first << " and " << pair.second << ": "
            << (pair.exact ? "the same start" : "the same pieces") << ", " << pair.how << "\n";
    out << "similar pairs: " << pairs.size() << "\n";
    return pairs.empty() ? kClean : kProblems;
}

}  // namespace

int RunLevelsTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 2 && args[0] == "check") return Check(args[1], out, err);
    if (args.size() >= 3 && args[0] == "replay") return Replay(args, out, err);
    if (args.size() >= 3 && args[0] == "solve") return Solve(args, out, err);
    if (args.size() >= 2 && args[0] == "generate") return Generate(args, out, err);
    if (args.size() >= 2 && args[0] == "stats") return Stats(args, out, err);
    if (args.size() == 2 && args[0] == "similar") return Similar(args[1], out, err);
    if (!args.empty() && args[0] == "floors") return RunMotifPass(args, out, err);
    err << kUsage;
    return kUnusable;
}
