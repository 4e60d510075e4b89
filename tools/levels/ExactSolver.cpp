#include "tools/levels/ExactSolver.h"

#include <algorithm>
#include <array>
#include <climits>
#include <optional>
#include <queue>
#include <unordered_map>

#include "tools/levels/KnotBound.h"
#include "tools/levels/PackedTurns.h"
#include "tools/levels/PieceSet.h"

namespace {

// One orientation per set of openings towards other pieces: only those decide
// where the water goes, the rest only what a turn costs.
struct Classes {
    std::vector<std::vector<std::uint8_t>> members;  // [piece][class] orientations (bit o)
    std::vector<std::vector<std::uint8_t>> useful;   // [piece][class] openings towards pieces

    explicit Classes(const LevelLayout& layout) {
        const int n = layout.PieceCount();
        members.resize(n);
        useful.resize(n);
        for (int i = 0; i < n; ++i) {
            const LayoutPiece& piece = layout.Piece(i);
            members[i].assign(piece.classes, 0);
            useful[i].assign(piece.classes, 0);
            for (int o = 0; o < 4; ++o) {
                members[i][piece.usefulClass[o]] |= static_cast<std::uint8_t>(1 << o);
                useful[i][piece.usefulClass[o]] = piece.useful[o];
            }
        }
    }
};

// Depth-first over the pieces in layer order (column by column), giving each
// a class; a part of the network that is finished and can no longer join the
// rest ends the branch.
class PictureSearch {
public:
    enum class Mode { Collect, First };

    PictureSearch(const LevelLayout& layout, const Classes& classes, std::vector<std::uint8_t> allowed,
                  Mode mode, int maxPictures, int maxSteps)
        : m_layout(layout),
          m_classes(classes),
          m_allowed(std::move(allowed)),
          m_mode(mode),
          m_maxPictures(maxPictures),
          m_stepsLeft(maxSteps) {
        const int n = layout.PieceCount();
        m_chosen.assign(n, 0);
        m_order.resize(n);
        for (int i = n - 1; i >= 0; --i) {
            const int start = layout.StartOrientations()[i];
            std::vector<std::pair<int, int>> byCost;
            for (int c = 0; c < static_cast<int>(classes.members[i].size()); ++c) {
                const std::uint8_t set = classes.members[i][c] & m_allowed[i];
                if (set) byCost.emplace_back(TurnsToSet(start, set), c);
            }
            std::sort(byCost.begin(), byCost.end());
            m_order[i] = byCost;
        }
    }

    void Run() {
        if (m_layout.PieceCount() > 0) Search(0, 0);
    }

    bool Finished() const { return !m_aborted; }
    const std::vector<std::vector<std::uint8_t>>& Found() const { return m_found; }

private:
    void Search(int k, int cost) {
        if (m_stop) return;
        if (--m_stepsLeft < 0) {
            m_aborted = m_stop = true;
            return;
        }
        const int n = m_layout.PieceCount();
        if (k == n) {
            if (static_cast<int>(m_found.size()) >= m_maxPictures) {
                m_aborted = m_stop = true;
                return;
            }
            m_found.push_back(m_chosen);
            if (m_mode == Mode::First) m_stop = true;
            return;
        }
        for (const auto& [turns, c] : m_order[k]) {
            m_chosen[k] = static_cast<std::uint8_t>(c);
            if (Alive(k)) Search(k + 1, cost + turns);
            if (m_stop) return;
        }
    }

    // Pieces 0..k have their classes: every part of the network they form
    // must still be able to grow towards a piece after k, or be everything.
    bool Alive(int k) {
        const int n = m_layout.PieceCount();
        m_seen.assign(k + 1, 0);
        for (int first = 0; first <= k; ++first) {
            if (m_seen[first]) continue;
            int size = 0;
            bool grows = false;
            m_stack.assign(1, first);
            m_seen[first] = 1;
            while (!m_stack.empty()) {
                const int i = m_stack.back();
                m_stack.pop_back();
                ++size;
                const std::uint8_t open = m_classes.useful[i][m_chosen[i]];
                for (int d = 0; d < 4; ++d) {
                    if (!(open >> d & 1)) continue;
                    const int q = m_layout.Piece(i).neighbour[d];
                    if (q > k) {
                        grows = true;
                        continue;
                    }
                    if (m_seen[q] || !(m_classes.useful[q][m_chosen[q]] >> ((d + 2) % 4) & 1)) continue;
                    m_seen[q] = 1;
                    m_stack.push_back(q);
                }
            }
            if (!grows && size < n) return false;
        }
        return true;
    }

