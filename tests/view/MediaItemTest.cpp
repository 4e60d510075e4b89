#include <gtest/gtest.h>

#include <filesystem>

#include "core/LittleEndian.h"
#include "tests/support/Levels.h"
#include "view/codec/MediaItem.h"
#include "view/codec/PackedBlock.h"
#include "view/codec/WaveImage.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Data(std::size_t n) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i * 7 / 5);
    return b;
}

TEST(MediaItem, WriterSetsEachFlagExactlyWhenItsFieldIsThere) {
    struct Case {
        bool compressed;
        std::string description;
        std::uint16_t ident;
        int pixelFormat;
        bool hasData;
        std::uint8_t flags;
    };
    const std::vector<Case> cases = {
        {false, "", 0, 0, false, 0},    {true, "", 0, 0, true, 9},       {true, "", 3, 0, true, 13},
        {false, "", 4, 0, true, 12},    {false, "wave", 0, 0, true, 10}, {true, "x", 0xFFFF, 3, true, 0x4F},
        {false, "", 1, 1, false, 0x14}, {false, "", 0, 2, true, 0x28},
    };
    for (const Case& c : cases) {
        MediaItem item;
        item.compressed = c.compressed;
        item.description = c.description;
        item.ident = c.ident;
        item.pixelFormat = c.pixelFormat;
        item.hasData = c.hasData;
        if (c.hasData) item.data = Data(100);
        const Bytes stored = WriteMediaItem(item);
        EXPECT_EQ(stored[0], c.flags);
        MediaItem back;
        ASSERT_EQ(ReadMediaItem(stored, back), "") << int(c.flags);
        EXPECT_EQ(back.compressed, c.compressed);
        EXPECT_EQ(back.description, c.description);
        EXPECT_EQ(back.ident, c.ident);
        EXPECT_EQ(back.pixelFormat, c.pixelFormat);
        EXPECT_EQ(back.hasData, c.hasData);
        EXPECT_EQ(back.data, item.data);
    }
}

TEST(MediaItem, FlagsTwelveHoldIdentAndALengthBeforeTheData) {
    const Bytes stored = {12, 4, 0, 0, 0, 3, 0, 0, 0, 'B', 'M', '!'};
    MediaItem item;
    ASSERT_EQ(ReadMediaItem(stored, item), "");
    EXPECT_EQ(item.ident, 4);
    EXPECT_FALSE(item.compressed);
    EXPECT_EQ(item.data, (Bytes{'B', 'M', '!'}));
}

TEST(MediaItem, FlagsNineHaveNoIdentField) {
    // Packed data straight after the flags: a stream of one stored block.
    const Bytes stored = {9, 7, 0, 0, 0, 3, 0, 0, 0, 128, 'h', 'i'};
    MediaItem item;
    ASSERT_EQ(ReadMediaItem(stored, item), "");
    EXPECT_EQ(item.ident, 0);
    EXPECT_EQ(item.data, (Bytes{'h', 'i'}));
}

TEST(MediaItem, IdentKeepsItsLow16Bits) {
    const Bytes stored = {4, 0x45, 0x23, 0x01, 0x80};
    MediaItem item;
    ASSERT_EQ(ReadMediaItem(stored, item), "");
    EXPECT_EQ(item.ident, 0x2345);
    EXPECT_FALSE(item.hasData);
}

