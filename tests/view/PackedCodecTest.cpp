#include <gtest/gtest.h>

#include <random>

#include "core/LittleEndian.h"
#include "view/codec/PackedBlock.h"
#include "view/codec/PackedStream.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Unpacked(const Bytes& block) {
    Bytes out;
    const std::string error = UnpackBlock(block, out);
    EXPECT_EQ(error, "");
    return out;
}

Bytes Packed(const Bytes& chunk) {
    Bytes out;
    PackBlock(chunk, out);
    return out;
}

Bytes Random(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    Bytes b(n);
    for (auto& v : b) v = static_cast<std::uint8_t>(random());
    return b;
}

// Compressible like a picture: rows that repeat with small changes.
Bytes PictureLike(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = i >= 96 && random() % 5 ? b[i - 96] : static_cast<std::uint8_t>(random() % 8 * 30);
    return b;
}

void PutInt32(Bytes& out, std::int32_t v) {
    out.resize(out.size() + 4);
    WriteInt32(out.data() + out.size() - 4, v);
}

Bytes Stream(const std::vector<Bytes>& blocks, std::int32_t total = -1) {
    Bytes out;
    std::int32_t sum = 0;
    for (const Bytes& b : blocks) sum += 4 + static_cast<std::int32_t>(b.size());
    PutInt32(out, total >= 0 ? total : sum);
    for (const Bytes& b : blocks) {
        PutInt32(out, static_cast<std::int32_t>(b.size()));
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

TEST(PackedBlock, ItemsOfTheFormat) {
    struct Case {
        const char* what;
        Bytes block;
        Bytes expected;
    };
    const std::vector<Case> cases = {
        {"stored block: the rest unchanged", {128, 7, 0, 255}, {7, 0, 255}},
        {"stored block with nothing in it", {128}, {}},
        {"coded block with no items", {64}, {}},
        {"literals", {64, 0x00, 0x00, 'a', 'b', 'c'}, {'a', 'b', 'c'}},
        {"copy offset 1, length 18 repeats the last byte", {64, 0x40, 0x00, 'z', 0x00, 0x1F}, Bytes(19, 'z')},
        {"overlapping copy repeats a pattern",
         {64, 0x20, 0x00, 'a', 'b', 0x00, 0x23},
         {'a', 'b', 'a', 'b', 'a', 'b', 'a', 'b'}},
        {"run 0, 0, 0, x writes x 16 times", {64, 0x80, 0x00, 0, 0, 0, 'x'}, Bytes(16, 'x')},
        {"longest run", {64, 0x80, 0x00, 0, 0x0F, 0xFF, 'y'}, Bytes(4111, 'y')},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Unpacked(c.block), c.expected) << c.what;
        EXPECT_LE(c.expected.size(), MostUnpacked(c.block)) << c.what;
    }
}

TEST(PackedBlock, EveryCopyOffsetAndLengthRepeatsWhatCameBefore) {
    for (std::size_t offset = 1; offset <= 20; ++offset) {
        for (std::size_t length = 3; length <= 18; ++length) {
            // offset literals (at most 16 under the first control word), then the copy.
            Bytes block = {64};
            Bytes expected;
            std::size_t items = 0;
            std::uint16_t control = 0;
            std::size_t controlAt = 1;
            block.insert(block.end(), {0, 0});
            auto item = [&](bool copy) {
                if (items == 16) {
                    block[controlAt] = static_cast<std::uint8_t>(control >> 8);
                    block[controlAt + 1] = static_cast<std::uint8_t>(control);
                    controlAt = block.size();
                    block.insert(block.end(), {0, 0});
                    items = 0;
                    control = 0;
                }
                if (copy) control |= static_cast<std::uint16_t>(0x8000 >> items);
                ++items;
            };
            for (std::size_t i = 0; i < offset; ++i) {
                item(false);
                block.push_back(static_cast<std::uint8_t>(10 + i));
                expected.push_back(static_cast<std::uint8_t>(10 + i));
            }
            item(true);
            block.push_back(static_cast<std::uint8_t>(offset >> 4));
            block.push_back(static_cast<std::uint8_t>((offset & 15) << 4 | (length - 3)));
            block[controlAt] = static_cast<std::uint8_t>(control >> 8);
            block[controlAt + 1] = static_cast<std::uint8_t>(control);
            for (std::size_t i = 0; i < length; ++i) expected.push_back(expected[expected.size() - offset]);
            EXPECT_EQ(Unpacked(block), expected) << "offset " << offset << " length " << length;
        }
    }
}

TEST(PackedBlock, ControlWordIsReadHighByteFirstAndRenewedAfterSixteenItems) {
    // Item 2 of the first word is a copy (high byte 0x20); after 16 items a
    // second word says its first item is a run.
    Bytes block = {64, 0x20, 0x00, 'a', 'b', 0x00, 0x13};
    for (int i = 0; i < 13; ++i) block.push_back(static_cast<std::uint8_t>('c' + i));
    const Bytes second = {0x80, 0x00, 0, 0, 1, '!'};
    block.insert(block.end(), second.begin(), second.end());
    Bytes expected = {'a', 'b', 'b', 'b', 'b', 'b', 'b', 'b'};
    for (int i = 0; i < 13; ++i) expected.push_back(static_cast<std::uint8_t>('c' + i));
    expected.insert(expected.end(), 17, '!');
    EXPECT_EQ(Unpacked(block), expected);
}

TEST(PackedBlock, PackerWritesTheItemsItsRulesName) {
    // 100 equal bytes: one run item, the control word's first bit set.
    EXPECT_EQ(Packed(Bytes(100, 7)), (Bytes{64, 0x80, 0x00, 0, 0, 84, 7}));
    // abcabc...: three literals, then copies of 18 from 3 back.
    Bytes abc;
    for (int i = 0; i < 21; ++i) abc.push_back(static_cast<std::uint8_t>('a' + i % 3));
    EXPECT_EQ(Packed(abc), (Bytes{64, 0x10, 0x00, 'a', 'b', 'c', 0x00, 0x3F}));
    // Longer than the source when coded: stored, 128 and the bytes.
    const Bytes noise = Random(1000, 1);
    Bytes stored = {128};
    stored.insert(stored.end(), noise.begin(), noise.end());
    EXPECT_EQ(Packed(noise), stored);
    EXPECT_EQ(Packed({}), Bytes{128});
}

TEST(PackedBlock, RoundTripsWhateverTheData) {
    const std::vector<Bytes> chunks = {
        {},
        {1},
        {1, 2},
        {1, 2, 3},
        Bytes(15, 9),
        Bytes(16, 9),
        Bytes(4095, 3),
        Bytes(4096, 3),
        Bytes(kPackedChunk, 0),
        Random(kPackedChunk, 2),
        PictureLike(kPackedChunk, 3),
        PictureLike(5000, 4),
    };
    for (const Bytes& chunk : chunks) {
        const Bytes block = Packed(chunk);
        EXPECT_LE(block.size(), chunk.size() + 1);
        EXPECT_EQ(Unpacked(block), chunk) << "size " << chunk.size();
    }
}

TEST(PackedBlock, DamagedBlocksAreRefusedAndLeaveTheOutputAsItWas) {
    Bytes tooLong = {64, 0xFF, 0x80};  // 9 runs of 4111 pass the chunk's 32781 bytes
    for (int i = 0; i < 9; ++i) tooLong.insert(tooLong.end(), {0, 0x0F, 0xFF, 1});
    Bytes literalPast = {64, 0xFF, 0x00};  // 7 runs of 4111 and one of 4004 fill a chunk exactly
    for (int i = 0; i < 7; ++i) literalPast.insert(literalPast.end(), {0, 0x0F, 0xFF, 1});
    literalPast.insert(literalPast.end(), {0, 0x0F, 0x94, 1});  // 4004 more: 32781 in all
    Bytes exactlyAChunk = literalPast;
    literalPast.push_back('!');  // one literal too many
    Bytes storedTooLong = {128};
    storedTooLong.resize(kPackedChunk + 2, 5);

    struct Case {
        const char* what;
        Bytes block;
    };
    const std::vector<Case> cases = {
        {"empty", {}},
        {"control word cut off", {64, 0x00}},
        {"control word cut off after 16 items",
         {64, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 0x80}},
        {"copy cut off", {64, 0x80, 0x00, 0x01}},
        {"run cut off", {64, 0x80, 0x00, 0x00, 0x00, 0x05}},
        {"copy before the start", {64, 0x40, 0x00, 'a', 0x00, 0x20}},
        {"copy at the very start", {64, 0x80, 0x00, 0x00, 0x10}},
        {"runs past a chunk", tooLong},
        {"literal past a chunk", literalPast},
        {"stored block longer than a chunk", storedTooLong},
    };
    for (const Case& c : cases) {
        Bytes out = {42};
        EXPECT_NE(UnpackBlock(c.block, out), "") << c.what;
        EXPECT_EQ(out, Bytes{42}) << c.what;
    }
    EXPECT_EQ(Unpacked(exactlyAChunk).size(), kPackedChunk);
}

TEST(PackedStream, CutsIntoChunksAndRoundTrips) {
    const Bytes data = PictureLike(4 * kPackedChunk + 100, 5);
    Bytes stream;
    PackStream(data, stream);
    const auto blocks = StreamBlocks(stream);
    ASSERT_EQ(blocks.size(), 5u);
    std::size_t total = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        Bytes out;
        ASSERT_EQ(UnpackBlock(blocks[i], out), "");
        EXPECT_EQ(out.size(), i < 4 ? kPackedChunk : 100u);
        EXPECT_LE(out.size(), MostUnpacked(blocks[i]));
        total += 4 + blocks[i].size();
    }
    EXPECT_EQ(ReadInt32(stream.data()), static_cast<std::int32_t>(total));

    Bytes out;
    std::size_t consumed = 0;
    stream.push_back(99);  // what follows the stream is not its business
    ASSERT_EQ(UnpackStream(stream, consumed, out), "");
    EXPECT_EQ(out, data);
    EXPECT_EQ(consumed, stream.size() - 1);
    // Made room for once, not grown (and copied) block by block.
    EXPECT_LE(out.capacity(), data.size() + kUnpackRoom);

    Bytes empty;
    PackStream({}, empty);
    EXPECT_EQ(empty, (Bytes{0, 0, 0, 0}));
}

