#include <gtest/gtest.h>

#include "core/LevelFile.h"
#include "tools/levels/FloorMotifs.h"
#include "tools/levels/MotifPass.h"

namespace {

// The picture whose top-left tile lies on (c, r), if one does.
const FloorMotif* MotifAt(const CellLayer& floor, int c, int r) {
    for (const FloorMotif& m : kFloorMotifs)
        if (floor[CellIndex(c, r)] == m.corner) return &m;
    return nullptr;
}

bool IsMotifTile(std::uint8_t code) {
    for (const FloorMotif& m : kFloorMotifs)
        for (int i = 0; i < m.width; ++i)
            for (int j = 0; j < m.height; ++j)
                if (code == m.corner + i + 8 * j) return true;
    return false;
}

// The shipped set through the pass: few pictures, one at most to a board,
// each whole and ringed by its own ground; everything else as it was, and a
// second pass changes nothing.
TEST(MotifPassTest, ShippedLevelsGetFewWholeRingedPictures) {
    const LevelFileReport report = ReadLevelFile(std::string(AQUENDO_SOURCE_DIR) + "/levels/aqnd.dat");
    ASSERT_EQ(report.status, LevelFileStatus::Read);
    std::vector<LevelRecord> levels;
    for (int n = 1; n <= report.catalogue.LevelCount(); ++n) levels.push_back(report.catalogue.Level(n));
    const std::vector<LevelRecord> before = levels;
    const MotifPassReport figures = ThinFloorMotifs(levels);
    EXPECT_LE(figures.boardsFirstHundred * kMotifSpacing, 100 + kMotifSpacing);
    EXPECT_LE(figures.boards * kMotifSpacing, static_cast<int>(levels.size()) + kMotifSpacing);

    int lastBoard = -kMotifSpacing;
    std::vector<int> kinds(kFloorMotifs.size(), 0);
    for (std::size_t n = 0; n < levels.size(); ++n) {
        const LevelRecord& level = levels[n];
        SCOPED_TRACE(n + 1);
        EXPECT_EQ(level.PieceLayer, before[n].PieceLayer);
        EXPECT_EQ(level.SourceColumn, before[n].SourceColumn);
        EXPECT_EQ(level.SourceRow, before[n].SourceRow);
        int tiles = 0, pictures = 0, pictureTiles = 0;
        for (int c = 1; c <= kColumns; ++c) {
            for (int r = 1; r <= kRows; ++r) {
                const int i = CellIndex(c, r);
                EXPECT_EQ(level.FloorLayer[i] == kBareFloor, before[n].FloorLayer[i] == kBareFloor);
                tiles += IsMotifTile(level.FloorLayer[i]) ? 1 : 0;
                const FloorMotif* m = MotifAt(level.FloorLayer, c, r);
                if (!m) continue;
                ++pictures;
                pictureTiles += m->width * m->height;
                ++kinds[static_cast<std::size_t>(m - kFloorMotifs.data())];
                for (int x = -1; x <= m->width; ++x) {
                    for (int y = -1; y <= m->height; ++y) {
                        ASSERT_TRUE(IsOnBoard(c + x, r + y)) << "no ring at (" << c << "," << r << ")";
                        const bool inside = x >= 0 && y >= 0 && x < m->width && y < m->height;
                        EXPECT_EQ(level.FloorLayer[CellIndex(c + x, r + y)],
                                  inside ? m->corner + x + 8 * y : m->ground);
                    }
                }
            }
        }
        EXPECT_LE(pictures, 1);
        EXPECT_EQ(tiles, pictureTiles) << "no stray picture tile";
        if (pictures == 0) continue;
        EXPECT_GE(static_cast<int>(n) + 1 - lastBoard, kMotifSpacing);
        lastBoard = static_cast<int>(n) + 1;
    }
    EXPECT_EQ(kinds, figures.kinds);

    std::vector<LevelRecord> again = levels;
    ThinFloorMotifs(again);
    EXPECT_EQ(again, levels);
}

// A rug just the size of its picture leaves no ground round it: the picture
// goes and the rug shows a texture instead.
TEST(MotifPassTest, PictureWithoutRoomForItsGroundGoes) {
    std::vector<LevelRecord> levels(1);
    LevelRecord& level = levels[0];
    level.FloorLayer.fill(kBareFloor);
    level.PieceLayer[CellIndex(10, 8)] = 1;
    const FloorMotif& gear = kFloorMotifs[3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            level.FloorLayer[CellIndex(2 + i, 2 + j)] = static_cast<std::uint8_t>(gear.corner + i + 8 * j);
    ThinFloorMotifs(levels);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const std::uint8_t code = level.FloorLayer[CellIndex(2 + i, 2 + j)];
            EXPECT_FALSE(IsMotifTile(code)) << i << "," << j;
            EXPECT_NE(code, kBareFloor);
            EXPECT_EQ(code, level.FloorLayer[CellIndex(2, 2)]) << "one texture";
        }
    }
}

}  // namespace
