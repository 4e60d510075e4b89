#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tools/mediagen/Canvas.h"

// The six pictures of the game, drawn from a seed.

// Five piece types by row, twelve turn frames by column, 36 x 36 each.
Canvas DrawPieceSheet(std::uint32_t seed);
// 8 x 8 floor tiles of 36 x 36; see media/floor-motifs.txt for the larger pictures.
Canvas DrawFloorSheet(std::uint32_t seed);
// Water levels 0..5, the mask and a red disc, 12 x 12 each.
Canvas DrawWaterStrip();
Canvas DrawBackground(std::uint32_t seed);

struct PalettedPicture {
    int width = 0;
    int height = 0;
    std::array<std::uint32_t, 256> palette{};  // 0xRRGGBB
    std::vector<std::uint8_t> indices;         // rows top-down
};
PalettedPicture DrawLevelDigits();
PalettedPicture DrawTimeDigits();

// The blob of water in the middle of a piece: a 12 x 12 square whose disc the
// mask blackens and the water tiles paint. Pieces draw their empty mouth with
// the same pixels, so a drained blob looks like a dry piece.
inline constexpr int kBlobSize = 12;
bool InWaterDisc(int x, int y);
Rgb EmptyMouth(int x, int y);
