#include "tools/levels/Scrambler.h"

#include "tools/levels/LevelLayout.h"

#include <array>
#include <bit>

namespace {

// Whether piece q, turned to some other orientation, would still meet a
// neighbour that faces it: only then can the walk go on from q.
bool CanGoOn(const LevelLayout& layout, const std::vector<std::uint8_t>& orientations, int q) {
    const LayoutPiece& piece = layout.Piece(q);
    for (int o = 0; o < 4; ++o) {
        if (piece.usefulClass[o] == piece.usefulClass[orientations[q]]) continue;
        for (int d = 0; d < 4; ++d) {
            const int other = piece.neighbour[d];
            if (other < 0 || !(piece.useful[o] >> d & 1)) continue;
            if (layout.Piece(other).openings[orientations[other]] >> ((d + 2) % 4) & 1) return true;
        }
    }
    return false;
}

struct Step {
    int orientation;
    int next;  // -1: the walk may end here only
    double weight;
};

}  // namespace

Scrambled Scramble(const LevelRecord& solved, const ScrambleOptions& options, Rng& rng) {
    const LevelLayout layout(solved);
    const int n = layout.PieceCount();
    const std::vector<std::uint8_t>& target = layout.StartOrientations();
    std::vector<std::uint8_t> orientations = target;
    auto outOfPlace = [&](int i) {
        const LayoutPiece& piece = layout.Piece(i);
        return piece.usefulClass[orientations[i]] != piece.usefulClass[target[i]];
    };

    std::vector<int> turnable;
    for (int i = 0; i < n; ++i)
        if (layout.Piece(i).classes > 1) turnable.push_back(i);
    Scrambled result;
    result.level = solved;
    if (turnable.empty()) return result;

    // The walk starts from a piece it can go on from, when there is one.
    std::vector<int> starts;
    for (int i : turnable)
        if (CanGoOn(layout, orientations, i)) starts.push_back(i);
    if (starts.empty()) starts = turnable;
    Board board = layout.MakeBoard(orientations, starts[rng.Below(static_cast<int>(starts.size()))]);
    int current = layout.PieceAt(CellIndex(board.SourceColumn, board.SourceRow));
    std::vector<Move> backwards;
    std::vector<Step> steps;
    int wrong = 0;
    int revisits = 0;
    int source = current;
    for (int step = 0; step < options.maxSteps; ++step) {
        const LayoutPiece& piece = layout.Piece(current);
        const int now = orientations[current];
        steps.clear();
        double total = 0;
        for (int o = 0; o < 4; ++o) {
            if (piece.usefulClass[o] == piece.usefulClass[now]) continue;
            layout.Turn(board, current, now, o);
            board.SourceColumn = piece.column;
            board.SourceRow = piece.row;
            ComputeWater(board);
            bool any = false;
            for (int q : turnable) {
                if (q == current || !board.WetMap[layout.Piece(q).cell]) continue;
                // Without revisits every piece is turned once, straight back into place. Past their
                // limit a walk with nowhere new to go ends rather than turn the same pieces over and over.
                if ((options.revisit <= 0 || revisits >= options.maxRevisits) && outOfPlace(q)) continue;
                double weight = outOfPlace(q) ? options.revisit : 1.0;
                if (TurnDistance(now, o) == 2) weight *= options.halfTurn;
                // A piece the walk cannot leave again ends it; fine once enough is out of place.
                if (!CanGoOn(layout, orientations, q)) weight *= options.deadEnd;
                steps.push_back({o, q, weight});
                total += weight;
                any = true;
            }
            if (!any) steps.push_back({o, -1, 0.0});
            layout.Turn(board, current, o, now);
        }
        if (steps.empty()) break;

        const Step* chosen = nullptr;
        if (total > 0) {
            double pick = rng.Unit() * total;
            for (const Step& s : steps) {
                if (s.weight <= 0) continue;
                chosen = &s;
                if ((pick -= s.weight) < 0) break;
            }
        } else {
            chosen = &steps[rng.Below(static_cast<int>(steps.size()))];
        }

        // Forward, this press turns the piece from the chosen orientation back to now.
        const int forward = ((now - chosen->orientation) % 4 + 4) % 4;
        const Move press{forward == 3 ? MouseButton::Right : MouseButton::Left, piece.column, piece.row};
        for (int i = 0; i < (forward == 2 ? 2 : 1); ++i) backwards.push_back(press);
        const bool wasWrong = outOfPlace(current);
        if (chosen->next >= 0 && outOfPlace(chosen->next)) ++revisits;
        orientations[current] = static_cast<std::uint8_t>(chosen->orientation);
        layout.Turn(board, current, now, chosen->orientation);
        wrong += static_cast<int>(outOfPlace(current)) - static_cast<int>(wasWrong);

        if (chosen->next < 0 || wrong >= options.wrongPieces || step + 1 == options.maxSteps) {
            // The level starts wet from any piece of the current piece's network.
            board.SourceColumn = piece.column;
            board.SourceRow = piece.row;
            ComputeWater(board);
            std::vector<int> wet;
            for (int i = 0; i < n; ++i)
                if (board.WetMap[layout.Piece(i).cell]) wet.push_back(i);
            source = wet[rng.Below(static_cast<int>(wet.size()))];
            break;
        }
        current = chosen->next;
    }

    for (int i = 0; i < n; ++i)
        result.level.PieceLayer[layout.Piece(i).cell] = PieceCode(layout.Piece(i).type, orientations[i]);
    result.level.SourceColumn = static_cast<std::uint8_t>(layout.Piece(source).column);
    result.level.SourceRow = static_cast<std::uint8_t>(layout.Piece(source).row);
    result.solution.assign(backwards.rbegin(), backwards.rend());
    result.wrongPieces = wrong;
    return result;
}

