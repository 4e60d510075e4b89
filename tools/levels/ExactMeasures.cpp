#include "tools/levels/ExactMeasures.h"

#include <algorithm>
#include <bit>
#include <map>

#include "core/Piece.h"
#include "tools/levels/LevelLayout.h"
#include "tools/levels/PieceSet.h"

namespace {

// Orientation of every piece after the moves, pressed freely.
std::vector<std::uint8_t> EndOrientations(const LevelLayout& layout, const std::vector<Move>& moves) {
    std::vector<std::uint8_t> end = layout.StartOrientations();
    for (const Move& move : moves) {
        const int i = layout.PieceAt(CellIndex(move.column, move.row));
        if (i < 0 || move.button == MouseButton::Middle) continue;
        end[i] = static_cast<std::uint8_t>((end[i] + (move.button == MouseButton::Left ? 1 : 3)) % 4);
    }
    return end;
}

// Orientations with the same openings towards pieces as o.
std::uint8_t SameClass(const LayoutPiece& piece, int o) {
    std::uint8_t set = 0;
    for (int t = 0; t < 4; ++t)
        if (piece.usefulClass[t] == piece.usefulClass[o]) set |= static_cast<std::uint8_t>(1 << t);
    return set;
}

}  // namespace

double QuickPlayerSeconds(const std::vector<Move>& moves) {
    int choices = 0;
    for (std::size_t i = 0; i < moves.size(); ++i)
        if (i == 0 || moves[i].column != moves[i - 1].column || moves[i].row != moves[i - 1].row) ++choices;
    return 0.6 * static_cast<double>(moves.size()) + 1.0 * choices;
}

int CountOutOfPlace(const LevelRecord& level, const std::vector<Move>& moves) {
    const LevelLayout layout(level);
    const std::vector<std::uint8_t> end = EndOrientations(layout, moves);
    int count = 0;
    for (int i = 0; i < layout.PieceCount(); ++i) {
        const LayoutPiece& piece = layout.Piece(i);
        count +=
            static_cast<int>(piece.usefulClass[layout.StartOrientations()[i]] != piece.usefulClass[end[i]]);
    }
    return count;
}

int CountKnots(const LevelRecord& level, const std::vector<Move>& moves) {
    const LevelLayout layout(level);
    const std::vector<std::uint8_t> end = EndOrientations(layout, moves);
    std::vector<std::uint8_t> now = layout.StartOrientations();
    int knots = 0;
    bool inKnot = false;
    for (const Move& move : moves) {
        const int i = layout.PieceAt(CellIndex(move.column, move.row));
        if (i < 0 || move.button == MouseButton::Middle) continue;
        const std::uint8_t target = SameClass(layout.Piece(i), end[i]);
        const int before = TurnsToSet(now[i], target);
        now[i] = static_cast<std::uint8_t>((now[i] + (move.button == MouseButton::Left ? 1 : 3)) % 4);
        const bool away = TurnsToSet(now[i], target) >= before;
        if (away && !inKnot) ++knots;
        inKnot = away;
    }
    return knots;
}

double LocallyFixedShare(const LevelRecord& level) {
    const LevelLayout layout(level);
    const int n = layout.PieceCount();
    if (n == 0) return 0;
    // Domains of orientations (bit o) whose every opening faces a piece.
    std::vector<std::uint8_t> domain(n, 0);
    for (int i = 0; i < n; ++i) {
        const LayoutPiece& piece = layout.Piece(i);
        for (int o = 0; o < 4; ++o)
            if (piece.openings[o] == piece.useful[o]) domain[i] |= static_cast<std::uint8_t>(1 << o);
    }
    auto sides = [&](int q, int d) {  // values the opening of q towards d can take, bit 0 closed, bit 1 open
        int values = 0;
        for (int o = 0; o < 4; ++o)
            if (domain[q] >> o & 1) values |= 1 << (layout.Piece(q).openings[o] >> d & 1);
        return values;
    };
    for (bool changed = true; changed;) {
        changed = false;
        for (int i = 0; i < n; ++i) {
            const LayoutPiece& piece = layout.Piece(i);
            std::uint8_t kept = 0;
            for (int o = 0; o < 4; ++o) {
                if (!(domain[i] >> o & 1)) continue;
                bool fits = true;
                for (int d = 0; d < 4 && fits; ++d)
                    if (piece.neighbour[d] >= 0)
                        fits = sides(piece.neighbour[d], (d + 2) % 4) >> (piece.openings[o] >> d & 1) & 1;
                if (fits) kept |= static_cast<std::uint8_t>(1 << o);
            }
            if (kept == 0) return 0;  // no picture in which every opening meets: nothing follows
            if (kept != domain[i]) {
                domain[i] = kept;
                changed = true;
            }
        }
    }
    int fixed = 0;
    for (int i = 0; i < n; ++i) {
        const LayoutPiece& piece = layout.Piece(i);
        int classes = 0;
        for (int o = 0; o < 4; ++o)
            if ((domain[i] >> o & 1) && (SameClass(piece, o) & domain[i] & ((1 << o) - 1)) == 0) ++classes;
        fixed += classes == 1;
    }
    return static_cast<double>(fixed) / n;
}

