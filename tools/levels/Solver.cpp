#include "tools/levels/Solver.h"

#include <algorithm>
#include <array>
#include <queue>
#include <unordered_map>

#include "core/Board.h"
#include "tools/levels/LevelLayout.h"
#include "tools/levels/PackedTurns.h"
#include "tools/levels/PerfectNetworks.h"

namespace {

constexpr int kMaxTargets = 4;
// The heuristic weight: how much a position nearer the end picture counts
// against the moves already made. Above 1 the search is greedy, which is
// what finds a path through a large level quickly.
constexpr int kWeight = 3;

struct Key {
    Packed classes;  // two bits per piece, plus the wet network's lowest piece in the top word
    friend bool operator==(const Key&, const Key&) = default;
};

struct KeyHash {
    std::size_t operator()(const Key& key) const { return PackedHash{}(key.classes); }
};

struct Node {
    Packed orientations;
    PieceSet wet;
    std::uint32_t parent;
    std::int16_t g;
    std::uint8_t piece;                           // turned to reach this node
    std::array<std::uint16_t, kMaxTargets> away;  // quarter turns from each end picture
    std::int16_t mismatch;                        // facing pairs that do not meet, without end pictures
};

class Search {
public:
    Search(const LevelLayout& layout, const SolverOptions& options) : m_layout(layout), m_options(options) {
        m_targets = FindPerfectNetworks(layout, kMaxTargets, 20000);
        if (m_targets.empty()) m_targets = FindPerfectNetworks(layout, kMaxTargets, 20000, true);
        const int n = layout.PieceCount();
        for (const auto& target : m_targets) {
            std::vector<std::array<std::uint8_t, 4>> away(n);
            for (int i = 0; i < n; ++i) {
                const LayoutPiece& piece = layout.Piece(i);
                for (int o = 0; o < 4; ++o) {
                    int best = 2;
                    for (int t = 0; t < 4; ++t)
                        if (piece.useful[t] == piece.useful[target[i]])
                            best = std::min(best, TurnDistance(o, t));
                    away[i][o] = static_cast<std::uint8_t>(best);
                }
            }
            m_away.push_back(away);
        }
    }

    SolveResult Run() {
        SolveResult result;
        const int n = m_layout.PieceCount();
        Node start{};
        for (int i = 0; i < n; ++i) Set2(start.orientations, i, m_layout.StartOrientations()[i]);
        Board board = m_layout.MakeBoard(m_layout.StartOrientations(), m_layout.SourcePiece());
        start.wet = m_layout.WetPieces(board);
        start.parent = UINT32_MAX;
        for (std::size_t t = 0; t < m_targets.size(); ++t)
            for (int i = 0; i < n; ++i) start.away[t] += m_away[t][i][m_layout.StartOrientations()[i]];
        start.mismatch = static_cast<std::int16_t>(Mismatch(start.orientations));
        Add(start);

        const PieceSet all = m_layout.All();
        std::vector<std::uint8_t> orientations(n);
        while (!m_open.empty()) {
            const std::uint32_t index = m_open.top().node;
            m_open.pop();
            if (static_cast<int>(m_nodes.size()) >= m_options.maxPositions) {
                result.status = SolveStatus::NotFound;
                result.positions = static_cast<int>(m_nodes.size());
                result.reason =
                    "no solution found within " + std::to_string(m_options.maxPositions) + " positions";
                return result;
            }
            const Node node = m_nodes[index];
            for (int i = 0; i < n; ++i)
                orientations[i] = static_cast<std::uint8_t>(Get2(node.orientations, i));
            for (int i = 0; i < n; ++i)
                board.PieceLayer[m_layout.Piece(i).cell] = PieceCode(m_layout.Piece(i).type, orientations[i]);
            bool done = false;
            node.wet.ForEach([&](int p) {
                if (done) return;
                const LayoutPiece& piece = m_layout.Piece(p);
                const int from = orientations[p];
                for (int cls = 0; cls < piece.classes && !done; ++cls) {
                    if (cls == piece.usefulClass[from]) continue;
                    int to = -1;
                    for (int o = 0; o < 4; ++o)
                        if (piece.usefulClass[o] == cls &&
                            (to < 0 || TurnDistance(from, o) < TurnDistance(from, to)))
                            to = o;
                    m_layout.Turn(board, p, from, to);
                    board.SourceColumn = piece.column;
                    board.SourceRow = piece.row;
                    ComputeWater(board);
                    Node child = node;
                    Set2(child.orientations, p, to);
                    child.wet = m_layout.WetPieces(board);
                    child.parent = index;
                    child.piece = static_cast<std::uint8_t>(p);
                    child.g = static_cast<std::int16_t>(node.g + TurnDistance(from, to));
                    for (std::size_t t = 0; t < m_targets.size(); ++t)
                        child.away[t] =
                            static_cast<std::uint16_t>(child.away[t] - m_away[t][p][from] + m_away[t][p][to]);
                    child.mismatch =
                        static_cast<std::int16_t>(node.mismatch - LocalMismatch(orientations, p));
                    orientations[p] = static_cast<std::uint8_t>(to);
                    child.mismatch =
                        static_cast<std::int16_t>(child.mismatch + LocalMismatch(orientations, p));
                    orientations[p] = static_cast<std::uint8_t>(from);
                    m_layout.Turn(board, p, to, from);
                    const std::uint32_t added = Add(child);
                    if (added != UINT32_MAX && child.wet == all) {
                        m_goal = added;
                        done = true;
                    }
                }
            });
            if (done) {
                result.status = SolveStatus::Solved;
                result.positions = static_cast<int>(m_nodes.size());
                result.moves = Path(m_goal);
                return result;
            }
        }
        result.status = SolveStatus::Impossible;
        result.positions = static_cast<int>(m_nodes.size());
        result.reason =
            "every one of the " + std::to_string(m_nodes.size()) + " reachable positions leaves a piece dry";
        return result;
    }

private:
    struct Open {
        int f;
        int h;
        int dry;
        std::uint32_t node;
        bool operator<(const Open& other) const {
            if (f != other.f) return f > other.f;
            if (h != other.h) return h > other.h;
            if (dry != other.dry) return dry > other.dry;
            return node < other.node;  // later first: dives on ties
        }
    };

