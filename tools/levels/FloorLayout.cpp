#include "tools/levels/FloorLayout.h"

#include <algorithm>
#include <vector>

#include "core/LevelRecord.h"
#include "tools/levels/FloorMotifs.h"

namespace {

constexpr int kMaxRugs = 4;
constexpr int kMaxRugWidth = 6;
constexpr int kMaxRugHeight = 5;

struct Rect {
    int c, r, w, h;  // top-left cell and size
    int Area() const { return w * h; }
};

// The free rectangles of the largest area (sides at least 2), capped in size.
std::vector<Rect> LargestFree(const std::array<bool, kCells>& free) {
    std::vector<Rect> best;
    int bestArea = 3;
    for (int c = 1; c <= kColumns; ++c) {
        for (int r = 1; r <= kRows; ++r) {
            for (int w = 2; w <= kMaxRugWidth && c + w - 1 <= kColumns; ++w) {
                for (int h = 2; h <= kMaxRugHeight && r + h - 1 <= kRows; ++h) {
                    bool ok = true;
                    for (int i = 0; i < w && ok; ++i)
                        for (int j = 0; j < h && ok; ++j) ok = free[CellIndex(c + i, r + j)];
                    if (!ok) break;
                    const Rect rect{c, r, w, h};
                    if (rect.Area() > bestArea) {
                        bestArea = rect.Area();
                        best.clear();
                    }
                    if (rect.Area() == bestArea) best.push_back(rect);
                }
            }
        }
    }
    return best;
}

// The biggest motif that fits the rug, if any, one not yet laid in this
// level if there is such; ties picked at random.
const FloorMotif* MotifFor(const Rect& rug, std::vector<const FloorMotif*>& laid, Rng& rng) {
    std::vector<const FloorMotif*> fitting;
    int best = 0;
    for (const FloorMotif& motif : kFloorMotifs) {
        if (motif.width > rug.w || motif.height > rug.h) continue;
        const bool fresh = std::find(laid.begin(), laid.end(), &motif) == laid.end();
        // Size first, then freshness.
        const int score = 2 * motif.width * motif.height + (fresh ? 1 : 0);
        if (score > best) {
            best = score;
            fitting.clear();
        }
        if (score == best) fitting.push_back(&motif);
    }
    if (fitting.empty()) return nullptr;
    const FloorMotif* chosen = fitting[rng.Below(static_cast<int>(fitting.size()))];
    laid.push_back(chosen);
    return chosen;
}

}  // namespace

CellLayer LayFloor(const CellLayer& pieces, Rng& rng) {
    CellLayer floor;
    floor.fill(kBareFloor);
    std::array<bool, kCells> free{};
    for (int i = 0; i < kCells; ++i) free[i] = pieces[i] == 0;

    std::vector<std::uint8_t> textures(kFloorTextures.begin(), kFloorTextures.end());
    std::vector<const FloorMotif*> laid;
    for (int rug = 0; rug < kMaxRugs; ++rug) {
        const std::vector<Rect> candidates = LargestFree(free);
        if (candidates.empty()) break;
        const Rect r = candidates[rng.Below(static_cast<int>(candidates.size()))];
        // A different texture for every rug of the level.
        const int t = rng.Below(static_cast<int>(textures.size()));
        const std::uint8_t texture = textures[t];
        textures.erase(textures.begin() + t);
        for (int i = 0; i < r.w; ++i)
            for (int j = 0; j < r.h; ++j) floor[CellIndex(r.c + i, r.r + j)] = texture;

        if (const FloorMotif* motif = MotifFor(r, laid, rng)) {
            // Centred; an odd spare cell goes to either side.
            const int spareW = r.w - motif->width;
            const int spareH = r.h - motif->height;
            const int mc = r.c + spareW / 2 + (spareW % 2 ? rng.Below(2) : 0);
            const int mr = r.r + spareH / 2 + (spareH % 2 ? rng.Below(2) : 0);
            for (int i = 0; i < motif->width; ++i)
                for (int j = 0; j < motif->height; ++j)
                    floor[CellIndex(mc + i, mr + j)] = static_cast<std::uint8_t>(motif->corner + i + 8 * j);
        }
        // The rug and a one-cell margin of bare plate around it are taken.
        for (int c = std::max(1, r.c - 1); c <= std::min(kColumns, r.c + r.w); ++c)
            for (int row = std::max(1, r.r - 1); row <= std::min(kRows, r.r + r.h); ++row)
                free[CellIndex(c, row)] = false;
    }
    return floor;
}
