#pragma once

#include "core/Geometry.h"

// Where a test presses cell (c, r) of the board: dx, dy from the cell's
// corner, its middle unless told, in the board's own pixels.
namespace cellpoints {

inline constexpr int kMiddle = kCellSize / 2;

constexpr int BoardX(int c, int dx = kMiddle) {
    return CellLeft(c) + dx;
}
constexpr int BoardY(int r, int dy = kMiddle) {
    return CellTop(r) + dy;
}

}  // namespace cellpoints
