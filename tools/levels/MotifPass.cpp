#include "tools/levels/MotifPass.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <map>

#include "core/LevelFile.h"
#include "tools/levels/FloorMotifs.h"

namespace {

struct Rug {
    int c = 0, r = 0, w = 0, h = 0;  // bounding box
    std::vector<int> cells;          // cell indices
    bool rectangle = false;
};

bool IsMotifTile(std::uint8_t code) {
    for (const FloorMotif& m : kFloorMotifs) {
        const int i = (code & 7) - (m.corner & 7), j = (code >> 3) - (m.corner >> 3);
        if (i >= 0 && j >= 0 && i < m.width && j < m.height) return true;
    }
    return false;
}

bool IsTexture(std::uint8_t code) {
    return std::find(kFloorTextures.begin(), kFloorTextures.end(), code) != kFloorTextures.end();
}

// The floor cells without a piece that are not bare plate, in connected parts:
// the generator lays its rugs as rectangles kept apart by bare plate.
std::vector<Rug> FindRugs(const LevelRecord& level) {
    std::array<bool, kCells> seen{};
    std::vector<Rug> rugs;
    auto isRug = [&](int c, int r) {
        const int i = CellIndex(c, r);
        return level.PieceLayer[i] == 0 && level.FloorLayer[i] != kBareFloor;
    };
    for (int c = 1; c <= kColumns; ++c) {
        for (int r = 1; r <= kRows; ++r) {
            if (seen[CellIndex(c, r)] || !isRug(c, r)) continue;
            Rug rug;
            std::vector<std::pair<int, int>> open{{c, r}};
            seen[CellIndex(c, r)] = true;
            int minC = c, maxC = c, minR = r, maxR = r;
            while (!open.empty()) {
                const auto [oc, orow] = open.back();
                open.pop_back();
                rug.cells.push_back(CellIndex(oc, orow));
                minC = std::min(minC, oc), maxC = std::max(maxC, oc);
                minR = std::min(minR, orow), maxR = std::max(maxR, orow);
                for (const auto& [dc, dr] :
                     {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
                    const int nc = oc + dc, nr = orow + dr;
                    if (!IsOnBoard(nc, nr) || seen[CellIndex(nc, nr)] || !isRug(nc, nr)) continue;
                    seen[CellIndex(nc, nr)] = true;
                    open.emplace_back(nc, nr);
                }
            }
            rug.c = minC, rug.r = minR, rug.w = maxC - minC + 1, rug.h = maxR - minR + 1;
            rug.rectangle = static_cast<int>(rug.cells.size()) == rug.w * rug.h;
            rugs.push_back(std::move(rug));
        }
    }
    return rugs;
}

bool Fits(const FloorMotif& m, const Rug& rug) {
    return rug.rectangle && rug.w >= m.width + 2 && rug.h >= m.height + 2;
}

// The texture a rug shows round its pictures; one not used elsewhere on the
// board when the rug holds nothing else.
std::uint8_t RugTexture(const LevelRecord& level, const Rug& rug) {
    std::map<std::uint8_t, int> counts;
    for (int i : rug.cells)
        if (IsTexture(level.FloorLayer[i])) ++counts[level.FloorLayer[i]];
    if (!counts.empty())
        return std::max_element(counts.begin(), counts.end(),
                                [](const auto& a, const auto& b) { return a.second < b.second; })
            ->first;
    for (std::uint8_t code : kFloorTextures)
        if (std::find(level.FloorLayer.begin(), level.FloorLayer.end(), code) == level.FloorLayer.end())
            return code;
    return kFloorTextures[0];
}

bool HasMotif(const LevelRecord& level) {
    for (int i = 0; i < kCells; ++i)
        if (level.PieceLayer[i] == 0 && IsMotifTile(level.FloorLayer[i])) return true;
    return false;
}

}  // namespace

MotifPassReport ThinFloorMotifs(std::vector<LevelRecord>& levels) {
    MotifPassReport report;
    report.kinds.assign(kFloorMotifs.size(), 0);
    std::vector<int> lastShown(kFloorMotifs.size(), -1000000);
    int lastBoard = -1000000;
    for (std::size_t n = 0; n < levels.size(); ++n) {
        LevelRecord& level = levels[n];
        const int number = static_cast<int>(n) + 1;
        report.before += HasMotif(level) ? 1 : 0;
        std::vector<Rug> rugs = FindRugs(level);

        // Every picture goes first; its rug keeps its own texture.
        for (const Rug& rug : rugs) {
            const std::uint8_t texture = RugTexture(level, rug);
            for (int i : rug.cells)
                if (IsMotifTile(level.FloorLayer[i])) level.FloorLayer[i] = texture;
        }

        // Then one picture, on the largest rug that has room for a ring round
        // it, the kind seen longest ago first.
        if (number - lastBoard < kMotifSpacing) continue;
        const Rug* best = nullptr;
        for (const Rug& rug : rugs)
            if (std::any_of(kFloorMotifs.begin(), kFloorMotifs.end(),
                            [&](const FloorMotif& m) { return Fits(m, rug); }) &&
                (!best || rug.cells.size() > best->cells.size()))
                best = &rug;
        if (!best) continue;
        std::size_t kind = kFloorMotifs.size();
        for (std::size_t k = 0; k < kFloorMotifs.size(); ++k)
            if (Fits(kFloorMotifs[k], *best) &&
                (kind == kFloorMotifs.size() || lastShown[k] < lastShown[kind]))
                kind = k;
        const FloorMotif& m = kFloorMotifs[kind];
        for (int i : best->cells) level.FloorLayer[i] = m.ground;
        const int left = best->c + (best->w - m.width) / 2, top = best->r + (best->h - m.height) / 2;
        for (int i = 0; i < m.width; ++i)
            for (int j = 0; j < m.height; ++j)
                level.FloorLayer[CellIndex(left + i, top + j)] =
                    static_cast<std::uint8_t>(m.corner + i + 8 * j);
        lastShown[kind] = number;
        lastBoard = number;
        ++report.boards;
        ++report.kinds[kind];
        if (number <= 100) ++report.boardsFirstHundred;
    }
    return report;
}

int RunMotifPass(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 4 || args[2] != "-o") {
        err << "usage: aquendo-levels floors IN -o OUT\n";
        return 2;
    }
    std::ifstream in(args[1], std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.is_open() || bytes.size() < LevelRecord::kSize) {
        err << "aquendo-levels: cannot read a level from " << args[1] << "\n";
        return 2;
    }
    const std::size_t count =
        std::min<std::size_t>(bytes.size() / LevelRecord::kSize, LevelCatalogue::kMaxLevels);
    std::vector<LevelRecord> levels;
    for (std::size_t i = 0; i < count; ++i)
        levels.push_back(LevelRecord::FromBytes(std::span<const std::uint8_t, LevelRecord::kSize>(
            bytes.data() + i * LevelRecord::kSize, LevelRecord::kSize)));
    const MotifPassReport report = ThinFloorMotifs(levels);
    for (std::size_t i = 0; i < count; ++i)
        levels[i].ToBytes(std::span<std::uint8_t, LevelRecord::kSize>(bytes.data() + i * LevelRecord::kSize,
                                                                      LevelRecord::kSize));
    std::ofstream file(args[3], std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) {
        err << "aquendo-levels: cannot write " << args[3] << "\n";
        return 2;
    }
    out << "boards with a picture: " << report.before << " before, " << report.boards << " after ("
        << report.boardsFirstHundred << " of levels 1-100); by kind:";
    for (int k : report.kinds) out << " " << k;
    out << "\n";
    return 0;
}