    const LevelLayout& m_layout;
    const Classes& m_classes;
    std::vector<std::uint8_t> m_allowed;
    Mode m_mode;
    int m_maxPictures;
    int m_stepsLeft;
    std::vector<std::vector<std::pair<int, int>>> m_order;  // [piece] (turns from start, class)
    std::vector<std::uint8_t> m_chosen;
    std::vector<std::vector<std::uint8_t>> m_found;
    std::vector<std::uint8_t> m_seen;
    std::vector<int> m_stack;
    bool m_stop = false;
    bool m_aborted = false;
};

// The least quarter turns from the orientations `from` to any solved
// picture, exactly: a sweep over the cells column by column that keeps, for
// the last cell of each row, the part of the network it belongs to and
// whether it opens towards the next cell; a part that leaves the sweep joined
// to nothing further must be the whole network. nullopt when the states
// exceed maxStates.
class LeastTurnsSweep {
public:
    LeastTurnsSweep(const LevelLayout& layout, const Classes& classes)
        : m_layout(layout), m_classes(classes) {
        for (int k = kCells - 1; k >= 0; --k)
            m_piecesFrom[k] = m_piecesFrom[k + 1] + (layout.PieceAt(k) >= 0);
    }

    std::optional<int> Run(const std::vector<std::uint8_t>& from, std::size_t maxStates, int costCap) const {
        const int n = m_layout.PieceCount();
        if (n == 0) return 0;
        std::unordered_map<std::uint64_t, int> states{{0, 0}}, next;
        for (int k = 0; k < kCells; ++k) {
            next.clear();
            Advance(k, states, next, from, costCap);
            if (next.size() > maxStates) return std::nullopt;
            std::swap(states, next);
        }
        std::optional<int> best;
        for (const auto& [packed, cost] : states)
            if (Complete(packed) && (!best || cost < *best)) best = cost;
        return best.value_or(INT_MAX);
    }

    // For every piece and class, the least turns to a solved picture that
    // gives the piece that class (INT_MAX for none within costCap): the sweep
    // forwards keeping every column's states, then backwards through them.
    std::optional<std::vector<std::vector<int>>> ClassCosts(const std::vector<std::uint8_t>& from,
                                                            std::size_t maxStates, int costCap) const {
        const int n = m_layout.PieceCount();
        std::vector<std::vector<int>> costs(n);
        for (int i = 0; i < n; ++i) costs[i].assign(m_classes.members[i].size(), INT_MAX);
        if (n == 0) return costs;
        std::vector<std::unordered_map<std::uint64_t, int>> layers(kCells + 1);
        layers[0].emplace(0, 0);
        for (int k = 0; k < kCells; ++k) {
            Advance(k, layers[k], layers[k + 1], from, costCap);
            if (layers[k + 1].size() > maxStates) return std::nullopt;
        }
        // What is left to pay from each state to a solved picture.
        std::unordered_map<std::uint64_t, int> rest, earlier;
        for (const auto& [packed, cost] : layers[kCells])
            if (Complete(packed)) rest.emplace(packed, 0);
        for (int k = kCells - 1; k >= 0; --k) {
            earlier.clear();
            const int i = m_layout.PieceAt(k);
            for (const auto& [packed, cost] : layers[k]) {
                int best = INT_MAX;
                ForEachStep(k, packed, [&, cost = cost](std::uint64_t after, int cl) {
                    const auto it = rest.find(after);
                    if (it == rest.end()) return;
                    const int turns = cl < 0 ? 0 : TurnsToSet(from[i], m_classes.members[i][cl]);
                    best = std::min(best, turns + it->second);
                    if (cl >= 0) costs[i][cl] = std::min(costs[i][cl], cost + turns + it->second);
                });
                if (best != INT_MAX) earlier.emplace(packed, best);
            }
            std::swap(rest, earlier);
            layers[k + 1].clear();
        }
        return costs;
    }

private:
    static constexpr std::uint8_t kRight = 16;
    static constexpr std::uint8_t kDown = 32;
    static constexpr int kFresh = 15;

