#pragma once

#include <array>
#include <cstdint>

// The floor sheet as the level generator sees it. Floor code f is the tile in
// column f AND 7, row f SHR 3 of the sheet; 7 shows the bare plate.
//
// A motif is a picture of width x height tiles that lie side by side on the
// sheet, its top-left tile at code `corner`: the tile at column i, row j of
// the motif has code corner + i + 8 j, and is laid at the same place relative
// to the motif's top-left cell on the board. Textures are single tiles that
// join seamlessly with copies of themselves. The sheet's drawing
// (tools/mediagen/FloorArt.cpp) paints its tiles in the order of these tables,
// so this is the only place that knows where each tile lies.
struct FloorMotif {
    int width;
    int height;
    std::uint8_t corner;
    std::uint8_t ground;  // the texture drawn round the picture, which a rug under it continues
};

// The larger pictures, each drawn on its ground texture.
inline constexpr std::array<FloorMotif, 5> kFloorMotifs = {{
    {2, 2, 8, 0},   // manhole cover on grey slabs: 8, 9, 16, 17
    {2, 2, 10, 3},  // rug on planks: 10, 11, 18, 19
    {3, 3, 12,
     15},  // compass rose on sandstone: 12..14, 20..22, 28..30 (29 also floors the empty fallback level)
    {3, 3, 32, 2},  // brass gear on riveted steel: 32..34, 40..42, 48..50
    {2, 2, 35, 1},  // trapdoor on cobbles: 35, 36, 43, 44
}};

// Stone, metal, wood, carpet and pattern tiles that stand alone; tile 7 is
// black and never drawn: code 7 shows the plate.
inline constexpr std::array<std::uint8_t, 33> kFloorTextures = {
    0,  1,  2,  3,  4,  5,  6,  15, 23, 24, 25, 26, 27, 31, 37, 38, 39,
    45, 46, 47, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63,
};
