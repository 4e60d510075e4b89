#include "tools/levels/Scrambler.h"

#include "tools/levels/LevelLayout.h"

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