    struct Frontier {
        std::array<std::uint8_t, kRows> entry{};  // label 1..8 (0 none) | kRight | kDown
        bool closed = false;                      // the whole network is behind the sweep
    };

    static int Label(std::uint8_t entry) { return entry & 15; }

    static void Merge(Frontier& f, int from, int to) {
        if (from == to) return;
        for (std::uint8_t& e : f.entry)
            if (Label(e) == from) e = static_cast<std::uint8_t>((e & ~15) | to);
    }

    static std::uint64_t Pack(const Frontier& f) {
        std::uint64_t packed = f.closed;
        for (int r = 0; r < kRows; ++r) packed |= std::uint64_t(f.entry[r]) << (1 + 6 * r);
        return packed;
    }
    static Frontier Unpack(std::uint64_t packed) {
        Frontier f;
        f.closed = packed & 1;
        for (int r = 0; r < kRows; ++r) f.entry[r] = static_cast<std::uint8_t>(packed >> (1 + 6 * r) & 63);
        return f;
    }

    // The states after cell k, with the least turns to each, from the states before it.
    void Advance(int k, const std::unordered_map<std::uint64_t, int>& before,
                 std::unordered_map<std::uint64_t, int>& after, const std::vector<std::uint8_t>& from,
                 int costCap) const {
        const int i = m_layout.PieceAt(k);
        for (const auto& [packed, cost] : before) {
            ForEachStep(k, packed, [&, cost = cost](std::uint64_t next, int cl) {
                const int turns = cl < 0 ? cost : cost + TurnsToSet(from[i], m_classes.members[i][cl]);
                if (turns > costCap) return;
                const auto [it, inserted] = after.try_emplace(next, turns);
                if (!inserted && turns < it->second) it->second = turns;
            });
        }
    }

    // The state after cell k gets class cl (-1 for an empty cell), for every
    // class that keeps the network possible: f(next state, cl).
    template <class F>
    void ForEachStep(int k, std::uint64_t packed, F f) const {
        const int row = k % kRows;
        const int i = m_layout.PieceAt(k);
        const Frontier before = Unpack(packed);
        const bool piecesAfter = m_piecesFrom[k + 1] > 0;
        if (i < 0) {
            Frontier after = before;
            after.entry[row] = 0;
            if (Normalize(after, Label(before.entry[row]), piecesAfter)) f(Pack(after), -1);
            return;
        }
        if (before.closed) return;
        for (int cl = 0; cl < static_cast<int>(m_classes.members[i].size()); ++cl) {
            const std::uint8_t open = m_classes.useful[i][cl];
            Frontier after = before;
            const int fresh = kFresh;
            after.entry[row] =
                static_cast<std::uint8_t>(fresh | (open & 1 ? kRight : 0) | (open & 8 ? kDown : 0));
            const std::uint8_t left = before.entry[row];
            int leaving = Label(left);
            if ((left & kRight) && (open & 4)) {
                Merge(after, leaving, fresh);
                leaving = fresh;
            }
            if (row > 0 && (before.entry[row - 1] & kDown) && (open & 2)) {
                const int up = Label(after.entry[row - 1]);
                Merge(after, up, fresh);
                if (leaving == up) leaving = fresh;
            }
            if (Normalize(after, leaving, piecesAfter)) f(Pack(after), cl);
        }
    }

    // After the sweep: at most one part of the network is left.
    static bool Complete(std::uint64_t packed) {
        const Frontier f = Unpack(packed);
        int labels = 0;
        for (int r = 0; r < kRows; ++r)
            if (Label(f.entry[r]) && (labels == 0 || labels == Label(f.entry[r])))
                labels = Label(f.entry[r]);
            else if (Label(f.entry[r]))
                return false;
        return true;
    }

