#pragma once

#include <QImage>
#include <array>
#include <memory>

#include "core/Board.h"
#include "view/SpriteSheets.h"

// The 500 x 333 board area as an image, which the board paint box shows.
// Everything is a block transfer from the sheets with copy, AND or OR.
class BoardSurface {
public:
    static constexpr int kWidth = kBoardWidth;
    static constexpr int kHeight = kBoardHeight;

    // The sheets must outlive the surface and have their binding sizes, or be
    // empty until SheetsArrived: till then the cells are only remembered.
    explicit BoardSurface(const SpriteSheets& sheets);
    // The sheets given at construction have been filled in: draws what the
    // cells show so far.
    void SheetsArrived();

    const QImage& Image() const { return m_image; }
    // Where larger sheets come from; the surface then also keeps the board at
    // their scale, drawn from them by the same copies, ANDs and ORs.
    void SetLargerSheets(LargerSheets larger);
    // The board drawn at this scale (2 or 3), or nullptr when there is no set
    // of that scale. Made at the first call from what the cells show.
    const QImage* ImageAt(int scale);

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
    enum class Sheet { Piece, Floor, Water, Background };
    // What a cell shows: one copy, then perhaps a water tile over its blob.
    // Enough to draw the cell again at any scale.
    struct CellPicture {
        Sheet sheet = Sheet::Background;
        QRect source;
        int water = -1;
    };
    struct Scaled {
        int scale = 0;
        const SpriteSheets* sheets = nullptr;
        QImage image;
    };

    void Blit(Sheet sheet, QRect source, QPoint target, Op op);
    void Base(int c, int r, Sheet sheet, QRect source);
    void Water(int c, int r, int tile);
    void DrawAll(QImage& into, const SpriteSheets& sheets, int scale) const;
    static void Draw(QImage& into, const SpriteSheets& sheets, int scale, Sheet sheet, QRect source,
                     QPoint target, Op op);

    const SpriteSheets& m_sheets;
    QImage m_image;
    std::array<CellPicture, kCells> m_cells;
    LargerSheets m_larger;
    std::array<Scaled, 2> m_scaled;  // 2x and 3x, once asked for
};
