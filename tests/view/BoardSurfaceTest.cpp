#include <gtest/gtest.h>

#include "tests/support/NoiseSheets.h"
#include "view/BoardSurface.h"

namespace {

// What AND then OR of two 12 x 12 squares gives over a 12 x 12 square.
QImage MaskThenPaint(const QImage& under, const QImage& mask, const QImage& paint) {
    QImage out = under.copy();
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            out.setPixel(x, y, 0xFF000000u | ((under.pixel(x, y) & mask.pixel(x, y)) | paint.pixel(x, y)));
    return out;
}

class BoardSurfaceTest : public ::testing::Test {
protected:
    QImage CellOf(int c, int r) const {
        return surface.Image().copy(QRect(BoardSurface::CellCorner(c, r), QSize(kCellSize, kCellSize)));
    }
    QImage Water(int tile) const { return sheets.WaterStrip.copy(kBlobSize * tile, 0, kBlobSize, kBlobSize); }
    QImage Piece(int column, int type) const {
        return sheets.PieceSheet.copy(kCellSize * column, kCellSize * (type - 1), kCellSize, kCellSize);
    }
    static QImage BlobOf(const QImage& cell) {
        return cell.copy(kBlobOffset, kBlobOffset, kBlobSize, kBlobSize);
    }
    // A whole cell with its blob square replaced.
    static QImage WithBlob(QImage cell, const QImage& blob) {
        for (int y = 0; y < kBlobSize; ++y)
            for (int x = 0; x < kBlobSize; ++x)
                cell.setPixel(kBlobOffset + x, kBlobOffset + y, blob.pixel(x, y));
        return cell;
    }
    QImage Wet(const QImage& cell) const {
        return WithBlob(cell, MaskThenPaint(BlobOf(cell), Water(kWaterMaskTile), Water(5)));
    }

    SpriteSheets sheets = NoiseSheets();
    BoardSurface surface{sheets};
    Board board;
};

TEST_F(BoardSurfaceTest, BackgroundIsCopiedWhole) {
    EXPECT_EQ(surface.Image(), sheets.BackgroundImage);
}

TEST_F(BoardSurfaceTest, PiecesDryAndWetFromTheirRestFrame) {
    for (int type = 1; type <= 5; ++type) {
        for (int orientation = 0; orientation < 4; ++orientation) {
            SCOPED_TRACE(std::to_string(type) + "/" + std::to_string(orientation));
            board.PieceLayer[CellIndex(3, 5)] = static_cast<std::uint8_t>(8 * orientation + type);
            board.ShownWet[CellIndex(3, 5)] = 0;
            surface.DrawCell(board, 3, 5);
            EXPECT_EQ(CellOf(3, 5), Piece(3 * orientation, type));
            board.ShownWet[CellIndex(3, 5)] = 1;
            surface.DrawCell(board, 3, 5);
            EXPECT_EQ(CellOf(3, 5), Wet(Piece(3 * orientation, type)));
        }
    }
}

TEST_F(BoardSurfaceTest, FloorTilesAndTheBarePlate) {
    for (int floor : {0, 5, 8, 29, 63, 7}) {
        SCOPED_TRACE(floor);
        board.FloorLayer[CellIndex(10, 8)] = static_cast<std::uint8_t>(floor);
        board.ShownWet[CellIndex(10, 8)] = 1;  // water on an empty cell is never drawn
        surface.DrawCell(board, 10, 8);
        const QImage expected = floor == 7
                                    ? sheets.BackgroundImage.copy(346, 274, 36, 36)
                                    : sheets.FloorSheet.copy(36 * (floor & 7), 36 * (floor >> 3), 36, 36);
        EXPECT_EQ(CellOf(10, 8), expected);
    }
}

TEST_F(BoardSurfaceTest, CodesWithoutAPictureShowThePlate) {
    for (int code : {6, 7, 8, 30, 32, 200, 255}) {
        board.PieceLayer[CellIndex(1, 1)] = static_cast<std::uint8_t>(code);
        board.FloorLayer[CellIndex(1, 1)] = 12;
        surface.DrawCell(board, 1, 1);
        EXPECT_EQ(CellOf(1, 1), sheets.BackgroundImage.copy(22, 22, 36, 36)) << code;
        surface.DrawTurnFrame(board, 1, 1, 4);
        EXPECT_EQ(CellOf(1, 1), sheets.BackgroundImage.copy(22, 22, 36, 36)) << code;
    }
}

TEST_F(BoardSurfaceTest, EveryTurnFrameWithItsFullBlob) {
    board.PieceLayer[CellIndex(6, 2)] = 4;  // a Tee
    for (int frame = 0; frame < 12; ++frame) {
        SCOPED_TRACE(frame);
        board.ShownWet[CellIndex(6, 2)] = 0;
        surface.DrawTurnFrame(board, 6, 2, frame);
        EXPECT_EQ(CellOf(6, 2), Piece(frame, 4));
        board.ShownWet[CellIndex(6, 2)] = 1;
        surface.DrawTurnFrame(board, 6, 2, frame);
        EXPECT_EQ(CellOf(6, 2), Wet(Piece(frame, 4)));
    }
}

TEST_F(BoardSurfaceTest, WaterFramesMaskThenPaintOverWhatIsThere) {
    board.PieceLayer[CellIndex(2, 7)] = 3;
    surface.DrawCell(board, 2, 7);
    QImage expected = Piece(0, 3);
    for (int tile = 0; tile <= 5; ++tile) {
        surface.DrawWaterTile(2, 7, tile);
        expected = WithBlob(expected, MaskThenPaint(BlobOf(expected), Water(kWaterMaskTile), Water(tile)));
        EXPECT_EQ(CellOf(2, 7), expected) << tile;
    }
    // Draining back ends on tile 0 and stays so until the cell is drawn again.
    for (int tile = 5; tile >= 0; --tile) {
        surface.DrawWaterTile(2, 7, tile);
        expected = WithBlob(expected, MaskThenPaint(BlobOf(expected), Water(kWaterMaskTile), Water(tile)));
    }
    EXPECT_EQ(CellOf(2, 7), expected);
    surface.DrawCell(board, 2, 7);
    EXPECT_EQ(CellOf(2, 7), Piece(0, 3));
}

TEST_F(BoardSurfaceTest, DrawingACellTouchesNothingElse) {
    board.PieceLayer[CellIndex(5, 5)] = 29;
    board.ShownWet[CellIndex(5, 5)] = 1;
    surface.DrawCell(board, 5, 5);
    surface.DrawWaterTile(5, 5, 3);
    surface.DrawTurnFrame(board, 5, 5, 7);
    QImage outside = surface.Image();
    QImage background = sheets.BackgroundImage;
    const QRect cell(BoardSurface::CellCorner(5, 5), QSize(36, 36));
    for (QImage* image : {&outside, &background}) {
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x) image->setPixel(x, y, 0xFF000000u);
    }
    EXPECT_EQ(outside, background);
}

