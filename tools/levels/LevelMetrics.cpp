#include "tools/levels/LevelMetrics.h"

#include <map>
#include <utility>

#include "core/Piece.h"
#include "tools/levels/LevelLayout.h"
#include "tools/levels/PerfectNetworks.h"
#include "tools/levels/Rng.h"

double DifficultyScore(const LevelMetrics& m) {
    if (m.solutionLength < 0) return 0;
    return m.solutionLength + 0.25 * m.pieces + 3.0 * m.detours + 12.0 * m.stuckRate;
}

double StuckRate(const LevelRecord& level) {
    const LevelLayout layout(level);
    if (layout.PieceCount() == 0 || layout.SourcePiece() < 0) return 0;
    const auto networks = FindPerfectNetworks(layout, 1, 20000);
    if (networks.empty()) return 0;
    const std::vector<std::uint8_t>& target = networks.front();
    std::uint64_t seed = 0;
    for (std::uint8_t code : level.PieceLayer) seed = seed * 131 + code;
    Rng rng(seed);

    constexpr int kPlays = 64;
    int stuck = 0;
    for (int play = 0; play < kPlays; ++play) {
        std::vector<std::uint8_t> orientations = layout.StartOrientations();
        Board board = layout.MakeBoard(orientations, layout.SourcePiece());
        for (;;) {
            std::vector<int> outOfPlace;
            layout.WetPieces(board).ForEach([&](int i) {
                const LayoutPiece& piece = layout.Piece(i);
                if (piece.usefulClass[orientations[i]] != piece.usefulClass[target[i]])
                    outOfPlace.push_back(i);
            });
            if (outOfPlace.empty()) break;
            const int i = outOfPlace[rng.Below(static_cast<int>(outOfPlace.size()))];
            const LayoutPiece& piece = layout.Piece(i);
            layout.Turn(board, i, orientations[i], target[i]);
            orientations[i] = target[i];
            board.SourceColumn = piece.column;
            board.SourceRow = piece.row;
            ComputeWater(board);
        }
        if (layout.WetPieces(board).Count() < layout.PieceCount()) ++stuck;
    }
    return static_cast<double>(stuck) / kPlays;
}

LevelMetrics MeasureLevel(const LevelRecord& level, const std::vector<Move>& bestSolution) {
    LevelMetrics m;
    const LevelLayout layout(level);
    m.pieces = layout.PieceCount();
    for (int i = 0; i < m.pieces; ++i) ++m.types[layout.Piece(i).type];
    if (layout.SourcePiece() >= 0) {
        const Board board = layout.MakeBoard(layout.StartOrientations(), layout.SourcePiece());
        m.dryAtStart = m.pieces - layout.WetPieces(board).Count();
    } else {
        m.dryAtStart = m.pieces;
    }
    if (!bestSolution.empty()) {
        m.solutionLength = static_cast<int>(bestSolution.size());
        // Net quarter turns per piece: what each piece needed at least.
        std::map<std::pair<int, int>, int> net;
        for (const Move& move : bestSolution) {
            int& turns = net[{move.column, move.row}];
            if (move.button == MouseButton::Left) ++turns;
            if (move.button == MouseButton::Right) --turns;
        }
        int least = 0;
        for (const auto& [cell, turns] : net) least += TurnDistance(0, turns);
        m.turnedPieces = static_cast<int>(net.size());
        m.detours = m.solutionLength - least;
    }
    m.stuckRate = StuckRate(level);
    m.difficulty = DifficultyScore(m);
    return m;
}

std::string TypeSummary(const LevelMetrics& m) {
    return "E" + std::to_string(m.types[End]) + " C" + std::to_string(m.types[Corner]) + " S" +
           std::to_string(m.types[Straight]) + " T" + std::to_string(m.types[Tee]) + " X" +
           std::to_string(m.types[Cross]);
}
