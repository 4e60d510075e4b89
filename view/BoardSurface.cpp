#include "view/BoardSurface.h"

#include <QPainter>

#include "core/Piece.h"

namespace {

constexpr int kBlob = 12;
constexpr QPoint kBlobOffset(12, 12);
constexpr int kMaskTile = 6;
constexpr int kFullTile = 5;

}  // namespace

BoardSurface::BoardSurface(const SpriteSheets& sheets)
    : m_sheets(sheets), m_image(kWidth, kHeight, QImage::Format_RGB32) {
    Q_ASSERT(sheets.HasBindingSizes());
    DrawBackground();
}

QPoint BoardSurface::CellCorner(int c, int r) {
    return {kGridLeft + kCellSize * (c - 1), kGridTop + kCellSize * (r - 1)};
}

void BoardSurface::Blit(const QImage& sheet, QRect source, QPoint target, Op op) {
    QPainter p(&m_image);
    switch (op) {
        case Op::Copy: p.setCompositionMode(QPainter::CompositionMode_Source); break;
        case Op::And: p.setCompositionMode(QPainter::RasterOp_SourceAndDestination); break;
        case Op::Or: p.setCompositionMode(QPainter::RasterOp_SourceOrDestination); break;
    }
    p.drawImage(target, sheet, source);
}

void BoardSurface::DrawBackground() {
    Blit(m_sheets.BackgroundImage, QRect(0, 0, kWidth, kHeight), QPoint(0, 0), Op::Copy);
}

void BoardSurface::DrawFullWater(QPoint corner) {
    Blit(m_sheets.WaterStrip, QRect(kBlob * kMaskTile, 0, kBlob, kBlob), corner + kBlobOffset, Op::And);
    Blit(m_sheets.WaterStrip, QRect(kBlob * kFullTile, 0, kBlob, kBlob), corner + kBlobOffset, Op::Or);
}

void BoardSurface::DrawCell(const Board& board, int c, int r) {
    const QPoint corner = CellCorner(c, r);
    const QRect cell(corner, QSize(kCellSize, kCellSize));
    const std::uint8_t code = board.Piece(c, r);
    // A code without a picture (only a damaged file could hold one) shows the bare plate.
    if (code != 0 && IsPieceCode(code)) {
        const QRect frame(108 * OrientationOf(code), kCellSize * (PieceTypeOf(code) - 1), kCellSize, kCellSize);
        Blit(m_sheets.PieceSheet, frame, corner, Op::Copy);
        if (board.IsShownWet(c, r)) DrawFullWater(corner);
        return;
    }
    const int floor = board.FloorLayer[CellIndex(c, r)];
    if (code != 0 || floor == kBareFloor || floor >= kFloorCodes) {
        Blit(m_sheets.BackgroundImage, cell, corner, Op::Copy);
        return;
    }
    Blit(m_sheets.FloorSheet, QRect(kCellSize * (floor & 7), kCellSize * (floor >> 3), kCellSize, kCellSize), corner,
         Op::Copy);
}

void BoardSurface::DrawTurnFrame(const Board& board, int c, int r, int frame) {
    const std::uint8_t code = board.Piece(c, r);
    if (!IsPieceCode(code) || frame < 0 || frame > 11) return;
    const QPoint corner = CellCorner(c, r);
    Blit(m_sheets.PieceSheet, QRect(kCellSize * frame, kCellSize * (PieceTypeOf(code) - 1), kCellSize, kCellSize),
         corner, Op::Copy);
    if (board.IsShownWet(c, r)) DrawFullWater(corner);
}

void BoardSurface::DrawWaterTile(int c, int r, int tile) {
    if (tile < 0 || tile > kFullTile) return;
    const QPoint blob = CellCorner(c, r) + kBlobOffset;
    Blit(m_sheets.WaterStrip, QRect(kBlob * kMaskTile, 0, kBlob, kBlob), blob, Op::And);
    Blit(m_sheets.WaterStrip, QRect(kBlob * tile, 0, kBlob, kBlob), blob, Op::Or);
}
