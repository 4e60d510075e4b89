#pragma once

#include <QImage>

#include "core/Board.h"
#include "view/SpriteSheets.h"

// The 500 x 333 board area as an image, which the board paint box shows.
// Everything is a block transfer from the sheets with copy, AND or OR.
class BoardSurface {
public:
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 333;

    // The sheets must outlive the surface and have their binding sizes.
    explicit BoardSurface(const SpriteSheets& sheets);

    const QImage& Image() const { return m_image; }

    void DrawBackground();
    void DrawCell(const Board& board, int c, int r);
    // Turn frame 0..11 of the piece in (c, r), with its blob if it shows water.
    void DrawTurnFrame(const Board& board, int c, int r, int frame);
    // Water tile 0..5 over the cell's blob square: the mask ANDed, the tile ORed.
    void DrawWaterTile(int c, int r, int tile);

    // Top-left corner of cell (c, r) in the surface.
    static QPoint CellCorner(int c, int r);

private:
    enum class Op { Copy, And, Or };
    void Blit(const QImage& sheet, QRect source, QPoint target, Op op);
    void DrawFullWater(QPoint corner);

    const SpriteSheets& m_sheets;
    QImage m_image;
};
