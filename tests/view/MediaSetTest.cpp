// The committed media: the layout the game's lists hold, and that the
// generator still makes exactly these bytes.
#include <gtest/gtest.h>

#include <array>

#include "core/LevelRecord.h"
#include "core/LittleEndian.h"
#include "core/Piece.h"
#include "tests/support/Levels.h"
#include "tools/levels/FloorMotifs.h"
#include "tools/mediagen/MediaSet.h"
#include "tools/mediagen/Metrics.h"
#include "view/codec/BitmapImage.h"
#include "view/codec/MediaItem.h"
#include "view/codec/PackedStream.h"
#include "view/codec/WaveImage.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::string& relative) {
    return testlevels::ReadAll(std::string(AQUENDO_MEDIA_DIR) + "/" + relative);
}

struct Entry {
    const char* path;
    std::uint8_t flags;
    std::uint16_t ident;
    std::size_t unpacked;
};

constexpr std::array<Entry, 10> kTable = {{
    {"waves/0.item", 9, 0, 19450},
    {"waves/1.item", 13, 1, 34310},
    {"waves/2.item", 13, 2, 2342},
    {"waves/3.item", 13, 3, 25290},
    {"bitmaps/0.item", 13, 3, 233334},
    {"bitmaps/1.item", 9, 0, 248886},
    {"bitmaps/2.item", 13, 1, 3510},
    {"bitmaps/3.item", 13, 2, 499554},
    {"bitmaps/4.item", 13, 6, 4038},
    {"bitmaps/5.item", 12, 4, 3558},
}};

class MediaSet : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (std::size_t i = 0; i < kTable.size(); ++i) {
            stored[i] = ReadFile(kTable[i].path);
            ASSERT_EQ(ReadMediaItem(stored[i], items[i]), "") << kTable[i].path;
        }
    }
    static const MediaItem& Bitmap(int n) { return items[4 + n]; }
    static const MediaItem& Wave(int n) { return items[n]; }

    static std::array<Bytes, 10> stored;
    static std::array<MediaItem, 10> items;
};
std::array<Bytes, 10> MediaSet::stored;
std::array<MediaItem, 10> MediaSet::items;

TEST_F(MediaSet, FlagsIdentsAndSizesAreThoseOfTheLists) {
    for (std::size_t i = 0; i < kTable.size(); ++i) {
        const Entry& e = kTable[i];
        EXPECT_EQ(stored[i][0], e.flags) << e.path;
        EXPECT_EQ(items[i].ident, e.ident) << e.path;
        EXPECT_EQ(items[i].data.size(), e.unpacked) << e.path;
        EXPECT_EQ(items[i].description, "") << e.path;
        EXPECT_EQ(items[i].pixelFormat, 0) << e.path;
        // The file image's own header names the same size.
        const std::size_t own =
            i < 4 ? ReadUint32(items[i].data.data() + 4) + 8 : ReadUint32(items[i].data.data() + 2);
        EXPECT_EQ(own, e.unpacked) << e.path;
    }
}

TEST_F(MediaSet, RepackingGivesBackEveryStoredBlock) {
    for (std::size_t i = 0; i < kTable.size(); ++i) {
        EXPECT_EQ(WriteMediaItem(items[i]), stored[i]) << kTable[i].path;
        if (!items[i].compressed) continue;
        const std::size_t streamAt = items[i].ident != 0 ? 5 : 1;
        const auto blocks = StreamBlocks(std::span(stored[i]).subspan(streamAt));
        EXPECT_EQ(blocks.size(), (items[i].data.size() + 32780) / 32781) << kTable[i].path;
    }
}

