// Any bytes as the level file aqnd.dat: the reader and its mending, then
// every level read started by the game and pressed on, through a shell that
// checks every cell, frame and code the game hands to the drawing.
#include <unistd.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/LevelFile.h"
#include "core/Piece.h"
#include "fuzz/FuzzScratch.h"
#include "game/Game.h"
#include "game/NullShell.h"
#include "store/MemorySettings.h"
#include "tests/support/CellPoints.h"

namespace {

void Require(bool holds, const char* what) {
    fuzz::Require(holds, "level file", what);
}

bool Usable(const LevelRecord& record) {
    for (const std::uint8_t code : record.PieceLayer)
        if (code != 0 && !IsPieceCode(code)) return false;
    for (const std::uint8_t floor : record.FloorLayer)
        if (floor >= kFloorCodes) return false;
    return IsOnBoard(record.SourceColumn, record.SourceRow);
}

// Whatever the game asks to draw must be on the board and on the sheets.
class CheckingShell : public NullShell {
public:
    const Game* game = nullptr;

    void DrawCell(int c, int r) override {
        Require(IsOnBoard(c, r), "cell drawn off the board");
        const std::uint8_t piece = game->board().Piece(c, r);
        Require(piece == 0 || IsPieceCode(piece), "unknown piece code drawn");
        Require(game->board().FloorLayer[CellIndex(c, r)] < kFloorCodes, "unknown floor code drawn");
    }
    void DrawTurnFrame(int c, int r, int frame) override {
        Require(IsOnBoard(c, r), "turn drawn off the board");
        Require(frame >= 0 && frame < 12, "turn frame off the sheet");
    }
    void DrawWaterTile(int c, int r, int tile) override {
        Require(IsOnBoard(c, r), "water drawn off the board");
        Require(tile >= 0 && tile < 6, "water tile off the strip");
    }
};

void CheckBoard(const Board& board) {
    Require(IsOnBoard(board.SourceColumn, board.SourceRow), "source off the board");
    Require(board.IsWet(board.SourceColumn, board.SourceRow), "source is dry");
    for (int i = 0; i < kCells; ++i)
        Require(board.WetMap[i] == 0 || board.PieceLayer[i] != 0 ||
                    i == CellIndex(board.SourceColumn, board.SourceRow),
                "water on an empty cell");
}

}  // namespace

extern "C" int AQUENDO_FUZZ_ENTRY(const std::uint8_t* data, std::size_t size) {
    static const fuzz::Scratch scratch("levels");
    const std::filesystem::path path = scratch.folder() / kLevelFileName;
    fuzz::WriteFile(path, data, size);
    const LevelFileReport report = ReadLevelFile(path.string());

    const std::size_t records = size / LevelRecord::kSize;
    const int expected = static_cast<int>(std::min<std::size_t>(records, LevelCatalogue::kMaxLevels));
    Require(report.catalogue.LevelCount() == expected, "level count is not the number of complete records");
    Require(report.status == (expected > 0 ? LevelFileStatus::Read : LevelFileStatus::NoLevel),
            "wrong status");
    Require(report.repairs.size() == static_cast<std::size_t>(expected), "one repair report per level");
    Require(report.recordsBeyondMax == (size > LevelCatalogue::kMaxLevels * LevelRecord::kSize),
            "records beyond the 500th not noted");
    Require(report.recordsBeyondMax || report.trailingBytes == size % LevelRecord::kSize,
            "wrong trailing part");

    for (int n = 1; n <= expected; ++n) {
        const LevelRecord& level = report.catalogue.Level(n);
        Require(Usable(level), "a mended record still holds a byte out of range");
        // A record the file held clean is kept byte for byte.
        const auto file = std::span<const std::uint8_t, LevelRecord::kSize>(
            data + static_cast<std::size_t>(n - 1) * LevelRecord::kSize, LevelRecord::kSize);
        if (!report.repairs[static_cast<std::size_t>(n - 1)].Any())
            Require(LevelRecord::FromBytes(file) == level, "a clean record was changed");
    }
    if (expected == 0) return 0;

    // Play: every level started (a bounded number of them), and a few presses
    // on each, at cells and buttons taken from the record's own bytes.
    CheckingShell shell;
    MemorySettings settings;
    Game game(shell, settings);
    shell.game = &game;
    game.UseLevels(report.catalogue);
    // The first three, and the last, which may be the 500th: every level
    // plays the same code, and fewer per input leave time for more inputs.
    std::vector<int> played;
    for (int n = 1; n <= std::min(expected, 3); ++n) played.push_back(n);
    if (expected > 3) played.push_back(expected);
    for (const int n : played) {
        // Mending again finds nothing: what was kept was already safe. Asked of
        // the played levels only; Usable above holds for all.
        LevelRecord again = report.catalogue.Level(n);
        Require(!RepairRecord(again).Any() && again == report.catalogue.Level(n),
                "mending is not idempotent");
        game.StartLevel(n);
        CheckBoard(game.board());
        Require(game.TimeLeft() == kSecondsPerPiece * report.catalogue.Level(n).PieceCount(),
                "time allowance");
        const std::uint8_t* press = data + static_cast<std::size_t>(n - 1) * LevelRecord::kSize;
        for (int k = 0; k < 8; ++k) {
            const int c = 1 + press[k] % kColumns;
            const int r = 1 + press[k + 12] % kRows;
            const auto button = static_cast<MouseButton>(press[k + 24] % 3);
            const int x = cellpoints::BoardX(c, press[k + 36] % kCellSize);
            const int y = cellpoints::BoardY(r, press[k + 48] % kCellSize);
            game.boxMouseDown(button, x, y);
            CheckBoard(game.board());
            Require(game.board().ShownWet == game.board().WetMap,
                    "shown water trails the water after a move");
        }
    }
    return 0;
}