    // The part labelled `leaving` has just lost a cell from the sweep: its part must go on, or be
    // all there is. False when the state is dead.
    static bool Normalize(Frontier& f, int leaving, bool piecesAfter) {
        if (leaving) {
            bool goesOn = false;
            for (std::uint8_t e : f.entry) goesOn = goesOn || Label(e) == leaving;
            if (!goesOn) {
                for (std::uint8_t e : f.entry)
                    if (Label(e)) return false;  // another part is still open
                if (piecesAfter) return false;
                f.closed = true;
            }
        }
        // Labels renumbered by first appearance, so equal frontiers meet.
        std::array<int, 16> map{};
        int count = 0;
        for (std::uint8_t& e : f.entry) {
            const int l = Label(e);
            if (!l) continue;
            if (!map[l]) map[l] = ++count;
            e = static_cast<std::uint8_t>((e & ~15) | map[l]);
        }
        return true;
    }

    const LevelLayout& m_layout;
    const Classes& m_classes;
    std::array<int, kCells + 1> m_piecesFrom{};
};

}  // namespace

SolvedPictures FindSolvedPictures(const LevelLayout& layout, int maxPictures, int maxSteps, int costCap,
                                  std::size_t maxSweepStates) {
    SolvedPictures result;
    const int n = layout.PieceCount();
    const Classes classes(layout);
    const std::vector<std::uint8_t> every(n, 0xF);
    result.possible.assign(n, 0);

    PictureSearch collect(layout, classes, every, PictureSearch::Mode::Collect, maxPictures, maxSteps);
    collect.Run();
    if (collect.Finished()) {
        result.complete = true;
        result.none = collect.Found().empty();
        result.staticBound = INT_MAX;
        for (const auto& picture : collect.Found()) {
            std::vector<std::uint8_t> sets(n);
            for (int i = 0; i < n; ++i) sets[i] = classes.members[i][picture[i]];
            result.all.push_back(sets);
            int turns = 0;
            for (int i = 0; i < n; ++i) {
                result.possible[i] |= classes.members[i][picture[i]];
                turns += TurnsToSet(layout.StartOrientations()[i], classes.members[i][picture[i]]);
            }
            result.staticBound = std::min(result.staticBound, turns);
        }
        result.staticExact = !result.none;
        if (result.none) result.staticBound = 0;
        return result;
    }

    // Too many to list: every orientation may be part of one.
    result.possible.assign(n, 0xF);
    const std::optional<int> least =
        LeastTurnsSweep(layout, classes).Run(layout.StartOrientations(), maxSweepStates, costCap);
    if (least && *least == INT_MAX && costCap == INT_MAX) {
        result.none = true;
    } else if (least) {
        result.staticBound = std::min(*least, costCap);  // none nearer than the cap: at least the cap
        result.staticExact = true;
    } else {
        for (int i = 0; i < n; ++i)
            result.staticBound += TurnsToSet(layout.StartOrientations()[i], result.possible[i]);
    }
    return result;
}

namespace {

// What each ending of each piece costs: the least turns from the start to a
// solved picture in which the piece has that orientation. A solution of at
// most B presses ends in a picture at most B turns away, so the orientations
// within B are all it may end in.
class EndingCosts {
public:
    EndingCosts(const LevelLayout& layout, const SolvedPictures& pictures, int costCap,
                std::size_t maxSweepStates)
        : m_possible(pictures.possible) {
        const int n = layout.PieceCount();
        const std::vector<std::uint8_t>& start = layout.StartOrientations();
        m_cost.assign(n, {INT_MAX, INT_MAX, INT_MAX, INT_MAX});
        if (pictures.complete) {
            for (const auto& picture : pictures.all) {
                int turns = 0;
                for (int i = 0; i < n; ++i) turns += TurnsToSet(start[i], picture[i]);
                for (int i = 0; i < n; ++i)
                    for (int o = 0; o < 4; ++o)
                        if (picture[i] >> o & 1) m_cost[i][o] = std::min(m_cost[i][o], turns);
            }
            m_known = true;
            return;
        }
        const Classes classes(layout);
        const auto costs = LeastTurnsSweep(layout, classes).ClassCosts(start, maxSweepStates, costCap);
        if (!costs) return;
        for (int i = 0; i < n; ++i)
            for (int o = 0; o < 4; ++o) m_cost[i][o] = (*costs)[i][layout.Piece(i).usefulClass[o]];
        m_known = true;
    }

