#include <gtest/gtest.h>

#include <QPainter>

#include "view/MediaLibrary.h"
#include "view/codec/MediaItem.h"

namespace {

QByteArray Stored(const MediaItem& item) {
    const std::vector<std::uint8_t> bytes = WriteMediaItem(item);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

QByteArray WaveItem(const QByteArray& image) {
    MediaItem item;
    item.compressed = true;
    item.hasData = !image.isEmpty();
    item.data.assign(image.begin(), image.end());
    return Stored(item);
}

TEST(MediaLibrary, BuiltInSheetsAreOpaqueRgb32OfTheirSizes) {
    const MediaLibrary media = MediaLibrary::LoadBuiltIn();
    for (int i = 0; i < MediaLibrary::kBitmapCount; ++i) {
        EXPECT_EQ(media.Bitmap(i).format(), QImage::Format_RGB32) << i;
        EXPECT_EQ(media.Bitmap(i).size(), MediaLibrary::BitmapSize(i)) << i;
    }
    for (int i = 0; i < MediaLibrary::kWaveCount; ++i) EXPECT_TRUE(media.Wave(i).startsWith("RIFF")) << i;
    EXPECT_EQ(media.Wave(1).size(), 34310);
    // The palettised digit sheets keep their colours: glyph 10 is unlit, dark.
    EXPECT_LT(qGray(media.Bitmap(MediaLibrary::TimeDigits).pixel(11 * 10, 0)), 60);
}

TEST(MediaLibrary, BuiltInLargerSetsHaveEverySizeTimesTheirScale) {
    EXPECT_EQ(MediaLibrary::BuiltInScaled(1), nullptr);
    EXPECT_EQ(MediaLibrary::BuiltInScaled(4), nullptr);
    const MediaLibrary media = MediaLibrary::LoadBuiltIn();
    for (int scale : {2, 3}) {
        const SpriteSheets* sheets = MediaLibrary::BuiltInScaled(scale);
        ASSERT_NE(sheets, nullptr) << scale;
        EXPECT_EQ(MediaLibrary::BuiltInScaled(scale), sheets) << "unpacked once";
        const SpriteSheets one = media.Sheets();
        const std::array<std::pair<const QImage*, const QImage*>, 6> pairs = {{
            {&sheets->PieceSheet, &one.PieceSheet},
            {&sheets->FloorSheet, &one.FloorSheet},
            {&sheets->WaterStrip, &one.WaterStrip},
            {&sheets->BackgroundImage, &one.BackgroundImage},
            {&sheets->LevelDigits, &one.LevelDigits},
            {&sheets->TimeDigits, &one.TimeDigits},
        }};
        for (const auto& [large, small] : pairs) {
            EXPECT_EQ(large->size(), small->size() * scale);
            EXPECT_EQ(large->format(), QImage::Format_RGB32);
        }
        // The mask is the same disc, drawn finer: black inside, white outside.
        const QImage& strip = sheets->WaterStrip;
        EXPECT_EQ(strip.pixel(72 * scale + 6 * scale, 6 * scale), 0xFF000000u);
        EXPECT_EQ(strip.pixel(72 * scale, 0), 0xFFFFFFFFu);
    }
    // A set whose pictures are not the scale's size is refused with the reason.
    QString error;
    EXPECT_FALSE(MediaLibrary::LoadScaled(MediaLibrary::BuiltInBitmapItems(), 2, error));
    EXPECT_TRUE(error.contains("instead of 864 x 360")) << error.toStdString();
}

// The game decodes its bitmaps itself, off the window system's thread; Qt's
// own reader is the yardstick.
TEST(MediaLibrary, BuiltInSheetsDecodeAsQtDecodesThem) {
    const MediaLibrary media = MediaLibrary::LoadBuiltIn();
    const MediaLibrary::BitmapItems items = MediaLibrary::BuiltInBitmapItems();
    for (int i = 0; i < MediaLibrary::kBitmapCount; ++i) {
        MediaItem item;
        ASSERT_EQ(ReadMediaItem({reinterpret_cast<const std::uint8_t*>(items[i].constData()),
                                 static_cast<std::size_t>(items[i].size())},
                                item),
                  "");
        const QImage qt = QImage::fromData(item.data.data(), static_cast<int>(item.data.size()), "BMP");
        EXPECT_EQ(media.Bitmap(i), qt.convertToFormat(QImage::Format_RGB32)) << i;
    }
}

TEST(MediaLibrary, MaskThenWaterLeavesThePieceAroundTheBlob) {
    // The game's blob: AND the mask, OR the full tile, onto a piece.
    const MediaLibrary media = MediaLibrary::LoadBuiltIn();
    const QImage& pieces = media.Bitmap(MediaLibrary::PieceSheet);
    const QImage& water = media.Bitmap(MediaLibrary::WaterStrip);
    QImage cell = pieces.copy(0, 36, 36, 36);
    QPainter p(&cell);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(QPoint(12, 12), water, QRect(72, 0, 12, 12));
    p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    p.drawImage(QPoint(12, 12), water, QRect(60, 0, 12, 12));
    p.end();
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 36; ++x) {
            const bool inBlob = x >= 12 && x < 24 && y >= 12 && y < 24;
            const bool masked = inBlob && qRed(water.pixel(72 + x - 12, y - 12)) == 0;
            const QRgb expected = masked ? water.pixel(60 + x - 12, y - 12) : pieces.pixel(x, 36 + y);
            ASSERT_EQ(cell.pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(MediaLibrary, RefusesDamagedItemsAndImagesThatAreNotWaves) {
    const auto waves = MediaLibrary::BuiltInWaveItems();
    const auto bitmaps = MediaLibrary::BuiltInBitmapItems();
    struct Case {
        const char* what;
        MediaLibrary::WaveItems waves;
        MediaLibrary::BitmapItems bitmaps;
        const char* error;
    };
    std::vector<Case> cases;
    auto wavesWith = [&](int i, QByteArray item) {
        auto w = waves;
        w[i] = item;
        return w;
    };
    auto bitmapsWith = [&](int i, QByteArray item) {
        auto b = bitmaps;
        b[i] = item;
        return b;
    };
    cases.push_back({"cut wave item", wavesWith(1, waves[1].left(1000)), bitmaps, "wave 1"});
    cases.push_back({"not a wave", wavesWith(2, WaveItem("RIFX....WAVEfmt ................")), bitmaps,
                     "wave 2: invalid wave image"});
    cases.push_back({"cut bitmap item", waves, bitmapsWith(3, bitmaps[3].chopped(1)), "bitmap 3"});
    cases.push_back({"sheets swapped", waves, bitmapsWith(0, bitmaps[1]), "bitmap 0: 288 x 288"});
    for (const Case& c : cases) {
        QString error;
        EXPECT_FALSE(MediaLibrary::Load(c.waves, c.bitmaps, error)) << c.what;
        EXPECT_TRUE(error.startsWith(c.error)) << c.what << ": " << error.toStdString();
    }
    // A wave item without data is an empty wave, not an error.
    QString error;
    const auto media = MediaLibrary::Load(wavesWith(0, WaveItem({})), bitmaps, error);
    ASSERT_TRUE(media) << error.toStdString();
    EXPECT_TRUE(media->Wave(0).isEmpty());
}

TEST(MediaLibraryDeathTest, BrokenMediaStopTheProgram) {
    auto waves = MediaLibrary::BuiltInWaveItems();
    waves[3] = WaveItem("not a wave at all, not even close to one");
    EXPECT_DEATH(MediaLibrary::LoadOrStop(waves, MediaLibrary::BuiltInBitmapItems()), "invalid wave image");
}

}  // namespace
