#include <gtest/gtest.h>

#include "tests/support/NoiseSheets.h"
#include "view/DigitDisplay.h"
#include "view/Gauge.h"

namespace {

TEST(Digits, LeadingZerosAreBlank) {
    using G = std::array<int, 3>;
    EXPECT_EQ(ThreeDigitGlyphs(0), (G{10, 10, 0}));
    EXPECT_EQ(ThreeDigitGlyphs(7), (G{10, 10, 7}));
    EXPECT_EQ(ThreeDigitGlyphs(40), (G{10, 4, 0}));
    EXPECT_EQ(ThreeDigitGlyphs(100), (G{1, 0, 0}));
    EXPECT_EQ(ThreeDigitGlyphs(305), (G{3, 0, 5}));
    EXPECT_EQ(ThreeDigitGlyphs(999), (G{9, 9, 9}));
    EXPECT_EQ(ThreeDigitGlyphs(1234), (G{9, 9, 9}));
    EXPECT_EQ(ThreeDigitGlyphs(-3), (G{10, 10, 0}));
}

// Glyph g of the sheet must sit at 13 k with black between the glyphs.
void ExpectGlyphs(const QImage& display, const QImage& sheet, std::array<int, 3> glyphs) {
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(display.copy(13 * k, 0, 11, 20), sheet.copy(11 * glyphs[k], 0, 11, 20)) << k;
    for (int x : {11, 12, 24, 25})
        for (int y = 0; y < 20; ++y) ASSERT_EQ(display.pixel(x, y), 0xFF000000u) << x << "," << y;
}

TEST(Digits, TimeAndLevelDisplaysCopyTheirGlyphs) {
    const SpriteSheets sheets = NoiseSheets();
    const QImage time = PaintTimeDisplay(sheets.TimeDigits, 40);
    ASSERT_EQ(time.size(), QSize(41, 20));
    ExpectGlyphs(time, sheets.TimeDigits, {10, 4, 0});

    const QImage unsolved = PaintLevelDisplay(sheets.LevelDigits, 1, false);
    ASSERT_EQ(unsolved.size(), QSize(57, 20));
    ExpectGlyphs(unsolved, sheets.LevelDigits, {10, 10, 1});
    EXPECT_EQ(unsolved.copy(42, 0, 13, 20), sheets.LevelDigits.copy(135, 0, 13, 20));
    const QImage solved = PaintLevelDisplay(sheets.LevelDigits, 123, true);
    ExpectGlyphs(solved, sheets.LevelDigits, {1, 2, 3});
    EXPECT_EQ(solved.copy(42, 0, 13, 20), sheets.LevelDigits.copy(122, 0, 13, 20));
}

// The first red row of the gauge, 180 when none.
int FirstRedRow(const QImage& gauge) {
    for (int y = 0; y < gauge.height(); ++y)
        if (gauge.pixel(10, y) == 0xFFFF0000u) return y;
    return gauge.height();
}

TEST(Gauge, BarGrowsInWholePercentSteps) {
    struct Case {
        int percent;
        int firstRed;
    };
    // h = 181 * P / 100, the bar from 181 - h; a full bar leaves row 0 black.
    for (const Case& c :
         {Case{0, 180}, Case{1, 180}, Case{2, 178}, Case{50, 91}, Case{99, 2}, Case{100, 1}}) {
        const QImage gauge = TGauge::Render(QSize(22, 180), c.percent);
        EXPECT_EQ(FirstRedRow(gauge), c.firstRed) << c.percent;
        for (int y = c.firstRed; y < 180; ++y)
            for (int x = 0; x < 22; ++x) ASSERT_EQ(gauge.pixel(x, y), 0xFFFF0000u) << c.percent;
        for (int y = 0; y < c.firstRed; ++y)
            for (int x = 0; x < 22; ++x) ASSERT_EQ(gauge.pixel(x, y), 0xFF000000u) << c.percent;
    }
}

TEST(Gauge, ValueMaximumAndPercent) {
    TGauge gauge(nullptr);
    gauge.resize(22, 180);
    gauge.SetMaximum(330);
    gauge.SetProgress(6);
    EXPECT_EQ(gauge.Percent(), 1);
    gauge.SetProgress(330);
    EXPECT_EQ(gauge.Percent(), 100);
    gauge.SetProgress(400);
    EXPECT_EQ(gauge.Progress(), 330) << "progress is clamped to the maximum";
    gauge.SetMaximum(20);
    EXPECT_EQ(gauge.Progress(), 20) << "a lower maximum lowers the progress";
    gauge.SetProgress(-4);
    EXPECT_EQ(gauge.Progress(), 0);
    gauge.SetMaximum(0);
    EXPECT_EQ(gauge.Percent(), 0);
}

}  // namespace
