#include <gtest/gtest.h>

#include <cstring>

#include "tools/mediagen/FileImages.h"
#include "view/codec/BitmapImage.h"

namespace {

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// 3 x 2 pixels, so each 24-bit row carries three bytes of padding.
std::vector<std::uint8_t> Small24() {
    return BitmapFile24(3, 2,
                        {255, 0, 0, 0, 255, 0, 0, 0, 255,  //
                         1, 2, 3, 4, 5, 6, 7, 8, 9});
}

TEST(BitmapImage, DecodesRowsTopFirstWithColoursInPlace) {
    BitmapImage image;
    ASSERT_EQ(ReadBitmapImage(Small24(), image), "");
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{0xffff0000, 0xff00ff00, 0xff0000ff,  //
                                                        0xff010203, 0xff040506, 0xff070809}));

    // A negative height stores the rows top first.
    std::vector<std::uint8_t> topDown = Small24();
    Put32(topDown, 22, static_cast<std::uint32_t>(-2));
    std::swap_ranges(topDown.begin() + 54, topDown.begin() + 66, topDown.begin() + 66);
    ASSERT_EQ(ReadBitmapImage(topDown, image), "");
    EXPECT_EQ(image.pixels[0], 0xffff0000);
    EXPECT_EQ(image.pixels[5], 0xff070809);

    std::array<std::uint32_t, 256> palette{};
    palette[0] = 0x102030;
    palette[7] = 0xabcdef;
    ASSERT_EQ(ReadBitmapImage(BitmapFile8(2, 1, palette, {7, 0}), image), "");
    EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{0xffabcdef, 0xff102030}));
}

TEST(BitmapImage, RefusesWhatItCannotReadWholly) {
    std::array<std::uint32_t, 256> palette{};
    const std::vector<std::uint8_t> eight = BitmapFile8(2, 1, palette, {7, 0});
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<std::uint8_t> small = Small24();
    std::vector<Case> cases;
    auto changed = [](std::vector<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
        Put32(bytes, at, value);
        return bytes;
    };
    cases.push_back({"empty", {}});
    cases.push_back({"not BM", changed(Small24(), 0, 0x4d42 << 8)});
    cases.push_back({"pixels cut", std::vector<std::uint8_t>(small.begin(), small.end() - 1)});
    cases.push_back({"header too small", changed(Small24(), 14, 12)});
    cases.push_back({"header past the end", changed(Small24(), 14, 1000)});
    cases.push_back({"packed", changed(Small24(), 30, 1)});
    cases.push_back({"16 bits", changed(Small24(), 28, 16)});
    cases.push_back({"no width", changed(Small24(), 18, 0)});
    cases.push_back({"negative width", changed(Small24(), 18, static_cast<std::uint32_t>(-3))});
    cases.push_back({"huge", changed(changed(Small24(), 18, 1u << 20), 22, 1u << 20)});
    cases.push_back({"pixels before the headers", changed(Small24(), 10, 20)});
    cases.push_back({"pixels past the end", changed(Small24(), 10, 0xffffffff)});
    // Two palette entries, and a pixel of index 7.
    cases.push_back({"index past the palette", changed(eight, 46, 2)});
    cases.push_back({"palette cut", std::vector<std::uint8_t>(eight.begin(), eight.begin() + 54 + 100)});

    for (const Case& c : cases) {
        BitmapImage image;
        image.width = 9;
        EXPECT_NE(ReadBitmapImage(c.bytes, image), "") << c.what;
        EXPECT_EQ(image.width, 0) << c.what;
        EXPECT_TRUE(image.pixels.empty()) << c.what;
    }
}

}  // namespace
