// The figures aquendo-mediagen metrics prints, on pictures and sounds whose
// answers are known.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/mediagen/Metrics.h"

namespace {

TEST(MediaMetrics, ContrastOfKnownColours) {
    struct Row {
        std::uint32_t a, b;
        double ratio;
    };
    const Row rows[] = {
        {0xFFFFFF, 0x000000, 21.0},
        {0x000000, 0xFFFFFF, 21.0},
        {0x777777, 0x777777, 1.0},
        {0x767676, 0xFFFFFF, 4.54},  // the grey that just passes 4.5:1 on white
    };
    for (const Row& r : rows)
        EXPECT_NEAR(ContrastRatio(RelativeLuminance(r.a), RelativeLuminance(r.b)), r.ratio, 0.01)
            << std::hex << r.a;
    // Red and green of equal luminance to the eye stay apart only in colour: a red-green
    // blind viewer sees them close together, grey stays grey.
    EXPECT_EQ(AsDeuteranope(0x808080), 0x808080u);
    EXPECT_EQ(AsProtanope(0xFFFFFF), 0xFFFFFFu);
    const double red = RelativeLuminance(AsDeuteranope(0xD03020)),
                 green = RelativeLuminance(AsDeuteranope(0x508020));
    EXPECT_LT(ContrastRatio(red, green), 1.3);
}

Picture Filled(int size, std::uint32_t colour) {
    return {size, size,
            std::vector<std::uint32_t>(static_cast<std::size_t>(size) * size, 0xff000000 | colour)};
}

TEST(MediaMetrics, PipeAtTheEdgeOfACell) {
    // A dark pipe 10 pixels wide leaves the cell on the right; the other sides are bare.
    Picture cell = Filled(36, 0xE0D0B0);
    for (int y = 13; y < 23; ++y)
        for (int x = 18; x < 36; ++x) cell.pixels[y * 36 + x] = 0xff603010;
    const PipeAtEdge right = MeasurePipeAtEdge(cell, 0, 0, 0);
    EXPECT_EQ(right.width, 10);
    EXPECT_NEAR(right.contrast, ContrastRatio(RelativeLuminance(0x603010), RelativeLuminance(0xE0D0B0)),
                0.01);
    for (int side : {1, 2, 3}) EXPECT_EQ(MeasurePipeAtEdge(cell, 0, 0, side).width, 0) << side;
}

TEST(MediaMetrics, SeamOfATileLaidBesideItself) {
    // A ramp across the tile jumps back at the seam; a zigzag of whole periods does not.
    Picture ramp = Filled(36, 0), wave = Filled(36, 0);
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 36; ++x) {
            const auto v = static_cast<std::uint32_t>(100 + 3 * x);
            ramp.pixels[y * 36 + x] = 0xff000000 | v << 16 | v << 8 | v;
            const auto w = static_cast<std::uint32_t>(100 + 10 * std::abs(x % 12 - 6));
            wave.pixels[y * 36 + x] = 0xff000000 | w << 16 | w << 8 | w;
        }
    }
    const SeamRatio r = MeasureSeam(ramp, 0, 0, 36);
    EXPECT_NEAR(r.columns, 35.0, 0.01) << "a step of 105 against steps of 3";
    const SeamRatio w = MeasureSeam(wave, 0, 0, 36);
    EXPECT_NEAR(w.columns, 1.0, 1e-9);
    EXPECT_NEAR(w.rows, 0.0, 1e-9) << "no step at all down the columns";
}

TEST(MediaMetrics, LoudnessAndLengthOfASound) {
    // Half a second of a 440 Hz sine at half of full scale, then silence.
    const int rate = 11025;
    std::vector<std::uint8_t> s(rate, 128);
    for (int i = 0; i < rate / 2; ++i)
        s[i] = static_cast<std::uint8_t>(std::lround(128 + 64 * std::sin(2 * 3.14159265 * 440 * i / rate)));
    const SoundFigures f = MeasureSound(s.data(), s.size(), rate);
    EXPECT_NEAR(f.seconds, 1.0, 1e-9);
    EXPECT_NEAR(f.rmsDb, -9.03, 0.2);
    EXPECT_NEAR(f.bodyMs, 500, 10);
    EXPECT_NEAR(f.tailMs, 500, 10);
    EXPECT_NEAR(f.centroidHz, 440, 60);
    EXPECT_LT(f.above2kHz, 0.01);
}

}  // namespace
