// Any bytes as a solutions file of aquendo-levels (levels/solutions.txt): the
// reader, the written file read back, and every solution read replayed on a
// shipped level through the game.
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/LevelFile.h"
#include "fuzz/FuzzScratch.h"
#include "tools/levels/Moves.h"
#include "tools/levels/SolutionsFile.h"

namespace {

void Require(bool holds, const char* what) {
    fuzz::Require(holds, "solutions file", what);
}

// A level with pieces of every kind: a tee, a cross and corners around (5, 4).
LevelRecord PlayedLevel() {
    LevelRecord level = FallbackLevel();
    const auto put = [&](int c, int r, std::uint8_t code) { level.PieceLayer[CellIndex(c, r)] = code; };
    put(5, 4, 5);
    put(6, 4, 4);
    put(4, 4, 2);
    put(5, 3, 3);
    put(5, 5, 1);
    put(6, 5, 10);
    level.SourceColumn = 5;
    level.SourceRow = 4;
    return level;
}

}  // namespace

extern "C" int AQUENDO_FUZZ_ENTRY(const std::uint8_t* data, std::size_t size) {
    static const fuzz::Scratch scratch("solutions");
    const std::filesystem::path path = scratch.folder() / "solutions.txt";
    const std::filesystem::path copy = scratch.folder() / "copy.txt";
    fuzz::WriteFile(path, data, size);

    std::string error;
    const auto solutions = ReadSolutions(path.string(), error);
    if (!solutions) return 0;
    Require(WriteSolutions(copy.string(), *solutions), "solutions could not be written");
    std::string again;
    Require(ReadSolutions(copy.string(), again) == solutions, "solutions changed on the way through a file");

    static const LevelRecord level = PlayedLevel();
    int replayed = 0;
    for (const auto& [number, moves] : *solutions) {
        Require(number >= 1, "a solution for a level below 1");
        if (++replayed > 8 || moves.size() > 64) break;
        for (const Move& move : moves)
            Require(move.column >= 1 && move.column <= kColumns && move.row >= 1 && move.row <= kRows,
                    "a move off the board was read");
        const ReplayOutcome outcome = ReplayMoves(level, moves);
        Require(outcome.results.size() == moves.size(), "a move was not played");
    }
    return 0;
}