TEST_F(MediaSet, WavesAreEightBitMonoWithFmtThenData) {
    const std::array<int, 4> rates = {22050, 11025, 11025, 11025};
    const std::array<std::size_t, 4> samples = {19406, 34265, 2298, 25246};
    for (int n = 0; n < 4; ++n) {
        const Bytes& image = Wave(n).data;
        WaveImage info;
        ASSERT_EQ(ReadWaveImage(image, info), "");
        EXPECT_EQ(info.formatTag, 1);
        EXPECT_EQ(info.channels, 1);
        EXPECT_EQ(info.bitsPerSample, 8);
        EXPECT_EQ(info.sampleRate, rates[n]);
        EXPECT_EQ(ReadUint32(image.data() + 16), 16u) << "a 16-byte fmt chunk";
        EXPECT_EQ(info.dataOffset, 44u) << "data straight after fmt";
        EXPECT_EQ(info.dataSize, samples[n]);
        // No click: silence at both ends, and no sudden step near them.
        const std::uint8_t* s = image.data() + info.dataOffset;
        EXPECT_EQ(s[0], 128);
        EXPECT_EQ(s[info.dataSize - 1], 128);
        int peak = 0;
        for (std::size_t k = 0; k < info.dataSize; ++k) peak = std::max(peak, std::abs(s[k] - 128));
        EXPECT_GT(peak, 40) << "loud enough to hear";
        EXPECT_LT(peak, 127) << "never clipped";
        for (std::size_t k = 1; k < 40; ++k) {
            EXPECT_LE(std::abs(s[k] - s[k - 1]), 12) << "sound " << n << " start " << k;
            EXPECT_LE(std::abs(s[info.dataSize - k] - s[info.dataSize - k - 1]), 12)
                << "sound " << n << " end " << k;
        }
    }
}

TEST_F(MediaSet, SoundsOfOneLoudnessAndTheFlowWithinTheWatersRise) {
    std::array<SoundFigures, 4> figures;
    for (int n = 0; n < 4; ++n) {
        WaveImage info;
        ASSERT_EQ(ReadWaveImage(Wave(n).data, info), "");
        figures[n] = MeasureSound(Wave(n).data.data() + info.dataOffset, info.dataSize, info.sampleRate);
    }
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b)
            EXPECT_LE(figures[a].rmsDb - figures[b].rmsDb, 3.0) << a << " against " << b;
    EXPECT_LE(figures[0].bodyMs, 300);
    EXPECT_LE(figures[0].tailMs, 450);
    EXPECT_LE(figures[3].centroidHz, figures[1].centroidHz) << "time up no harsher than solved";
    EXPECT_LE(figures[3].above2kHz, figures[1].above2kHz);
}

// Pixel (x, y) of an uncompressed 24-bit bitmap file, as R, G, B.
std::array<int, 3> Pixel(const Bytes& bmp, int x, int y) {
    const int width = static_cast<int>(ReadUint32(bmp.data() + 18));
    const int height = static_cast<int>(ReadUint32(bmp.data() + 22));
    const std::size_t row = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    const std::uint8_t* p = bmp.data() + ReadUint32(bmp.data() + 10) + (height - 1 - y) * row + x * 3;
    return {p[2], p[1], p[0]};
}

// Width, height and bits per pixel of the six bitmaps.
constexpr std::array<std::array<int, 3>, 6> kShapes = {
    {{432, 180, 24}, {288, 288, 24}, {96, 12, 24}, {500, 333, 24}, {148, 20, 8}, {121, 20, 8}}};

TEST_F(MediaSet, BitmapHeadersAreThoseTheGameLoads) {
    const auto& shape = kShapes;
    for (int n = 0; n < 6; ++n) {
        const Bytes& bmp = Bitmap(n).data;
        EXPECT_EQ(bmp[0], 'B');
        EXPECT_EQ(bmp[1], 'M');
        EXPECT_EQ(ReadUint32(bmp.data() + 14), 40u);
        EXPECT_EQ(static_cast<int>(ReadUint32(bmp.data() + 18)), shape[n][0]);
        EXPECT_EQ(static_cast<int>(ReadUint32(bmp.data() + 22)), shape[n][1]) << "positive: rows bottom-up";
        EXPECT_EQ(ReadUint16(bmp.data() + 28), shape[n][2]);
        EXPECT_EQ(ReadUint32(bmp.data() + 30), 0u) << "uncompressed";
        EXPECT_EQ(ReadUint32(bmp.data() + 10), shape[n][2] == 8 ? 54u + 1024u : 54u);
    }
}