namespace {

bool Carries(const LayoutPiece& piece) {
    const int links = std::popcount(piece.openings[0]);
    return links == 3 || (links == 2 && piece.openings[0] != 0b0101 && piece.openings[0] != 0b1010);
}

// Of the orientations of piece in target's class, the one nearest `from`.
int NearestInClass(const LayoutPiece& piece, int from, int target) {
    int best = target;
    for (int o = 0; o < 4; ++o)
        if (piece.usefulClass[o] == piece.usefulClass[target] &&
            TurnDistance(from, o) < TurnDistance(from, best))
            best = o;
    return best;
}

// Plays the level forward from source: each time the wet piece out of place
// whose press leaves the most pieces out of place wet; where none is wet, up
// to `knots` times a piece in place turned away. The presses, and the pieces
// it could not reach left out of place in `orientations`.
std::vector<Move> PlayForward(const LevelLayout& layout, std::vector<std::uint8_t>& orientations,
                              const std::vector<std::uint8_t>& target, int source, int knots, Rng& rng) {
    auto outOfPlace = [&](int i) {
        return layout.Piece(i).usefulClass[orientations[i]] != layout.Piece(i).usefulClass[target[i]];
    };
    Board board = layout.MakeBoard(orientations, source);
    // Piece x turned from `from` to `to`, the source, its water computed.
    auto turn = [&](int x, int from, int to) {
        layout.Turn(board, x, from, to);
        orientations[x] = static_cast<std::uint8_t>(to);
        board.SourceColumn = layout.Piece(x).column;
        board.SourceRow = layout.Piece(x).row;
        ComputeWater(board);
    };
    std::vector<Move> moves;
    for (;;) {
        const PieceSet wet = layout.WetPieces(board);
        int chosen = -1;
        double best = -1e9;
        wet.ForEach([&](int x) {
            if (!outOfPlace(x)) return;
            const LayoutPiece& piece = layout.Piece(x);
            const int from = orientations[x];
            const int to = NearestInClass(piece, from, target[x]);
            turn(x, from, to);
            // Out of place and wet, less ten for each that the press leaves dry: an end faced
            // by a piece out of place is pressed before that piece.
            const PieceSet after = layout.WetPieces(board);
            int open = 0;
            after.ForEach([&](int y) { open += static_cast<int>(outOfPlace(y)); });
            wet.ForEach(
                [&](int y) { open -= 10 * static_cast<int>(y != x && outOfPlace(y) && !after.Has(y)); });
            layout.Turn(board, x, to, from);
            orientations[x] = static_cast<std::uint8_t>(from);
            const double score = open + rng.Unit();
            if (score > best) {
                best = score;
                chosen = x;
            }
        });
        int to =
            chosen >= 0 ? NearestInClass(layout.Piece(chosen), orientations[chosen], target[chosen]) : -1;
        // Stuck: a piece in place turned away a quarter, when that wets a piece out of place (a knot:
        // it is turned back later).
        if (chosen < 0 && knots > 0) {
            int bestOpen = 0;
            wet.ForEach([&](int x) {
                const LayoutPiece& piece = layout.Piece(x);
                const int from = orientations[x];
                if (piece.classes < 2) return;
                for (int o : {(from + 1) % 4, (from + 3) % 4}) {
                    if (piece.usefulClass[o] == piece.usefulClass[from]) continue;
                    turn(x, from, o);
                    int open = 0;
                    layout.WetPieces(board).ForEach(
                        [&](int y) { open += static_cast<int>(y != x && outOfPlace(y)); });
                    layout.Turn(board, x, o, from);
                    orientations[x] = static_cast<std::uint8_t>(from);
                    if (open > bestOpen || (open == bestOpen && open > 0 && rng.Below(2))) {
                        bestOpen = open;
                        chosen = x;
                        to = o;
                    }
                }
            });
            if (chosen >= 0) --knots;
        }
        if (chosen < 0) break;
        const LayoutPiece& piece = layout.Piece(chosen);
        const int from = orientations[chosen];
        const int forward = ((to - from) % 4 + 4) % 4;
        const Move press{forward == 3 ? MouseButton::Right : MouseButton::Left, piece.column, piece.row};
        for (int k = 0; k < (forward == 2 ? 2 : 1); ++k) moves.push_back(press);
        turn(chosen, from, to);
    }
    return moves;
}

}  // namespace