    // Every piece has at least one when some picture lies within the budget.
    std::vector<std::uint8_t> Within(int budget) const {
        if (!m_known) return m_possible;
        std::vector<std::uint8_t> endings(m_cost.size(), 0);
        for (std::size_t i = 0; i < m_cost.size(); ++i)
            for (int o = 0; o < 4; ++o)
                if (m_cost[i][o] <= budget) endings[i] |= static_cast<std::uint8_t>(1 << o);
        return endings;
    }

private:
    std::vector<std::uint8_t> m_possible;
    std::vector<std::array<int, 4>> m_cost;
    bool m_known = false;
};

// Distinct orientations of each piece: 1 for a cross, 2 for a straight, else 4.
std::vector<int> Periods(const LevelLayout& layout) {
    std::vector<int> period(layout.PieceCount());
    for (int i = 0; i < layout.PieceCount(); ++i) {
        const LayoutPiece& piece = layout.Piece(i);
        period[i] = piece.openings[0] == piece.openings[1]   ? 1
                    : piece.openings[0] == piece.openings[2] ? 2
                                                             : 4;
    }
    return period;
}

struct Node {
    Packed state;  // orientations, and in the spare top bits the wet network's lowest piece
    std::uint32_t parent;
    std::int16_t g;
    std::uint8_t piece;
    bool counterClockwise;
    bool goal;
};

constexpr int kNetworkShift = 40;  // piece 79 ends at bit 31 of the third word

class AStar {
public:
    // endings: the orientations each piece may end in, in a solution shorter than upperBound. knots is
    // shared by the searches of one level, which keeps what the windows worked out.
    AStar(const LevelLayout& layout, const SolvedPictures& pictures, const std::vector<std::uint8_t>& endings,
          int maxPositions, int upperBound, KnotBound& knots)
        : m_layout(layout),
          m_maxPositions(maxPositions),
          m_upper(upperBound),
          m_staticBound(pictures.staticBound),
          m_period(knots.Periods()),
          m_knots(knots) {
        m_knots.SetEndings(EndingsWithinPeriod(endings, m_period));
        if (pictures.complete) m_pictures = pictures.all;
    }

    ExactResult Run() {
        ExactResult result;
        const int n = m_layout.PieceCount();
        Node start{};
        for (int i = 0; i < n; ++i) Set2(start.state, i, m_layout.StartOrientations()[i] % m_period[i]);
        const PieceSet wet = Network(start.state, m_layout.SourcePiece());
        start.state[2] |= std::uint64_t(wet.First()) << kNetworkShift;
        start.parent = UINT32_MAX;
        Push(start, m_layout.SourcePiece());
        std::vector<std::uint8_t> orientations(n);
        while (!m_open.empty()) {
            const Open top = m_open.top();
            m_open.pop();
            const Node node = m_nodes[top.node];
            if (node.g != top.g) continue;  // reached again by a shorter way since
            result.lowerBound = top.f;
            if (node.goal) {
                result.status = SolveStatus::Solved;
                result.proved = true;
                result.moves = Path(top.node);
                break;
            }
            if (static_cast<int>(m_nodes.size()) >= m_maxPositions) {
                result.reason =
                    "the minimum is not proved within " + std::to_string(m_maxPositions) + " positions";
                result.positions = static_cast<int>(m_nodes.size());
                return result;
            }
            const int networkPiece = static_cast<int>(node.state[2] >> kNetworkShift);
            Network(node.state, networkPiece).ForEach([&](int p) {
                if (m_period[p] == 1) return;  // a cross turned is the same cross
                for (const bool ccw : {true, false}) {
                    if (!ccw && m_period[p] == 2) break;  // both ways give the same straight
                    Node child = node;
                    const int from = Get2(node.state, p);
                    Set2(child.state, p, (from + (ccw ? 1 : m_period[p] - 1)) % m_period[p]);
                    child.state[2] &= (std::uint64_t{1} << kNetworkShift) - 1;
                    const PieceSet reached = Network(child.state, p);
                    child.state[2] |= std::uint64_t(reached.First()) << kNetworkShift;
                    child.parent = top.node;
                    child.g = static_cast<std::int16_t>(node.g + 1);
                    child.piece = static_cast<std::uint8_t>(p);
                    child.counterClockwise = ccw;
                    child.goal = reached.Count() == n;
                    Push(child, p);
                }
            });
        }
        result.positions = static_cast<int>(m_nodes.size());
        if (!result.proved) {
            // Everything below the known solution was tried.
            result.lowerBound = m_upper;
            result.reason = m_upper == INT_MAX ? "every reachable position leaves a piece dry" : "";
            result.status = m_upper == INT_MAX ? SolveStatus::Impossible : SolveStatus::NotFound;
            result.proved = m_upper != INT_MAX;
        }
        return result;
    }

private:
    struct Open {
        int f;
        int g;
        std::uint32_t node;
        bool operator<(const Open& other) const {
            if (f != other.f) return f > other.f;
            if (g != other.g) return g < other.g;  // deeper first on ties
            return node < other.node;
        }
    };