    int Estimate(const Node& node) const {
        if (m_targets.empty()) return (node.mismatch + 1) / 2;
        int best = INT32_MAX;
        for (std::size_t t = 0; t < m_targets.size(); ++t) best = std::min<int>(best, node.away[t]);
        return best;
    }

    std::uint32_t Add(const Node& node) {
        Key key{};
        for (int i = 0; i < m_layout.PieceCount(); ++i)
            Set2(key.classes, i, m_layout.Piece(i).usefulClass[Get2(node.orientations, i)]);
        key.classes[2] ^= std::uint64_t(node.wet.First() + 1) << 40;
        const auto [it, inserted] = m_seen.try_emplace(key, static_cast<std::uint32_t>(m_nodes.size()));
        if (!inserted) return UINT32_MAX;
        m_nodes.push_back(node);
        const int h = Estimate(node);
        m_open.push({node.g + kWeight * h, h, m_layout.PieceCount() - node.wet.Count(), it->second});
        return it->second;
    }

    // Pairs of neighbours around piece p where only one side opens towards the other.
    int LocalMismatch(const std::vector<std::uint8_t>& orientations, int p) const {
        const LayoutPiece& piece = m_layout.Piece(p);
        int count = 0;
        for (int d = 0; d < 4; ++d) {
            const int q = piece.neighbour[d];
            if (q < 0) continue;
            const bool mine = piece.openings[orientations[p]] >> d & 1;
            const bool theirs = m_layout.Piece(q).openings[orientations[q]] >> ((d + 2) % 4) & 1;
            count += mine != theirs;
        }
        return count;
    }

    int Mismatch(const Packed& packed) const {
        std::vector<std::uint8_t> orientations(m_layout.PieceCount());
        for (int i = 0; i < m_layout.PieceCount(); ++i)
            orientations[i] = static_cast<std::uint8_t>(Get2(packed, i));
        int total = 0;
        for (int i = 0; i < m_layout.PieceCount(); ++i) total += LocalMismatch(orientations, i);
        return total / 2;
    }

    std::vector<Move> Path(std::uint32_t index) const {
        std::vector<Move> moves;
        while (m_nodes[index].parent != UINT32_MAX) {
            const Node& node = m_nodes[index];
            const Node& parent = m_nodes[node.parent];
            const LayoutPiece& piece = m_layout.Piece(node.piece);
            const int from = Get2(parent.orientations, node.piece);
            const int to = Get2(node.orientations, node.piece);
            const int steps = ((to - from) % 4 + 4) % 4;
            const MouseButton button = steps == 3 ? MouseButton::Right : MouseButton::Left;
            for (int i = 0; i < (steps == 2 ? 2 : 1); ++i) moves.push_back({button, piece.column, piece.row});
            index = node.parent;
        }
        std::reverse(moves.begin(), moves.end());
        return moves;
    }

