#include "view/BoardSurface.h"

#include <QPainter>

#include "core/Piece.h"

namespace {

constexpr QPoint kBlobCorner(kBlobOffset, kBlobOffset);

}  // namespace

BoardSurface::BoardSurface(const SpriteSheets& sheets)
    : m_sheets(sheets), m_image(kWidth, kHeight, QImage::Format_RGB32) {
    Q_ASSERT(sheets.HasBindingSizes() || sheets.BackgroundImage.isNull());
    DrawBackground();
}

QPoint BoardSurface::CellCorner(int c, int r) {
    return {CellLeft(c), CellTop(r)};
}

void BoardSurface::Draw(QImage& into, const SpriteSheets& sheets, int scale, Sheet sheet, QRect source,
                        QPoint target, Op op) {
    const QImage& from = sheet == Sheet::Piece   ? sheets.PieceSheet
                         : sheet == Sheet::Floor ? sheets.FloorSheet
                         : sheet == Sheet::Water ? sheets.WaterStrip
                                                 : sheets.BackgroundImage;
    // Sheets still on their way: the cells remember what to draw once they come.
    if (from.isNull()) return;
    QPainter p(&into);
    switch (op) {
        case Op::Copy:
            p.setCompositionMode(QPainter::CompositionMode_Source);
            break;
        case Op::And:
            p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            break;
        case Op::Or:
            p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
            break;
    }
    p.drawImage(target * scale, from, AtScale(source, scale));
}

void BoardSurface::Blit(Sheet sheet, QRect source, QPoint target, Op op) {
    Draw(m_image, m_sheets, 1, sheet, source, target, op);
    for (Scaled& s : m_scaled)
        if (s.sheets) Draw(s.image, *s.sheets, s.scale, sheet, source, target, op);
}

void BoardSurface::SetLargerSheets(LargerSheets larger) {
    m_larger = std::move(larger);
    m_scaled = {};
}

const QImage* BoardSurface::ImageAt(int scale) {
    if (scale < 2 || scale > 3 || !m_larger) return nullptr;
    Scaled& s = m_scaled[static_cast<std::size_t>(scale - 2)];
    if (!s.sheets) {
        const SpriteSheets* sheets = m_larger(scale);
        if (!sheets) return nullptr;
        s = {scale, sheets, QImage(kWidth * scale, kHeight * scale, QImage::Format_RGB32)};
        DrawAll(s.image, *sheets, scale);
    }
    return &s.image;
}

// What the 1x surface shows, drawn again from these sheets.
void BoardSurface::DrawAll(QImage& into, const SpriteSheets& sheets, int scale) const {
    Draw(into, sheets, scale, Sheet::Background, QRect(0, 0, kWidth, kHeight), QPoint(0, 0), Op::Copy);
    for (int c = 1; c <= kColumns; ++c) {
        for (int r = 1; r <= kRows; ++r) {
            const CellPicture& cell = m_cells[static_cast<std::size_t>(CellIndex(c, r))];
            const QPoint corner = CellCorner(c, r);
            Draw(into, sheets, scale, cell.sheet, cell.source, corner, Op::Copy);
            if (cell.water < 0) continue;
            Draw(into, sheets, scale, Sheet::Water,
                 QRect(kBlobSize * kWaterMaskTile, 0, kBlobSize, kBlobSize), corner + kBlobCorner, Op::And);
            Draw(into, sheets, scale, Sheet::Water, QRect(kBlobSize * cell.water, 0, kBlobSize, kBlobSize),
                 corner + kBlobCorner, Op::Or);
        }
    }
}

void BoardSurface::SheetsArrived() {
    DrawAll(m_image, m_sheets, 1);
}

void BoardSurface::DrawBackground() {
    Blit(Sheet::Background, QRect(0, 0, kWidth, kHeight), QPoint(0, 0), Op::Copy);
    for (int c = 1; c <= kColumns; ++c)
        for (int r = 1; r <= kRows; ++r)
            m_cells[static_cast<std::size_t>(CellIndex(c, r))] = {
                Sheet::Background, QRect(CellCorner(c, r), QSize(kCellSize, kCellSize))};
}

void BoardSurface::Base(int c, int r, Sheet sheet, QRect source) {
    Blit(sheet, source, CellCorner(c, r), Op::Copy);
    m_cells[static_cast<std::size_t>(CellIndex(c, r))] = {sheet, source};
}

void BoardSurface::Water(int c, int r, int tile) {
    const QPoint blob = CellCorner(c, r) + kBlobCorner;
    Blit(Sheet::Water, QRect(kBlobSize * kWaterMaskTile, 0, kBlobSize, kBlobSize), blob, Op::And);
    Blit(Sheet::Water, QRect(kBlobSize * tile, 0, kBlobSize, kBlobSize), blob, Op::Or);
    // The mask clears the disc, so only the last tile shows.
    m_cells[static_cast<std::size_t>(CellIndex(c, r))].water = tile;
}

void BoardSurface::DrawCell(const Board& board, int c, int r) {
    const QPoint corner = CellCorner(c, r);
    const QRect cell(corner, QSize(kCellSize, kCellSize));
    const std::uint8_t code = board.Piece(c, r);
    // A code without a picture (only a damaged file could hold one) shows the bare plate.
    if (code != 0 && IsPieceCode(code)) {
        const QRect frame(kCellSize * kFramesPerTurn * OrientationOf(code),
                          kCellSize * (PieceTypeOf(code) - 1), kCellSize, kCellSize);
        Base(c, r, Sheet::Piece, frame);
        if (board.IsShownWet(c, r)) Water(c, r, kFullWaterTile);
        return;
    }
    const int floor = board.FloorLayer[CellIndex(c, r)];
    if (code != 0 || floor == kBareFloor || floor >= kFloorCodes) {
        Base(c, r, Sheet::Background, cell);
        return;
    }
    Base(c, r, Sheet::Floor,
         QRect(kCellSize * (floor % kFloorGrid), kCellSize * (floor / kFloorGrid), kCellSize, kCellSize));
}

void BoardSurface::DrawTurnFrame(const Board& board, int c, int r, int frame) {
    const std::uint8_t code = board.Piece(c, r);
    if (!IsPieceCode(code) || frame < 0 || frame >= kTurnFrames) return;
    Base(c, r, Sheet::Piece,
         QRect(kCellSize * frame, kCellSize * (PieceTypeOf(code) - 1), kCellSize, kCellSize));
    if (board.IsShownWet(c, r)) Water(c, r, kFullWaterTile);
}

void BoardSurface::DrawWaterTile(int c, int r, int tile) {
    if (tile < 0 || tile > kFullWaterTile) return;
    Water(c, r, tile);
}