TEST_F(MediaSet, MaskAndWaterAgreeSoAndThenOrLeavesNoFringe) {
    const Bytes& strip = Bitmap(2).data;
    int disc = 0, green = 0;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const auto mask = Pixel(strip, 72 + x, y);
            const bool inside = mask == std::array<int, 3>{0, 0, 0};
            ASSERT_TRUE(inside || mask == (std::array<int, 3>{255, 255, 255})) << x << "," << y;
            for (int tile : {0, 1, 2, 3, 4, 5, 7}) {
                if (!inside) {
                    EXPECT_EQ(Pixel(strip, 12 * tile + x, y), (std::array<int, 3>{0, 0, 0})) << tile;
                }
            }
            if (inside) {
                const auto full = Pixel(strip, 60 + x, y);
                ++disc;
                green += full[1] > full[0] + 60 && full[1] > full[2] + 60;
            }
        }
    }
    EXPECT_GE(disc, 100) << "the disc fills the square";
    EXPECT_GT(green, disc * 8 / 10) << "full water is green";
}

TEST_F(MediaSet, RestFramesShowThePieceTableOpeningsAndTheEmptyMouth) {
    const Bytes& sheet = Bitmap(0).data;
    const Bytes& strip = Bitmap(2).data;
    // Just inside the cell's edge, in the middle of each side: right, up, left, down.
    const std::array<std::array<int, 2>, 4> probe = {{{33, 18}, {18, 2}, {2, 18}, {18, 33}}};
    for (int type = 1; type <= 5; ++type) {
        for (int orientation = 0; orientation < 4; ++orientation) {
            const int code = 8 * orientation + type;
            const int x0 = 108 * orientation, y0 = 36 * (type - 1);
            for (int d = 0; d < 4; ++d) {
                const auto p = Pixel(sheet, x0 + probe[d][0], y0 + probe[d][1]);
                const bool copper = p[0] - p[1] > 45;
                EXPECT_EQ(copper, HasOpening(static_cast<std::uint8_t>(code), static_cast<Direction>(d)))
                    << "code " << code << " direction " << d;
            }
            // A dry piece's blob square shows exactly the empty water tile where the mask paints.
            for (int y = 0; y < 12; ++y) {
                for (int x = 0; x < 12; ++x) {
                    if (Pixel(strip, 72 + x, y)[0] == 0) {
                        EXPECT_EQ(Pixel(sheet, x0 + 12 + x, y0 + 12 + y), Pixel(strip, x, y)) << code;
                    }
                }
            }
        }
    }
}

// Bitmap n's pixels; a fatal failure, not a read beyond them, when it does
// not decode to its size.
void Decode(const Bytes& bmp, int n, Picture& picture) {
    BitmapImage image;
    ASSERT_EQ(ReadBitmapImage(bmp, image), "") << "bitmap " << n;
    ASSERT_EQ(image.width, kShapes[n][0]) << "bitmap " << n;
    ASSERT_EQ(image.height, kShapes[n][1]) << "bitmap " << n;
    ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(image.width) * image.height) << "bitmap " << n;
    picture = {image.width, image.height, std::move(image.pixels)};
}