    // The search keeps a straight's orientation modulo 2 and a cross's as 0.
    static std::vector<std::uint8_t> EndingsWithinPeriod(const std::vector<std::uint8_t>& endings,
                                                         const std::vector<int>& period) {
        std::vector<std::uint8_t> within(endings.size(), 0);
        for (std::size_t i = 0; i < endings.size(); ++i)
            for (int o = 0; o < 4; ++o)
                if (endings[i] >> o & 1) within[i] |= static_cast<std::uint8_t>(1 << (o % period[i]));
        return within;
    }

    int Estimate(const Packed& state, int g, int source) const {
        const int n = m_layout.PieceCount();
        int h = std::max(0, m_staticBound - g);
        h = std::max(h, m_knots.Estimate(state, source));
        if (m_pictures.empty()) return h;
        int best = INT_MAX;
        for (const auto& picture : m_pictures) {
            int turns = 0;
            for (int i = 0; i < n && turns < best; ++i) turns += TurnsToSet(Get2(state, i), picture[i]);
            best = std::min(best, turns);
        }
        return std::max(h, best);
    }

    void Push(const Node& node, int source) {
        const int f = node.g + Estimate(node.state, node.g, source);
        if (f >= m_upper) return;  // cannot beat the solution known
        const auto [it, inserted] =
            m_index.try_emplace(node.state, static_cast<std::uint32_t>(m_nodes.size()));
        if (inserted) {
            m_nodes.push_back(node);
        } else if (node.g < m_nodes[it->second].g) {
            m_nodes[it->second] = node;
        } else {
            return;
        }
        m_open.push({f, node.g, it->second});
    }

    PieceSet Network(const Packed& state, int from) const {
        PieceSet wet;
        wet.Add(from);
        int stack[128];
        int top = 0;
        stack[top++] = from;
        while (top > 0) {
            const int i = stack[--top];
            const LayoutPiece& piece = m_layout.Piece(i);
            const std::uint8_t open = piece.useful[Get2(state, i)];
            for (int d = 0; d < 4; ++d) {
                const int q = piece.neighbour[d];
                if (!(open >> d & 1) || wet.Has(q)) continue;
                if (!(m_layout.Piece(q).openings[Get2(state, q)] >> ((d + 2) % 4) & 1)) continue;
                wet.Add(q);
                stack[top++] = q;
            }
        }
        return wet;
    }

    std::vector<Move> Path(std::uint32_t index) const {
        std::vector<Move> moves;
        for (; m_nodes[index].parent != UINT32_MAX; index = m_nodes[index].parent) {
            const Node& node = m_nodes[index];
            const LayoutPiece& piece = m_layout.Piece(node.piece);
            moves.push_back(
                {node.counterClockwise ? MouseButton::Left : MouseButton::Right, piece.column, piece.row});
        }
        std::reverse(moves.begin(), moves.end());
        return moves;
    }

    const LevelLayout& m_layout;
    int m_maxPositions;
    int m_upper;
    int m_staticBound;  // from the start: a press brings no picture more than one turn nearer
    std::vector<int> m_period;
    KnotBound& m_knots;
    std::vector<std::vector<std::uint8_t>> m_pictures;
    std::vector<Node> m_nodes;
    std::unordered_map<Packed, std::uint32_t, PackedHash> m_index;
    std::priority_queue<Open> m_open;
};

}  // namespace