TEST_F(BoardSurfaceTest, TheLargerBoardIsDrawnFromTheLargerSheetsByTheSameRules) {
    const SpriteSheets twice = NoiseSheets(2);
    surface.SetLargerSheets([&twice](int scale) { return scale == 2 ? &twice : nullptr; });
    EXPECT_EQ(surface.ImageAt(3), nullptr) << "no 3x set";
    // Cells drawn before the 2x board is first asked for, and after.
    board.PieceLayer[CellIndex(3, 5)] = 8 * 1 + 4;
    board.ShownWet[CellIndex(3, 5)] = 1;
    surface.DrawCell(board, 3, 5);
    board.FloorLayer[CellIndex(6, 2)] = 29;
    surface.DrawCell(board, 6, 2);
    board.PieceLayer[CellIndex(9, 1)] = 3;
    surface.DrawCell(board, 9, 1);
    surface.DrawWaterTile(9, 1, 2);
    const QImage* large = surface.ImageAt(2);
    ASSERT_NE(large, nullptr);
    board.PieceLayer[CellIndex(10, 8)] = 2;
    surface.DrawTurnFrame(board, 10, 8, 7);
    surface.DrawWaterTile(10, 8, 4);
    board.PieceLayer[CellIndex(9, 1)] = 0;
    board.FloorLayer[CellIndex(9, 1)] = 7;
    surface.DrawCell(board, 9, 1);

    // The same copies, ANDs and ORs with every rectangle doubled.
    QImage expected = twice.BackgroundImage.copy();
    auto copy = [&](const QImage& sheet, QRect from, int c, int r) {
        const QPoint at = BoardSurface::CellCorner(c, r) * 2;
        const QImage part = sheet.copy(from.x() * 2, from.y() * 2, from.width() * 2, from.height() * 2);
        for (int y = 0; y < part.height(); ++y)
            for (int x = 0; x < part.width(); ++x)
                expected.setPixel(at.x() + x, at.y() + y, part.pixel(x, y));
    };
    auto water = [&](int c, int r, int tile) {
        const QPoint at = (BoardSurface::CellCorner(c, r) + QPoint(kBlobOffset, kBlobOffset)) * 2;
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 24; ++x) {
                const QRgb under = expected.pixel(at.x() + x, at.y() + y);
                const QRgb mask = twice.WaterStrip.pixel(144 + x, y),
                           paint = twice.WaterStrip.pixel(24 * tile + x, y);
                expected.setPixel(at.x() + x, at.y() + y, 0xFF000000u | ((under & mask) | paint));
            }
        }
    };
    copy(twice.PieceSheet, QRect(108, 36 * 3, 36, 36), 3, 5);
    water(3, 5, 5);
    copy(twice.FloorSheet, QRect(36 * 5, 36 * 3, 36, 36), 6, 2);
    copy(twice.PieceSheet, QRect(36 * 7, 36, 36, 36), 10, 8);
    water(10, 8, 4);
    EXPECT_TRUE(*large == expected);
    // Only what the 1x board shows: the plate where the straight was.
    EXPECT_EQ(large->copy(QRect(BoardSurface::CellCorner(9, 1) * 2, QSize(72, 72))),
              twice.BackgroundImage.copy(QRect(BoardSurface::CellCorner(9, 1) * 2, QSize(72, 72))));
}

}  // namespace
