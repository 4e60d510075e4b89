#include "tools/levels/LevelsTool.h"

#include <charconv>
#include <cstring>
#include <optional>
#include <ostream>

#include "core/Board.h"
#include "core/LevelFile.h"
#include "game/Game.h"
#include "game/NullShell.h"
#include "store/MemorySettings.h"

namespace {

constexpr int kClean = 0;
constexpr int kProblems = 1;
constexpr int kUnusable = 2;

const char* const kUsage =
    "usage: aquendo-levels check FILE\n"
    "       aquendo-levels replay FILE LEVEL MOVE...\n"
    "MOVE is L, R or M (left, right, middle button) and a cell, for example L5,4.\n";

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

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
        out << "level " << n << ": pieces " << record.PieceCount() << ", source (" << int(repairs.fileSourceColumn)
            << "," << int(repairs.fileSourceRow) << "), " << (problems.empty() ? "ok" : problems) << "\n";
        if (!problems.empty()) clean = false;
    }
    return clean ? kClean : kProblems;
}

struct Move {
    MouseButton button;
    int column;
    int row;
};

std::optional<Move> ParseMove(const std::string& word) {
    if (word.size() < 4) return std::nullopt;
    Move move{};
    switch (word[0]) {
        case 'L': move.button = MouseButton::Left; break;
        case 'R': move.button = MouseButton::Right; break;
        case 'M': move.button = MouseButton::Middle; break;
        default: return std::nullopt;
    }
    const std::string_view cell = std::string_view(word).substr(1);
    const auto comma = cell.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const auto c = ParseInt(cell.substr(0, comma));
    const auto r = ParseInt(cell.substr(comma + 1));
    if (!c || !r || !IsOnBoard(*c, *r)) return std::nullopt;
    move.column = *c;
    move.row = *r;
    return move;
}

const char* ResultName(MoveResult result) {
    switch (result) {
        case MoveResult::Ignored: return "ignored";
        case MoveResult::Refused: return "refused";
        case MoveResult::Moved: return "moved";
        case MoveResult::Solved: return "solved";
    }
    return "?";
}

// A shell that keeps the error the game would show, so the tool can print it.
class ReplayShell : public NullShell {
public:
    void ShowError(const std::string& text) override { error = text; }
    std::string error;
};

int Replay(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::string& path = args[1];
    const auto level = ParseInt(args[2]);
    std::vector<Move> moves;
    for (std::size_t i = 3; i < args.size(); ++i) {
        const auto move = ParseMove(args[i]);
        if (!move) {
            err << "aquendo-levels: bad move '" << args[i] << "' (expected L, R or M and a cell, like L5,4)\n";
            return kUnusable;
        }
        moves.push_back(*move);
    }

    ReplayShell shell;
    MemorySettings settings;
    Game game(shell, settings);
    game.SetUiLanguage(0);
    game.LoadLevelFileAt(path);
    if (!shell.error.empty()) {
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
        const Move& move = moves[i];
        // The press lands in the middle of the cell, as a player's would.
        const int x = kGridLeft + kCellSize * (move.column - 1) + kCellSize / 2;
        const int y = kGridTop + kCellSize * (move.row - 1) + kCellSize / 2;
        const MoveResult result = game.boxMouseDown(move.button, x, y);
        out << args[3 + i] << " " << ResultName(result) << " wet " << Wet(game.board().ShownWet) << "\n";
    }
    return kClean;
}

}  // namespace

int RunLevelsTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 2 && args[0] == "check") return Check(args[1], out, err);
    if (args.size() >= 3 && args[0] == "replay") return Replay(args, out, err);
    err << kUsage;
    return kUnusable;
}
