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
// join seamlessly with copies of themselves. This table is the only place
// that knows the sheet; change it here when the artwork changes.
struct FloorMotif {
    int width;
    int height;
    std::uint8_t corner;
};

inline constexpr std::array<FloorMotif, 5> kFloorMotifs = {{
    {2, 2, 0},   // 0, 1, 8, 9
    {2, 2, 2},   // 2, 3, 10, 11
    {2, 2, 4},   // 4, 5, 12, 13
    {3, 3, 16},  // 16..18, 24..26, 32..34
    {3, 3, 19},  // 19..21, 27..29, 35..37 (29 also stands alone for the empty fallback level)
}};

inline constexpr std::array<std::uint8_t, 33> kFloorTextures = {
    6,  14, 15, 22, 23, 30, 31, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47,
    48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63,
};