ExactMeasures MeasureExactly(const LevelRecord& level, const ExactOptions& options) {
    ExactMeasures m;
    const LevelLayout layout(level);
    m.pieces = layout.PieceCount();
    m.clock = kSecondsPerPiece * m.pieces;
    if (layout.SourcePiece() >= 0)
        m.wetAtStart =
            layout.WetPieces(layout.MakeBoard(layout.StartOrientations(), layout.SourcePiece())).Count();
    m.localShare = LocallyFixedShare(level);
    const ExactResult exact = SolveExact(level, options);
    m.staticBound = exact.staticBound;
    m.lowerBound = exact.lowerBound;
    if (exact.status != SolveStatus::Solved) return m;
    m.moves = exact.moves;
    m.minimum = static_cast<int>(exact.moves.size());
    m.proved = exact.proved;
    m.detours = m.minimum - m.staticBound;
    m.outOfPlace = CountOutOfPlace(level, m.moves);
    m.knots = CountKnots(level, m.moves);
    m.quickSeconds = QuickPlayerSeconds(m.moves);
    return m;
}

std::vector<OffCurve> FindOffCurve(const std::vector<int>& minima, double low, double high, int reach) {
    std::vector<OffCurve> found;
    const int count = static_cast<int>(minima.size());
    for (int i = 0; i < count; ++i) {
        if (minima[i] < 0) continue;
        std::vector<int> around;
        for (int j = std::max(0, i - reach); j <= std::min(count - 1, i + reach); ++j)
            if (j != i && minima[j] >= 0) around.push_back(minima[j]);
        if (around.empty()) continue;
        std::sort(around.begin(), around.end());
        const std::size_t half = around.size() / 2;
        const double median = around.size() % 2 ? around[half] : (around[half - 1] + around[half]) / 2.0;
        const double ratio = median > 0 ? minima[i] / median : 1.0;
        if (ratio < low || ratio > high) found.push_back({i + 1, ratio});
    }
    return found;
}

namespace {

struct Symmetry {
    bool mirror;
    int quarterTurns;
    const char* name;
};

constexpr Symmetry kSymmetries[] = {
    {false, 0, "moved"},
    {false, 1, "turned 90"},
    {false, 2, "turned 180"},
    {false, 3, "turned 270"},
    {true, 0, "mirrored"},
    {true, 1, "mirrored, turned 90"},
    {true, 2, "mirrored, turned 180"},
    {true, 3, "mirrored, turned 270"},
};

// The level's pieces after the symmetry, moved to the top left corner, as
// text: a sorted list of (x, y, what) with what the openings (exact) or the
// type (shape only), the source marked in the exact form.
std::string Signature(const LevelRecord& level, const Symmetry& s, bool exact) {
    std::vector<std::array<int, 3>> cells;
    for (int c = 1; c <= kColumns; ++c) {
        for (int r = 1; r <= kRows; ++r) {
            const std::uint8_t code = level.PieceLayer[CellIndex(c, r)];
            if (code == 0) continue;
            int x = s.mirror ? -c : c;
            int y = r;
            int mask = OpeningMask(code);
            if (s.mirror) mask = (mask & 0b1010) | (mask >> 2 & 1) | ((mask & 1) << 2);
            for (int k = 0; k < s.quarterTurns; ++k) {
                const int turnedX = y;
                y = -x;
                x = turnedX;
                mask = ((mask << 1) | (mask >> 3)) & 0xF;
            }
            const bool source = c == level.SourceColumn && r == level.SourceRow;
            cells.push_back({x, y, exact ? mask + 16 * source : PieceTypeOf(code)});
        }
    }
    if (cells.empty()) return {};
    int minX = cells[0][0], minY = cells[0][1];
    for (const auto& cell : cells) {
        minX = std::min(minX, cell[0]);
        minY = std::min(minY, cell[1]);
    }
    for (auto& cell : cells) {
        cell[0] -= minX;
        cell[1] -= minY;
    }
    std::sort(cells.begin(), cells.end());
    std::string text;
    for (const auto& cell : cells) {
        text += static_cast<char>(cell[0]);
        text += static_cast<char>(cell[1]);
        text += static_cast<char>(cell[2]);
    }
    return text;
}

}  // namespace

std::vector<SimilarLevels> FindSimilarLevels(const std::vector<LevelRecord>& levels) {
    std::vector<SimilarLevels> found;
    for (const bool exact : {true, false}) {
        std::map<std::string, int> seen;  // signature as the level stands -> level
        for (int n = 1; n <= static_cast<int>(levels.size()); ++n) {
            const LevelRecord& level = levels[n - 1];
            if (level.PieceCount() == 0) continue;
            for (const Symmetry& s : kSymmetries) {
                const auto it = seen.find(Signature(level, s, exact));
                if (it == seen.end()) continue;
                const bool reported = std::any_of(found.begin(), found.end(), [&](const SimilarLevels& pair) {
                    return pair.first == it->second && pair.second == n;
                });
                if (!reported) found.push_back({it->second, n, exact, s.name});
                break;
            }
            seen.emplace(Signature(level, kSymmetries[0], exact), n);
        }
    }
    std::sort(found.begin(), found.end(), [](const SimilarLevels& a, const SimilarLevels& b) {
        return std::tie(a.first, a.second) < std::tie(b.first, b.second);
    });
    return found;
}
