// Runs at whatever scale factor the environment sets (QT_SCALE_FACTOR); ctest
// runs it at 1, 1.5, 2 and 3.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSet>
#include <QTest>
#include <QWindow>
#include <cmath>
#include <map>

#include "tests/support/WindowFixture.h"
#include "view/BoardSurface.h"
#include "view/DigitDisplay.h"

namespace {

// A tee, an end beside it and a cross, with the English texts: where every test here starts.
class HiDpi : public WindowFixture {
protected:
    void SetUp() override {
        folder.WriteLevels({testlevels::Make({{4, 4, 4}, {5, 4, 17}, {9, 7, 5}}, 4, 4)});
        settings.Set("tongue", "0");
    }
};

TEST_F(HiDpi, WindowScalesBoardStaysSharpAndPressesLandOnTheirCell) {
    TMainForm& form = Open();
    const double scale = form.devicePixelRatioF();

    const QImage shot = form.grab().toImage();
    EXPECT_EQ(shot.size(), QSize(std::lround(500 * scale), std::lround(366 * scale))) << "scale " << scale;

    // Sharp: every pixel of the scaled board is a pixel of the board itself;
    // smoothing would mix new colours in.
    QSet<QRgb> colours;
    const QImage& board = form.surface().Image();
    for (int y = 0; y < board.height(); ++y)
        for (int x = 0; x < board.width(); ++x) colours.insert(board.pixel(x, y));
    const QImage shown =
        form.findChild<QWidget*>("box")->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int foreign = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) foreign += !colours.contains(shown.pixel(x, y));
    EXPECT_EQ(foreign, 0) << "scale " << scale;

    // Presses are in window coordinates whatever the scale.
    const QPoint tee = WindowPoint(4, 4);
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, tee);
    EXPECT_EQ(form.game().board().Piece(4, 4), 12);
    const QPoint corner = WindowPoint(4, 4, 1, 35);  // the cell's last row and first column
    QTest::mouseClick(form.windowHandle(), Qt::RightButton, {}, corner);
    EXPECT_EQ(form.game().board().Piece(4, 4), 4);
    answerer.messageKeys = {Qt::Key_Escape};
}

// With larger sheets the board is drawn from them, pixel for pixel where the
// screen's ratio is their scale; the level display too.
TEST_F(HiDpi, BoardAndDisplaysFromTheLargerSheets) {
    TMainForm form(folder.Folder(), NoiseSheets(), settings);
    const SpriteSheets twice = NoiseSheets(2), thrice = NoiseSheets(3);
    form.UseLargerSheets([&](int scale) { return scale == 2 ? &twice : scale == 3 ? &thrice : nullptr; });
    answerer.ShowAndSettle(form);
    const double ratio = form.devicePixelRatioF();
    // The set a ratio is drawn from, at the scales ctest runs and either side
    // of the bounds: 2 itself takes the 2x set.
    const std::map<double, int> sets = {{1.0, 1}, {1.01, 2}, {1.5, 2}, {2.0, 2}, {2.01, 3}, {3.0, 3}};
    for (const auto& [r, set] : sets) EXPECT_EQ(SheetScaleFor(r), set) << "ratio " << r;
    ASSERT_TRUE(sets.contains(ratio)) << "no row for scale " << ratio;
    const int scale = sets.at(ratio);
    QWidget* box = form.findChild<QWidget*>("box");
    const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (scale == 1) {
        EXPECT_TRUE(shown == form.surface().Image());
        return;
    }
    const QImage* large = const_cast<BoardSurface&>(form.surface()).ImageAt(scale);
    ASSERT_NE(large, nullptr);
    if (ratio == scale) {
        EXPECT_TRUE(shown == *large) << "scale " << scale;
        const QImage display =
            form.findChild<QWidget*>("levelbox")->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const SpriteSheets& sheets = scale == 2 ? twice : thrice;
        EXPECT_TRUE(
            display ==
            PaintLevelDisplay(sheets.LevelDigits, 1, false, scale).convertToFormat(QImage::Format_RGB32));
    } else {
        EXPECT_EQ(shown.size(), QSize(std::lround(500 * ratio), std::lround(333 * ratio)));
        // Between the sets the dots are whole pixels of the 1x display, never a blend of two.
        const QImage display =
            form.findChild<QWidget*>("levelbox")->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage own =
            PaintLevelDisplay(NoiseSheets().LevelDigits, 1, false).convertToFormat(QImage::Format_RGB32);
        QSet<QRgb> colours;
        for (int y = 0; y < own.height(); ++y)
            for (int x = 0; x < own.width(); ++x) colours.insert(own.pixel(x, y));
        int blended = 0;
        for (int y = 0; y < display.height(); ++y)
            for (int x = 0; x < display.width(); ++x)
                blended += colours.contains(display.pixel(x, y)) ? 0 : 1;
        EXPECT_EQ(blended, 0) << "of " << display.width() * display.height() << " pixels";
    }
}

}  // namespace
