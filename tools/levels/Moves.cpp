#include "tools/levels/Moves.h"

#include <charconv>
#include <sstream>

#include <cstdio>
#include <cstdlib>

#include "core/Language.h"

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<Move> ParseMove(const std::string& word) {
    if (word.size() < 4) return std::nullopt;
    Move move{};
    switch (word[0]) {
        case 'L':
            move.button = MouseButton::Left;
            break;
        case 'R':
            move.button = MouseButton::Right;
            break;
        case 'M':
            move.button = MouseButton::Middle;
            break;
        default:
            return std::nullopt;
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

std::string FormatMove(const Move& move) {
    const char button = move.button == MouseButton::Left    ? 'L'
                        : move.button == MouseButton::Right ? 'R'
                                                            : 'M';
    return button + std::to_string(move.column) + "," + std::to_string(move.row);
}

std::string FormatMoves(const std::vector<Move>& moves) {
    std::string text;
    for (const Move& move : moves) text += (text.empty() ? "" : " ") + FormatMove(move);
    return text;
}

std::optional<std::vector<Move>> ParseMoves(const std::string& text) {
    std::istringstream words(text);
    std::vector<Move> moves;
    std::string word;
    while (words >> word) {
        const auto move = ParseMove(word);
        if (!move) return std::nullopt;
        moves.push_back(*move);
    }
    return moves;
}

const char* ResultName(MoveResult result) {
    switch (result) {
        case MoveResult::Ignored:
            return "ignored";
        case MoveResult::Refused:
            return "refused";
        case MoveResult::Moved:
            return "moved";
        case MoveResult::Solved:
            return "solved";
    }
    return "?";
}

MoveResult Press(Game& game, const Move& move) {
    return game.boxMouseDown(move.button, CellLeft(move.column) + kCellSize / 2,
                             CellTop(move.row) + kCellSize / 2);
}

HeadlessGame::HeadlessGame(const std::string& path) {
    m_game.SetUiLanguage(LanguageEnglish);
    m_game.LoadLevelFileAt(path);
    m_loaded = m_shell.error.empty();
}

HeadlessGame::HeadlessGame(const std::vector<LevelRecord>& levels) {
    m_game.SetUiLanguage(LanguageEnglish);
    LevelCatalogue catalogue;
    for (const LevelRecord& level : levels) catalogue.Add(level);
    m_loaded = catalogue.LevelCount() > 0;
    if (m_loaded) m_game.UseLevels(std::move(catalogue));
}

ReplayOutcome HeadlessGame::Replay(int n, const std::vector<Move>& moves) {
    ReplayOutcome outcome;
    m_game.StartLevel(n);
    outcome.timeAllowance = m_game.TimeLeft();
    for (const Move& move : moves) {
        const MoveResult result = Press(m_game, move);
        outcome.results.push_back(result);
        if (result == MoveResult::Solved) {
            outcome.solved = true;
            outcome.movesToSolve = static_cast<int>(outcome.results.size());
        }
    }
    return outcome;
}

ReplayOutcome ReplayMoves(const LevelRecord& level, const std::vector<Move>& moves) {
    HeadlessGame headless(std::vector<LevelRecord>{level});
    if (!headless.Loaded()) return {};
    return headless.Replay(1, moves);
}