TEST_F(MediaSet, PipesAndWaterReadAtAGlance) {
    Picture sheet;
    ASSERT_NO_FATAL_FAILURE(Decode(Bitmap(0).data, 0, sheet));
    for (int type = 1; type <= 5; ++type) {
        for (int orientation = 0; orientation < 4; ++orientation) {
            const auto code = static_cast<std::uint8_t>(8 * orientation + type);
            for (int d = 0; d < 4; ++d) {
                if (!HasOpening(code, static_cast<Direction>(d))) continue;
                const PipeAtEdge pipe = MeasurePipeAtEdge(sheet, 108 * orientation, 36 * (type - 1), d);
                EXPECT_GE(pipe.width, 10) << "code " << int(code) << " side " << d;
                EXPECT_GE(pipe.contrast, 3.0) << "code " << int(code) << " side " << d;
            }
        }
    }
    Picture strip;
    ASSERT_NO_FATAL_FAILURE(Decode(Bitmap(2).data, 2, strip));
    for (auto eye : {+[](std::uint32_t c) { return c; }, &AsDeuteranope, &AsProtanope}) {
        double full = 0, empty = 0;
        int n = 0;
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 12; ++x) {
                if ((strip.At(72 + x, y) & 0xffffff) != 0) continue;
                full += RelativeLuminance(eye(strip.At(60 + x, y) & 0xffffff));
                empty += RelativeLuminance(eye(strip.At(x, y) & 0xffffff));
                ++n;
            }
        }
        EXPECT_GE(ContrastRatio(full / n, empty / n), 4.5);
    }
}

// Every floor tile a pipe can end against, on each of the four sides of a
// straight piece.
TEST_F(MediaSet, PipesStandOutAgainstEveryFloorTile) {
    Picture pieces;
    ASSERT_NO_FATAL_FAILURE(Decode(Bitmap(0).data, 0, pieces));
    Picture floor;
    ASSERT_NO_FATAL_FAILURE(Decode(Bitmap(1).data, 1, floor));
    for (int f = 0; f < 64; ++f) {
        if (f == kBareFloor) continue;
        for (int side = 0; side < 4; ++side)
            EXPECT_GE(PipeAgainstFloor(pieces, side % 2 ? 108 : 0, 36 * (Straight - 1), side, floor,
                                       36 * (f & 7), 36 * (f >> 3)),
                      3.0)
                << "tile " << f << " side " << side;
    }
}

TEST_F(MediaSet, ContinuousFloorsShowNoSeam) {
    Picture floor;
    ASSERT_NO_FATAL_FAILURE(Decode(Bitmap(1).data, 1, floor));
    // Cobbles, planks, carpets, flagstones, marble, granite, tread plate, rusty plate.
    for (int f : {1, 3, 47, 53, 4, 54, 55, 56, 57, 58, 23, 25, 26, 31, 39}) {
        const SeamRatio r = MeasureSeam(floor, 36 * (f & 7), 36 * (f >> 3), 36);
        EXPECT_LE(r.columns, 1.5) << "tile " << f;
        EXPECT_LE(r.rows, 1.5) << "tile " << f;
    }
}

// The level generator lays floors from the tables, the drawing paints from
// them: every tile but 7 belongs to one texture or one motif, and is drawn.
TEST_F(MediaSet, FloorTablesAndTheDrawnSheetAgree) {
    std::array<int, 64> owners{};
    for (std::uint8_t code : kFloorTextures) ++owners[code];
    for (const FloorMotif& m : kFloorMotifs)
        for (int j = 0; j < m.height; ++j)
            for (int i = 0; i < m.width; ++i) ++owners[static_cast<std::size_t>(m.corner + i + 8 * j)];
    const Bytes& floor = Bitmap(1).data;
    for (int code = 0; code < 64; ++code) {
        EXPECT_EQ(owners[static_cast<std::size_t>(code)], code == 7 ? 0 : 1) << "tile " << code;
        int lit = 0;
        for (int y = 0; y < 36; ++y)
            for (int x = 0; x < 36; ++x)
                if (Pixel(floor, 36 * (code & 7) + x, 36 * (code >> 3) + y) != std::array<int, 3>{0, 0, 0})
                    ++lit;
        if (code != 7) {
            EXPECT_GT(lit, 36 * 36 / 2) << "tile " << code;
        }
    }
}