TEST(MediaItem, DamagedItemsAreRefused) {
    MediaItem packed;
    packed.compressed = true;
    packed.ident = 2;
    packed.description = "abc";
    packed.hasData = true;
    packed.data = Data(40000);
    const Bytes good = WriteMediaItem(packed);

    struct Case {
        const char* what;
        Bytes stored;
    };
    std::vector<Case> cases = {
        {"empty", {}},
        {"flag bit 7", {0x80}},
        {"two pixel formats", {0x30}},
        {"description cut off", {2, 5, 'a', 'b'}},
        {"ident cut off", {4, 1, 0}},
        {"length cut off", {8, 1, 0, 0}},
        {"negative length", {8, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"data shorter than its length", {8, 5, 0, 0, 0, 1, 2}},
        {"bytes after the item", {8, 1, 0, 0, 0, 1, 2}},
    };
    Bytes longer = good;
    longer.push_back(0);
    cases.push_back({"bytes after a packed item", longer});
    // Every cut of a good item is damaged.
    for (std::size_t cut = 0; cut < good.size(); cut += cut < 64 ? 1 : 997)
        cases.push_back({"cut", Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut))});
    for (const Case& c : cases) {
        MediaItem item;
        EXPECT_NE(ReadMediaItem(c.stored, item), "") << c.what << " " << c.stored.size();
    }
    MediaItem item;
    EXPECT_EQ(ReadMediaItem(good, item), "");
    EXPECT_EQ(item.data, packed.data);
}

TEST(WaveImage, NeedsRiffSizeWaveAndFmt) {
    Bytes wave = {'R', 'I', 'F', 'F', 0,   0,   0,   0,   'W',  'A',  'V', 'E', 'f',  'm',  't', ' ',
                  16,  0,   0,   0,   1,   0,   1,   0,   0x11, 0x2B, 0,   0,   0x11, 0x2B, 0,   0,
                  1,   0,   8,   0,   'd', 'a', 't', 'a', 3,    0,    0,   0,   128,  129,  130, 0};
    WriteInt32(wave.data() + 4, static_cast<std::int32_t>(wave.size() - 8));
    WaveImage info;
    ASSERT_EQ(ReadWaveImage(wave, info), "");
    EXPECT_EQ(info.formatTag, 1);
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.sampleRate, 11025);
    EXPECT_EQ(info.bitsPerSample, 8);
    EXPECT_EQ(info.dataOffset, 44u);
    EXPECT_EQ(info.dataSize, 3u);

    for (std::size_t at : {0u, 3u, 8u, 11u, 12u, 15u}) {
        Bytes bad = wave;
        bad[at] ^= 0x20;
        EXPECT_NE(ReadWaveImage(bad, info), "") << "byte " << at;
    }
    EXPECT_NE(ReadWaveImage(Bytes(wave.begin(), wave.begin() + 30), info), "");
    // A data chunk that claims more than there is is cut to what there is.
    Bytes cut(wave.begin(), wave.end() - 2);
    ASSERT_EQ(ReadWaveImage(cut, info), "");
    EXPECT_EQ(info.dataSize, 2u);
    // A chunk of odd size before the data is followed by its pad byte.
    Bytes listed = wave;
    const Bytes odd = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    listed.insert(listed.begin() + 36, odd.begin(), odd.end());
    WriteInt32(listed.data() + 4, static_cast<std::int32_t>(listed.size() - 8));
    ASSERT_EQ(ReadWaveImage(listed, info), "");
    EXPECT_EQ(info.dataOffset, 56u);
    EXPECT_EQ(info.dataSize, 3u);
}

}  // namespace

namespace {

TEST(MediaItem, FuzzRegressionsAreHandled) {
    namespace fs = std::filesystem;
    int files = 0;
    for (const auto& entry : fs::directory_iterator(AQUENDO_FUZZ_REGRESSIONS)) {
        if (entry.path().extension() == ".md") continue;
        const Bytes bytes = testlevels::ReadAll(entry.path());
        MediaItem item;
        if (ReadMediaItem(bytes, item).empty()) {
            MediaItem again;
            EXPECT_EQ(ReadMediaItem(WriteMediaItem(item), again), "") << entry.path();
            EXPECT_EQ(again.data, item.data) << entry.path();
        }
        Bytes out;
        UnpackBlock(bytes, out);
        EXPECT_LE(out.size(), kPackedChunk) << entry.path();
        ++files;
    }
    RecordProperty("files", files);
}

}  // namespace
