#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/Geometry.h"
#include "tools/mediagen/Canvas.h"

// The six pictures of the game, drawn from a seed.

// Each picture at scale s is the same layout with every coordinate times s
// (s = 2: cells of 72 pixels), drawn at that resolution.

// Five piece types by row, twelve turn frames by column, 36 x 36 each.
Canvas DrawPieceSheet(std::uint32_t seed, int scale = 1);
// 8 x 8 floor tiles of 36 x 36; tools/levels/FloorMotifs.h says which is which.
Canvas DrawFloorSheet(std::uint32_t seed, int scale = 1);
// Water levels 0..5, the mask and a red disc, 12 x 12 each.
Canvas DrawWaterStrip(int scale = 1);
Canvas DrawBackground(std::uint32_t seed, int scale = 1);

struct PalettedPicture {
    int width = 0;
    int height = 0;
    std::array<std::uint32_t, 256> palette{};  // 0xRRGGBB
    std::vector<std::uint8_t> indices;         // rows top-down
};
PalettedPicture DrawLevelDigits(int scale = 1);
PalettedPicture DrawTimeDigits(int scale = 1);

// The blob of water in the middle of a piece: a 12 x 12 square whose disc the
// mask blackens and the water tiles paint. Pieces draw their empty mouth with
// the same pixels, so a drained blob looks like a dry piece. Positions are
// pixel centres in the square, 0..kBlobSize.
bool InWaterDisc(float x, float y);
Rgb EmptyMouth(float x, float y);

// Sets ArtScale for as long as it lives.
class ScaledArt {
public:
    explicit ScaledArt(int scale) : m_before(ArtScale()) { ArtScale() = static_cast<float>(scale); }
    ~ScaledArt() { ArtScale() = m_before; }
    ScaledArt(const ScaledArt&) = delete;
    ScaledArt& operator=(const ScaledArt&) = delete;

private:
    float m_before;
};