TEST_F(MediaSet, FixedPartsOfTheFloorAndTheBackground) {
    const Bytes& floor = Bitmap(1).data;
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 36; ++x) ASSERT_EQ(Pixel(floor, 7 * 36 + x, y), (std::array<int, 3>{0, 0, 0}));

    const Bytes& back = Bitmap(3).data;
    const std::array<int, 3> black = {0, 0, 0};
    for (int x = 0; x < 500; ++x)
        for (int y : {0, 1, 2, 330, 331, 332}) ASSERT_EQ(Pixel(back, x, y), black) << x << "," << y;
    for (int y = 0; y < 333; ++y)
        for (int x : {0, 1, 2, 497, 498, 499}) ASSERT_EQ(Pixel(back, x, y), black) << x << "," << y;
    EXPECT_NE(Pixel(back, 3, 100), black);
    for (int left : {410, 450}) {
        for (int y = 130; y <= 309; ++y)
            for (int x = left; x < left + 22; ++x) ASSERT_EQ(Pixel(back, x, y), black) << x << "," << y;
        EXPECT_NE(Pixel(back, left - 1, 200), black);
        EXPECT_NE(Pixel(back, left + 22, 200), black);
        EXPECT_NE(Pixel(back, left + 5, 129), black);
        EXPECT_NE(Pixel(back, left + 5, 310), black);
    }
}

TEST_F(MediaSet, DigitSheetsKeepTheirGrid) {
    for (int n : {4, 5}) {
        const Bytes& bmp = Bitmap(n).data;
        const int width = static_cast<int>(ReadUint32(bmp.data() + 18));
        const std::size_t row = (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
        const std::uint8_t* palette = bmp.data() + 54;
        auto index = [&](int x, int y) { return bmp[54 + 1024 + (19 - y) * row + x]; };
        auto brightness = [&](int x, int y) {
            const std::uint8_t* c = palette + 4 * index(x, y);
            return c[0] + c[1] + c[2];
        };
        // Lit dots are bright; glyph 10 has none, every digit some.
        auto litPixels = [&](int glyph) {
            int lit = 0;
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 11; ++x) lit += brightness(11 * glyph + x, y) > 300;
            return lit;
        };
        EXPECT_EQ(litPixels(10), 0);
        for (int g = 0; g < 10; ++g) EXPECT_GT(litPixels(g), 20) << "digit " << g;
        if (n == 4) {
            for (int y = 0; y < 20; ++y) EXPECT_EQ(brightness(121, y), 0) << "the black column";
            EXPECT_GT(brightness(128, 10), 300) << "the smiling face";
            EXPECT_GT(brightness(141, 10), 100) << "the frowning face";
        }
    }
}

TEST_F(MediaSet, ScaledSetsAreTheSameLayoutsTimesTheirScale) {
    for (int scale : kScaledSets) {
        for (int n = 0; n < 6; ++n) {
            const Bytes item =
                ReadFile("scaled/" + std::to_string(scale) + "/bitmaps/" + std::to_string(n) + ".item");
            MediaItem scaled;
            ASSERT_EQ(ReadMediaItem(item, scaled), "") << scale << "/" << n;
            const Bytes& small = Bitmap(n).data;
            for (int field : {18, 22})
                EXPECT_EQ(ReadUint32(scaled.data.data() + field), ReadUint32(small.data() + field) * scale);
            EXPECT_EQ(scaled.ident, Bitmap(n).ident);
        }
    }
}

TEST_F(MediaSet, GeneratorMakesTheCommittedBytes) {
    const std::vector<MediaFile> made = BuildMediaSet(kDefaultMediaSeed);
    ASSERT_EQ(made.size(), kTable.size());
    for (std::size_t i = 0; i < made.size(); ++i) {
        EXPECT_EQ(made[i].path, kTable[i].path);
        EXPECT_TRUE(made[i].item == stored[i])
            << made[i].path << " differs: run aquendo-mediagen write media";
    }
    for (int scale : kScaledSets)
        for (const MediaFile& file : BuildScaledSet(kDefaultMediaSeed, scale))
            EXPECT_TRUE(file.item == ReadFile(file.path))
                << file.path << " differs: run aquendo-mediagen write media";
}

}  // namespace