Scrambled ScrambleInPairs(const LevelRecord& solved, const ScrambleOptions& options, Rng& rng) {
    const LevelLayout layout(solved);
    const int n = layout.PieceCount();
    const std::vector<std::uint8_t>& target = layout.StartOrientations();
    std::vector<std::uint8_t> start = target;
    Scrambled result;
    result.level = solved;
    if (n == 0) return result;

    // The source is a tee or corner: an end's one link may be carried away, which leaves it dry.
    std::vector<int> carriers;
    for (int i = 0; i < n; ++i)
        if (Carries(layout.Piece(i)) && layout.Piece(i).classes > 1) carriers.push_back(i);
    const int source =
        carriers.empty() ? rng.Below(n) : carriers[rng.Below(static_cast<int>(carriers.size()))];
    // The water comes from the source along the solved network: each piece is reached from its
    // parent, and a carrier out of place keeps the opening towards it.
    std::vector<int> parent(n, -1);
    std::vector<int> order{source};
    std::vector<bool> seen(n, false);
    seen[source] = true;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const LayoutPiece& piece = layout.Piece(order[k]);
        for (int d = 0; d < 4; ++d) {
            const int m = piece.neighbour[d];
            if (m < 0 || seen[m] || !(piece.useful[target[order[k]]] >> d & 1)) continue;
            seen[m] = true;
            parent[m] = order[k];
            order.push_back(m);
        }
    }
    auto below = [&](int q, int p) {  // p lies in q's subtree
        for (; p >= 0; p = parent[p])
            if (p == q) return true;
        return false;
    };
    auto toward = [&](int i, int j) {
        for (int d = 0; d < 4; ++d)
            if (layout.Piece(i).neighbour[d] == j) return d;
        return -1;
    };
    // An end or straight can be carried by q when its own parent is reached without q.
    auto carriable = [&](int q, int e) {
        return e >= 0 && e != source && start[e] == target[e] && !Carries(layout.Piece(e)) &&
               layout.Piece(e).classes > 1 && parent[e] >= 0 && !below(q, parent[e]);
    };

    // Knots: an end or straight faces a tee or corner that is in place, and holds water only once that
    // piece is turned away a quarter (and back after it).
    std::vector<int> ends;
    for (int i = 0; i < n; ++i)
        if (!Carries(layout.Piece(i))) ends.push_back(i);
    for (int k = static_cast<int>(ends.size()) - 1; k > 0; --k) std::swap(ends[k], ends[rng.Below(k + 1)]);
    int knots = options.knots;
    std::vector<bool> kept(n, false);  // in place for a knot
    for (int e : ends) {
        if (knots == 0) break;
        if (e == source || start[e] != target[e] || layout.Piece(e).classes < 2 || parent[e] < 0) continue;
        const LayoutPiece& other = layout.Piece(e);
        for (int d = 0; d < 4; ++d) {
            const int q = other.neighbour[d];
            if (q < 0 || q == parent[e] || !Carries(layout.Piece(q)) || start[q] != target[q] ||
                below(q, parent[e]))
                continue;
            const LayoutPiece& piece = layout.Piece(q);
            const int in = parent[q] >= 0 ? toward(q, parent[q]) : -1;
            bool away = false;
            for (int o : {(target[q] + 1) % 4, (target[q] + 3) % 4})
                away = away || (piece.usefulClass[o] != piece.usefulClass[target[q]] &&
                                (in < 0 || (piece.openings[o] >> in & 1)) &&
                                (piece.openings[o] >> ((d + 2) % 4) & 1));
            int facing = -1;
            for (int f = 0; f < 4; ++f)
                if ((other.openings[f] >> d & 1) && other.usefulClass[f] != other.usefulClass[target[e]])
                    facing = f;
            if (!away || facing < 0) continue;
            start[e] = static_cast<std::uint8_t>(facing);
            kept[q] = true;
            --knots;
            break;
        }
    }

    for (int k = static_cast<int>(carriers.size()) - 1; k > 0; --k)
        std::swap(carriers[k], carriers[rng.Below(k + 1)]);
    int wrong = 0;
    for (int q : carriers) {
        if (wrong >= options.wrongPieces) break;
        if (kept[q]) continue;
        const LayoutPiece& piece = layout.Piece(q);
        const int now = target[q];
        const int in = parent[q] >= 0 ? toward(q, parent[q]) : -1;
        struct Choice {
            int orientation;
            double weight;
        };
        std::array<Choice, 4> choices{};
        int count = 0;
        double total = 0;
        for (int o = 0; o < 4; ++o) {
            if (piece.usefulClass[o] == piece.usefulClass[now]) continue;
            if (in >= 0 && !(piece.openings[o] >> in & 1)) continue;
            double weight = TurnDistance(now, o) == 2 ? options.halfTurn : 1.0;
            const int gained = piece.useful[o] & ~piece.useful[now];
            for (int d = 0; d < 4; ++d)
                if ((gained >> d & 1) && carriable(q, piece.neighbour[d])) weight *= 4;
            if (weight <= 0) continue;
            choices[count++] = {o, weight};
            total += weight;
        }
        if (count == 0) continue;
        double pick = rng.Unit() * total;
        int o = choices[count - 1].orientation;
        for (int k = 0; k < count; ++k)
            if ((pick -= choices[k].weight) < 0) {
                o = choices[k].orientation;
                break;
            }
        start[q] = static_cast<std::uint8_t>(o);
        ++wrong;
        const int gained = piece.useful[o] & ~piece.useful[now];
        for (int d = 0; d < 4 && wrong < options.wrongPieces; ++d) {
            const int e = piece.neighbour[d];
            if (!(gained >> d & 1) || !carriable(q, e)) continue;
            const LayoutPiece& other = layout.Piece(e);
            for (int f = 0; f < 4; ++f) {
                if (!(other.openings[f] >> ((d + 2) % 4) & 1) ||
                    other.usefulClass[f] == other.usefulClass[target[e]])
                    continue;
                start[e] = static_cast<std::uint8_t>(f);
                ++wrong;
                break;
            }
        }
    }

    // Played forward in the game; whatever that cannot reach goes back in place.
    auto sameClass = [&](int i, int a, int b) {
        return layout.Piece(i).usefulClass[a] == layout.Piece(i).usefulClass[b];
    };
    std::vector<Move> moves;
    for (int knotsLeft = options.knots;;) {
        std::vector<std::uint8_t> orientations = start;
        moves = PlayForward(layout, orientations, target, source, knotsLeft, rng);
        bool all = true;
        bool changed = false;
        for (int i = 0; i < n; ++i) {
            if (sameClass(i, orientations[i], target[i])) continue;
            all = false;
            changed = changed || !sameClass(i, start[i], target[i]);
            start[i] = target[i];
        }
        if (all) break;
        // Only pieces turned away for a knot were left out: the next run turns none away.
        if (!changed) knotsLeft = 0;
    }
    result.wrongPieces = 0;
    for (int i = 0; i < n; ++i) {
        result.level.PieceLayer[layout.Piece(i).cell] = PieceCode(layout.Piece(i).type, start[i]);
        result.wrongPieces += static_cast<int>(!sameClass(i, start[i], target[i]));
    }
    result.level.SourceColumn = static_cast<std::uint8_t>(layout.Piece(source).column);
    result.level.SourceRow = static_cast<std::uint8_t>(layout.Piece(source).row);
    result.solution = std::move(moves);
    return result;
}