    const LevelLayout& m_layout;
    SolverOptions m_options;
    std::vector<std::vector<std::uint8_t>> m_targets;
    std::vector<std::vector<std::array<std::uint8_t, 4>>> m_away;  // [target][piece][orientation]
    std::vector<Node> m_nodes;
    std::unordered_map<Key, std::uint32_t, KeyHash> m_seen;
    std::priority_queue<Open> m_open;
    std::uint32_t m_goal = 0;
};

// Pieces that could ever hold water: a dry piece never turns, so it can only
// be reached through one of its own openings, from a piece that can.
std::vector<int> NeverWet(const LevelLayout& layout, const PieceSet& wetAtStart) {
    const int n = layout.PieceCount();
    std::vector<std::uint8_t> reachable(n, 0);
    wetAtStart.ForEach([&](int i) { reachable[i] = 1; });
    bool changed = true;
    while (changed) {
        changed = false;
        for (int i = 0; i < n; ++i) {
            if (reachable[i]) continue;
            const LayoutPiece& piece = layout.Piece(i);
            for (int d = 0; d < 4; ++d) {
                const int q = piece.neighbour[d];
                if ((piece.openings[layout.StartOrientations()[i]] >> d & 1) && q >= 0 && reachable[q]) {
                    reachable[i] = 1;
                    changed = true;
                    break;
                }
            }
        }
    }
    std::vector<int> never;
    for (int i = 0; i < n; ++i)
        if (!reachable[i]) never.push_back(i);
    return never;
}

// Pieces that no orientation can join to the source's piece: they do not
// touch it through any chain of neighbouring pieces.
std::vector<int> ApartFromSource(const LevelLayout& layout) {
    std::vector<std::uint8_t> joined(layout.PieceCount(), 0);
    std::vector<int> stack{layout.SourcePiece()};
    joined[layout.SourcePiece()] = 1;
    while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        for (int q : layout.Piece(i).neighbour) {
            if (q >= 0 && !joined[q]) {
                joined[q] = 1;
                stack.push_back(q);
            }
        }
    }
    std::vector<int> apart;
    for (int i = 0; i < layout.PieceCount(); ++i)
        if (!joined[i]) apart.push_back(i);
    return apart;
}

std::string CellName(const LayoutPiece& piece) {
    return "(" + std::to_string(piece.column) + "," + std::to_string(piece.row) + ")";
}

}  // namespace

int PressesToSolve(const LevelRecord& level, const std::vector<Move>& moves) {
    Board board;
    PlaceLevel(board, level);
    if (!IsOnBoard(board.SourceColumn, board.SourceRow)) return -1;
    ComputeWater(board);
    board.ShownWet = board.WetMap;
    for (const Move& move : moves) {
        if (board.Piece(move.column, move.row) == 0 || !board.IsShownWet(move.column, move.row)) return -1;
        if (move.button == MouseButton::Left) TurnCounterClockwise(board, move.column, move.row);
        if (move.button == MouseButton::Right) TurnClockwise(board, move.column, move.row);
        board.SourceColumn = move.column;
        board.SourceRow = move.row;
        ComputeWater(board);
        board.ShownWet = board.WetMap;
        if (IsSolved(board)) return static_cast<int>(&move - moves.data()) + 1;
    }
    return -1;
}

bool SolvesOnBoard(const LevelRecord& level, const std::vector<Move>& moves) {
    return !moves.empty() && PressesToSolve(level, moves) == static_cast<int>(moves.size());
}

std::vector<Move> ShortenSolution(const LevelRecord& level, std::vector<Move> moves) {
    const int needed = PressesToSolve(level, moves);
    if (needed < 0) return moves;
    moves.resize(static_cast<std::size_t>(needed));
    bool shorter = true;
    while (shorter) {
        shorter = false;
        // Whole runs of presses on one cell first, then single presses.
        for (std::size_t i = 0; i < moves.size() && !shorter; ++i) {
            std::size_t end = i + 1;
            while (end < moves.size() && moves[end].column == moves[i].column &&
                   moves[end].row == moves[i].row)
                ++end;
            for (std::size_t cut = end; cut > i && !shorter; --cut) {
                std::vector<Move> trial = moves;
                trial.erase(trial.begin() + static_cast<std::ptrdiff_t>(i),
                            trial.begin() + static_cast<std::ptrdiff_t>(cut));
                if (!trial.empty() && SolvesOnBoard(level, trial)) {
                    moves = std::move(trial);
                    shorter = true;
                }
            }
        }
    }
    return moves;
}

SolveResult SolveLevel(const LevelRecord& level, const SolverOptions& options) {
    SolveResult result;
    const LevelLayout layout(level);
    if (layout.PieceCount() == 0) {
        result.status = SolveStatus::NoPieces;
        result.reason = "the level holds no pieces";
        return result;
    }
    if (layout.SourcePiece() < 0) {
        result.status = SolveStatus::Impossible;
        result.reason = "the source cell holds no piece, so every press is refused";
        return result;
    }
    const Board start = layout.MakeBoard(layout.StartOrientations(), layout.SourcePiece());
    const PieceSet wet = layout.WetPieces(start);
    const LayoutPiece& source = layout.Piece(layout.SourcePiece());
    if (wet == layout.All()) {
        // Joined from the start: a press that turns nothing runs the solved test.
        result.status = SolveStatus::Solved;
        result.moves = {{MouseButton::Middle, source.column, source.row}};
        return result;
    }
    const std::vector<int> apart = ApartFromSource(layout);
    if (!apart.empty()) {
        result.status = SolveStatus::Impossible;
        result.reason = "the piece at " + CellName(layout.Piece(apart.front())) +
                        " touches no chain of pieces that leads to the source";
        return result;
    }
    const std::vector<int> never = NeverWet(layout, wet);
    if (!never.empty()) {
        result.status = SolveStatus::Impossible;
        result.reason = "the piece at " + CellName(layout.Piece(never.front())) +
                        " can never get water: none of its openings faces a piece that can";
        return result;
    }
    result = Search(layout, options).Run();
    if (result.status == SolveStatus::Solved) result.moves = ShortenSolution(level, result.moves);
    return result;
}
