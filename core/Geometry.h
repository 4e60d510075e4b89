#pragma once

#include <array>
#include <cstdint>

// The board is 10 columns by 8 rows, numbered from 1. Every per-cell layer is
// stored column-major, the layout the level file uses.
inline constexpr int kColumns = 10;
inline constexpr int kRows = 8;
inline constexpr int kCells = kColumns * kRows;

using CellLayer = std::array<std::uint8_t, kCells>;

constexpr bool IsOnBoard(int c, int r) { return c >= 1 && c <= kColumns && r >= 1 && r <= kRows; }

// Index of cell (c, r) in a layer; the cell must be on the board.
constexpr int CellIndex(int c, int r) { return kRows * (c - 1) + (r - 1); }

// Pixels of the board area: cell (c, r) has its corner at
// (kGridLeft + kCellSize (c - 1), kGridTop + kCellSize (r - 1)).
inline constexpr int kGridLeft = 22;
inline constexpr int kGridTop = 22;
inline constexpr int kCellSize = 36;
