#pragma once

#include <array>
#include <cstdint>

// The board is 10 columns by 8 rows, numbered from 1. Every per-cell layer is
// stored column-major, the layout the level file uses.
inline constexpr int kColumns = 10;
inline constexpr int kRows = 8;
inline constexpr int kCells = kColumns * kRows;

using CellLayer = std::array<std::uint8_t, kCells>;

constexpr bool IsOnBoard(int c, int r) {
    return c >= 1 && c <= kColumns && r >= 1 && r <= kRows;
}

// Index of cell (c, r) in a layer; the cell must be on the board.
constexpr int CellIndex(int c, int r) {
    return kRows * (c - 1) + (r - 1);
}

// Pixels of the board area: cell (c, r) has its corner at
// (CellLeft(c), CellTop(r)).
inline constexpr int kGridLeft = 22;
inline constexpr int kGridTop = 22;
inline constexpr int kCellSize = 36;

constexpr int CellLeft(int c) {
    return kGridLeft + kCellSize * (c - 1);
}
constexpr int CellTop(int r) {
    return kGridTop + kCellSize * (r - 1);
}

// The board picture the window shows below its tool bar.
inline constexpr int kBoardWidth = 500, kBoardHeight = 333;

// The blob of water in the middle of each piece: a kBlobSize square whose
// corner stands kBlobOffset right of and below the cell's.
inline constexpr int kBlobSize = 12;
inline constexpr int kBlobOffset = (kCellSize - kBlobSize) / 2;

// The pictures' grids: the piece sheet has a column for each turn frame and a
// row for each piece type; the floor sheet is square; the water strip holds
// levels 0..5, the mask and a spare disc.
inline constexpr int kTurnFrames = 12, kPieceTypes = 5;
// Frame kFramesPerTurn * o is orientation o at rest.
inline constexpr int kFramesPerTurn = kTurnFrames / 4;
inline constexpr int kFloorGrid = 8;
inline constexpr int kWaterTiles = 8, kWaterMaskTile = 6;
inline constexpr int kFullWaterTile = kWaterMaskTile - 1;
// Digit glyphs of 11 x 20 with a gap; the level sheet adds the two faces.
inline constexpr int kDigitHeight = 20, kLevelDigitsWidth = 148, kTimeDigitsWidth = 121;

// The six pictures' sizes at scale 1, in the media set's order (piece sheet,
// floor sheet, water strip, background, level digits, time digits). At scale s
// every picture is the same layout with each coordinate times s.
struct SheetSize {
    int width;
    int height;
};
inline constexpr std::array<SheetSize, 6> kSheetSizes = {{
    {kTurnFrames * kCellSize, kPieceTypes* kCellSize},
    {kFloorGrid * kCellSize, kFloorGrid* kCellSize},
    {kWaterTiles * kBlobSize, kBlobSize},
    {kBoardWidth, kBoardHeight},
    {kLevelDigitsWidth, kDigitHeight},
    {kTimeDigitsWidth, kDigitHeight},
}};
