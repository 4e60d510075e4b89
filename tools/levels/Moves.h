#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/LevelRecord.h"
#include "game/Game.h"
#include "game/NullShell.h"
#include "store/MemorySettings.h"

// One press on the board, written L5,4 / R5,4 / M5,4 (button, column, row).
struct Move {
    MouseButton button = MouseButton::Left;
    int column = 1;
    int row = 1;

    friend bool operator==(const Move&, const Move&) = default;
};

// A whole word as a decimal number, nothing before or after it.
std::optional<int> ParseInt(std::string_view text);

std::optional<Move> ParseMove(const std::string& word);
std::string FormatMove(const Move& move);
std::string FormatMoves(const std::vector<Move>& moves);
// Words separated by blanks; nullopt when any word is not a move.
std::optional<std::vector<Move>> ParseMoves(const std::string& text);

const char* ResultName(MoveResult result);

// Presses a move on a running game, in the middle of its cell.
MoveResult Press(Game& game, const Move& move);

struct ReplayOutcome {
    std::vector<MoveResult> results;  // one per move
    int timeAllowance = 0;            // seconds, as the level starts
    bool solved = false;              // the level ended solved
    int movesToSolve = 0;             // presses up to and including the solving one
};

// The game with no screen, no sound and no stored settings, over levels read
// exactly as the game reads them, or held in memory.
class HeadlessGame {
public:
    explicit HeadlessGame(const std::string& path);
    explicit HeadlessGame(const std::vector<LevelRecord>& levels);

    bool Loaded() const { return m_loaded; }
    Game& game() { return m_game; }
    // Starts level n and presses the moves in order.
    ReplayOutcome Replay(int n, const std::vector<Move>& moves);

private:
    class Shell : public NullShell {
    public:
        void ShowError(const std::string& text) override { error = text; }
        std::string error;
    };
    Shell m_shell;
    MemorySettings m_settings;
    Game m_game{m_shell, m_settings};
    bool m_loaded = false;
};

ReplayOutcome ReplayMoves(const LevelRecord& level, const std::vector<Move>& moves);