ExactResult SolveExact(const LevelRecord& level, const ExactOptions& options) {
    ExactResult result;
    // The quick search settles the plain cases and gives a solution to beat.
    SolverOptions quick;
    quick.maxPositions = std::min(options.maxPositions, 40000);
    SolveResult known = SolveLevel(level, quick);
    if (!options.known.empty() &&
        (known.status == SolveStatus::NotFound ||
         (known.status == SolveStatus::Solved && options.known.size() < known.moves.size()))) {
        const std::vector<Move> shortened = ShortenSolution(level, options.known);
        if (SolvesOnBoard(level, shortened)) {
            known.status = SolveStatus::Solved;
            known.moves = shortened;
        }
    }
    result.reason = known.reason;
    if (known.status == SolveStatus::NoPieces || known.status == SolveStatus::Impossible) {
        result.status = known.status;
        return result;
    }
    const LevelLayout layout(level);
    if (known.status == SolveStatus::Solved && known.moves.size() == 1 &&
        known.moves[0].button == MouseButton::Middle) {
        result.status = SolveStatus::Solved;
        result.moves = known.moves;
        result.proved = true;
        result.lowerBound = 1;
        return result;
    }
    const int upper = known.status == SolveStatus::Solved ? static_cast<int>(known.moves.size()) : INT_MAX;
    const SolvedPictures pictures = FindSolvedPictures(layout, 64, 20000, upper, options.maxSweepStates);
    result.staticBound = pictures.staticBound;
    result.staticExact = pictures.staticExact;
    if (pictures.none) {
        result.status = SolveStatus::Impossible;
        result.reason = "no orientation of the pieces joins them all";
        return result;
    }
    if (pictures.staticExact && upper == pictures.staticBound) {
        result.status = SolveStatus::Solved;
        result.moves = known.moves;
        result.proved = true;
        result.lowerBound = upper;
        return result;
    }
    // With a solution to beat, budgets rise from the least turns: each search looks only for solutions
    // within its budget, where the endings and so the bound are tightest, and a search that runs dry
    // proves the budget too small.
    ExactResult searched;
    KnotBound knots(layout, Periods(layout));
    if (upper == INT_MAX) {
        searched = AStar(layout, pictures, pictures.possible, options.maxPositions, upper, knots).Run();
    } else {
        const EndingCosts costs(layout, pictures, upper - 1, options.maxSweepStates);
        int lower = pictures.staticBound;
        int positions = 0;
        for (; lower < upper; ++lower) {
            const std::vector<std::uint8_t> endings = costs.Within(lower);
            if (std::any_of(endings.begin(), endings.end(), [](std::uint8_t e) { return e == 0; })) continue;
            ExactResult round =
                AStar(layout, pictures, endings, options.maxPositions - positions, lower + 1, knots).Run();
            positions += round.positions;
            if (round.status == SolveStatus::Solved) {
                searched = std::move(round);
                break;
            }
            if (!round.proved) {
                searched.reason = round.reason;
                break;
            }
            if (positions >= options.maxPositions) {
                ++lower;  // this budget ran dry all the same
                break;
            }
        }
        searched.positions = positions;
        if (searched.status != SolveStatus::Solved) {
            searched.status = SolveStatus::Solved;
            searched.moves = known.moves;
            searched.proved = lower >= upper;
        }
        searched.lowerBound = std::min(lower, static_cast<int>(searched.moves.size()));
    }
    searched.staticBound = result.staticBound;
    searched.staticExact = result.staticExact;
    searched.lowerBound = std::max(searched.lowerBound, pictures.staticBound);
    if (searched.moves.empty() && known.status == SolveStatus::Solved) {
        searched.moves = known.moves;
        searched.status = SolveStatus::Solved;
    }
    if (searched.status == SolveStatus::Solved && !searched.proved &&
        static_cast<int>(searched.moves.size()) <= searched.lowerBound)
        searched.proved = true;
    if (searched.status == SolveStatus::NotFound && searched.moves.empty())
        searched.reason = "no solution found within " + std::to_string(options.maxPositions) + " positions";
    if (searched.status == SolveStatus::Solved && !SolvesOnBoard(level, searched.moves)) {
        searched.status = SolveStatus::NotFound;
        searched.proved = false;
        searched.reason = "internal error: the solution found does not solve the level";
    }
    return searched;
}
