#include "tools/levels/Network.h"

#include <bit>
#include <vector>

#include "tools/levels/LevelLayout.h"

namespace {

constexpr int kStepColumn[4] = {1, 0, -1, 0};
constexpr int kStepRow[4] = {0, -1, 0, 1};

int NeighbourCell(int cell, int d) {
    const int c = cell / kRows + 1 + kStepColumn[d];
    const int r = cell % kRows + 1 + kStepRow[d];
    return IsOnBoard(c, r) ? CellIndex(c, r) : -1;
}

}  // namespace

std::uint8_t CodeForOpenings(int mask) {
    for (int type = 1; type <= 5; ++type)
        for (int o = 0; o < 4; ++o)
            if (OpeningMask(PieceCode(type, o)) == mask) return PieceCode(type, o);
    return 0;
}

std::optional<CellLayer> BuildNetwork(const NetworkShape& shape, Rng& rng) {
    std::array<int, kCells> links{};
    std::array<bool, kCells> used{};
    std::vector<int> cells;
    // Start away from the rim, so the network can spread every way.
    const int first = CellIndex(3 + rng.Below(kColumns - 4), 2 + rng.Below(kRows - 2));
    used[first] = true;
    cells.push_back(first);

    struct Choice {
        int cell;
        int d;
        double weight;
    };
    std::vector<Choice> choices;
    while (static_cast<int>(cells.size()) < shape.pieces) {
        choices.clear();
        double total = 0;
        for (int cell : cells) {
            const int degree = std::popcount(static_cast<unsigned>(links[cell]));
            for (int d = 0; d < 4; ++d) {
                const int next = NeighbourCell(cell, d);
                if (next < 0 || used[next]) continue;
                double weight = 0;
                switch (degree) {
                    case 0:
                        weight = 1;
                        break;
                    case 1:
                        weight = (links[cell] >> ((d + 2) % 4) & 1) ? shape.straightWeight : 1.0;
                        break;
                    case 2:
                        weight = shape.teeWeight;
                        break;
                    case 3:
                        weight = shape.crossWeight;
                        break;
                }
                if (weight <= 0) continue;
                choices.push_back({cell, d, weight});
                total += weight;
            }
        }
        if (choices.empty()) return std::nullopt;
        double pick = rng.Unit() * total;
        const Choice* chosen = &choices.back();
        for (const Choice& choice : choices) {
            if ((pick -= choice.weight) < 0) {
                chosen = &choice;
                break;
            }
        }
        const int next = NeighbourCell(chosen->cell, chosen->d);
        links[chosen->cell] |= 1 << chosen->d;
        links[next] |= 1 << ((chosen->d + 2) % 4);
        used[next] = true;
        cells.push_back(next);
    }

    const int maxDegree = shape.crossWeight > 0 ? 4 : 3;
    for (int tries = 0, added = 0; added < shape.loops && tries < 50; ++tries) {
        const int cell = cells[rng.Below(static_cast<int>(cells.size()))];
        const int d = rng.Below(4);
        const int next = NeighbourCell(cell, d);
        if (next < 0 || !used[next] || (links[cell] >> d & 1)) continue;
        if (std::popcount(static_cast<unsigned>(links[cell])) >= maxDegree ||
            std::popcount(static_cast<unsigned>(links[next])) >= maxDegree)
            continue;
        links[cell] |= 1 << d;
        links[next] |= 1 << ((d + 2) % 4);
        ++added;
    }

    CellLayer layer{};
    for (int cell : cells) layer[cell] = CodeForOpenings(links[cell]);
    return layer;
}
