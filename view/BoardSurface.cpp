#include "view/BoardSurface.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include "core/Piece.h"

// A plain drawn look: a metal plate, grey blocks with copper pipes and green
// water. The sprite sheets replace it once the packed artwork is in.
namespace {

const QColor kPlate(0x5a, 0x4a, 0x3e);
const QColor kBlock(0x9a, 0x9c, 0xa0);
const QColor kCopper(0xc0, 0x6a, 0x30);
const QColor kWater(0x3c, 0xe0, 0x48);
const QColor kMouth(0x30, 0x30, 0x30);

QImage MakeBackground() {
    QImage image(BoardSurface::kWidth, BoardSurface::kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(image.rect(), Qt::black);
    p.fillRect(image.rect().adjusted(3, 3, -3, -3), kPlate);
    p.setPen(QColor(0x4a, 0x3c, 0x32));
    for (int y = 10; y < BoardSurface::kHeight - 3; y += 7) p.drawLine(3, y, BoardSurface::kWidth - 4, y + 3);
    p.fillRect(410, 130, 22, 180, Qt::black);
    p.fillRect(450, 130, 22, 180, Qt::black);
    QFont font("Liberation Sans", 20, QFont::Bold);
    p.setFont(font);
    p.setPen(QColor(0xe8, 0xc0, 0x60));
    p.drawText(QRect(300, 12, 185, 50), Qt::AlignRight | Qt::AlignVCenter, "Aquendo");
    return image;
}

QColor FloorColour(int code) {
    return QColor::fromHsv((code * 37) % 360, 60, 110 + (code % 5) * 12);
}

}  // namespace

BoardSurface::BoardSurface() : m_image(kWidth, kHeight, QImage::Format_RGB32), m_background(MakeBackground()) {
    DrawBackground();
}

QPoint BoardSurface::CellCorner(int c, int r) {
    return {kGridLeft + kCellSize * (c - 1), kGridTop + kCellSize * (r - 1)};
}

void BoardSurface::DrawBackground() { m_image = m_background.copy(); }

void BoardSurface::DrawCell(const Board& board, int c, int r) {
    const QPoint corner = CellCorner(c, r);
    const std::uint8_t code = board.Piece(c, r);
    if (code != 0) {
        DrawPiece(corner + QPointF(18, 18), PieceTypeOf(code), 90.0 * OrientationOf(code), board.IsShownWet(c, r));
        return;
    }
    QPainter p(&m_image);
    const QRect cell(corner, QSize(kCellSize, kCellSize));
    const int floor = board.FloorLayer[CellIndex(c, r)];
    if (floor == kBareFloor)
        p.drawImage(cell, m_background, cell);
    else
        p.fillRect(cell, FloorColour(floor));
}

void BoardSurface::DrawTurnFrame(const Board& board, int c, int r, int frame) {
    DrawPiece(CellCorner(c, r) + QPointF(18, 18), PieceTypeOf(board.Piece(c, r)), 30.0 * frame,
              board.IsShownWet(c, r));
}

void BoardSurface::DrawWaterTile(int c, int r, int tile) {
    QPainter p(&m_image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF blob(CellCorner(c, r) + QPointF(12, 12), QSizeF(12, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(kMouth);
    p.drawEllipse(blob);
    if (tile > 0) {
        const double inset = 6.0 - tile * 1.2;
        p.setBrush(kWater);
        p.drawEllipse(blob.adjusted(inset, inset, -inset, -inset));
    }
}

void BoardSurface::DrawPiece(QPointF centre, int type, double angleDegrees, bool wet) {
    QPainter p(&m_image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF cell(centre - QPointF(18, 18), QSizeF(kCellSize, kCellSize));
    p.fillRect(cell, QColor(0xd8, 0xc8, 0xa8));
    p.setPen(QPen(QColor(0x50, 0x50, 0x54), 1));
    p.setBrush(kBlock);
    p.drawRoundedRect(cell.adjusted(5, 5, -5, -5), 4, 4);

    // Screen angles grow clockwise; a counter-clockwise turn is a negative rotation.
    p.translate(centre);
    p.rotate(-angleDegrees);
    p.setPen(Qt::NoPen);
    p.setBrush(kCopper);
    static constexpr int kOpenings[6] = {0, 0b0001, 0b0011, 0b0101, 0b0111, 0b1111};
    const int openings = type >= 1 && type <= 5 ? kOpenings[type] : 0;
    for (int d = 0; d < 4; ++d) {
        if (!(openings & (1 << d))) continue;
        p.save();
        p.rotate(-90.0 * d);
        p.drawRect(QRectF(4, -5, 14, 10));
        p.restore();
    }
    p.resetTransform();
    p.setBrush(wet ? kWater : kMouth);
    p.drawEllipse(QRectF(centre - QPointF(6, 6), QSizeF(12, 12)));
}
