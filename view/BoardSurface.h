#pragma once

#include <QImage>

#include "core/Board.h"

// The 500 x 333 board area as an image; the board paint box shows it. Every
// drawing call paints straight into it, the way the game draws its cells.
class BoardSurface {
public:
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 333;

    BoardSurface();

    const QImage& Image() const { return m_image; }

    void DrawBackground();
    void DrawCell(const Board& board, int c, int r);
    void DrawTurnFrame(const Board& board, int c, int r, int frame);
    void DrawWaterTile(int c, int r, int tile);

    // Top-left corner of cell (c, r) in the surface.
    static QPoint CellCorner(int c, int r);

private:
    void DrawPiece(QPointF centre, int type, double angleDegrees, bool wet);

    QImage m_image;
    QImage m_background;
};