TEST(PackedStream, DamagedStreamsAreRefused) {
    const Bytes block = {128, 1, 2, 3};
    Bytes negativeBlock = Stream({block});
    WriteInt32(negativeBlock.data() + 4, -4);
    Bytes zeroBlock = Stream({block});
    WriteInt32(zeroBlock.data() + 4, 0);
    Bytes blockPastTotal = Stream({block});
    WriteInt32(blockPastTotal.data() + 4, 9);
    Bytes leftover = Stream({block}, 4 + 4 + 2);  // two bytes after the block: no room for a size
    leftover.insert(leftover.end(), {0, 0});
    Bytes badBlock = Stream({{64, 0x80, 0x00, 0x00, 0x10}});
    Bytes negativeTotal = Stream({block});
    WriteInt32(negativeTotal.data(), -8);
    const Bytes whole = Stream({block});

    struct Case {
        const char* what;
        Bytes stream;
    };
    const std::vector<Case> cases = {
        {"total cut off", {8, 0, 0}},
        {"negative total", negativeTotal},
        {"total past the item", Stream({block}, 100)},
        {"negative block size", negativeBlock},
        {"block size 0", zeroBlock},
        {"block past the total", blockPastTotal},
        {"sizes do not add up", leftover},
        {"damaged block", badBlock},
        {"block cut off", Bytes(whole.begin(), whole.end() - 1)},
    };
    for (const Case& c : cases) {
        Bytes out = {1};
        std::size_t consumed = 0;
        EXPECT_NE(UnpackStream(c.stream, consumed, out), "") << c.what;
        EXPECT_EQ(out, Bytes{1}) << c.what;
    }
}

}  // namespace
