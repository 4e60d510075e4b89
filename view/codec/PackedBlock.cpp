#include "view/codec/PackedBlock.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstring>

namespace {

// A block ends where its bytes end; these are the most bytes one control
// word's sixteen items can take (all runs), so within that distance of the end
// every item checks its input, and before it none needs to.
constexpr std::size_t kMaxGroupBytes = 2 + 16 * 4;

constexpr std::size_t kMaxCopyOffset = 4095;
constexpr std::size_t kMinRun = 16;
constexpr std::size_t kMaxRunMeasured = 4095;
constexpr std::size_t kMaxCopy = 18;
// A run's count takes the second byte's low half and the third byte.
constexpr std::size_t kMaxRun = 15 * 256 + 255 + kMinRun;

// The output is unpacked with a little room behind the chunk, so literals and
// copies can move whole 8- and 16-byte words; bytes past the real end are cut
// off again before returning.
constexpr std::size_t kSlack = kUnpackRoom - kPackedChunk;

std::uint32_t Hash(std::uint32_t b0, std::uint32_t b1, std::uint32_t b2) {
    return ((40543u * ((b0 << 8) ^ (b1 << 4) ^ b2)) >> 4) & 4095u;
}

}  // namespace

std::string UnpackBlock(std::span<const std::uint8_t> block, std::vector<std::uint8_t>& out) {
    if (block.empty()) return "empty block";
    const std::size_t base = out.size();
    if (block[0] == kStoredBlock) {
        if (block.size() - 1 > kPackedChunk) return "stored block longer than a chunk";
        out.insert(out.end(), block.begin() + 1, block.end());
        return {};
    }

    out.resize(base + kPackedChunk + kSlack);
    std::uint8_t* const dst = out.data() + base;
    const std::uint8_t* const in = block.data();
    const std::size_t n = block.size();
    std::size_t i = 1;
    std::size_t o = 0;
    auto fail = [&](const char* why) {
        out.resize(base);
        return std::string(why);
    };

    while (i < n) {
        if (n - i < 2) return fail("control word cut off");
        // The control word's bits are used from the top; bits shifted in below are 0.
        std::uint32_t control = (std::uint32_t{in[i]} << 24) | (std::uint32_t{in[i + 1]} << 16);
        i += 2;
        const bool checkInput = n - i < kMaxGroupBytes;
        int left = 16;
        while (left > 0 && i < n) {
            // A row of literals is one copy of input bytes.
            std::size_t literals = control == 0 ? left : std::min(left, std::countl_zero(control));
            if (literals > 0) {
                literals = std::min(literals, n - i);
                if (literals > kPackedChunk - o) return fail("block unpacks past a chunk");
                if (n - i >= 16)
                    std::memcpy(dst + o, in + i, 16);
                else
                    std::memcpy(dst + o, in + i, literals);
                o += literals;
                i += literals;
                left -= static_cast<int>(literals);
                control <<= literals;
                continue;
            }
            control <<= 1;
            --left;
            if (checkInput && n - i < 2) return fail("copy item cut off");
            const unsigned b1 = in[i + 1];
            const std::size_t offset = std::size_t{in[i]} * 16 + (b1 >> 4);
            if (offset != 0) {
                const std::size_t length = (b1 & 15u) + 3;
                if (offset > o) return fail("copy reaches before the start of the block");
                if (length > kPackedChunk - o) return fail("block unpacks past a chunk");
                std::uint8_t* to = dst + o;
                const std::uint8_t* from = to - offset;
                if (offset >= 8) {
                    // Each word read lies before the word written, even when the copy overlaps itself.
                    // Three words cover the longest copy, 18 bytes.
                    std::memcpy(to, from, 8);
                    std::memcpy(to + 8, from + 8, 8);
                    std::memcpy(to + 16, from + 16, 8);
                } else if (offset == 1) {
                    std::memset(to, *from, length);
                } else {
                    // A short pattern repeats: lay down its first 8 bytes one by one, then
                    // copy words from a whole number of patterns back, at least 8 bytes.
                    for (std::size_t j = 0; j < 8; ++j) to[j] = from[j];
                    const std::size_t back = offset * ((7 + offset) / offset);
                    std::memcpy(to + 8, to + 8 - back, 8);
                    std::memcpy(to + 16, to + 16 - back, 8);
                }
                o += length;
                i += 2;
            } else {
                if (checkInput && n - i < 4) return fail("run item cut off");
                const std::size_t length = (b1 << 8 | in[i + 2]) + kMinRun;
                if (length > kPackedChunk - o) return fail("block unpacks past a chunk");
                std::memset(dst + o, in[i + 3], length);
                o += length;
                i += 4;
            }
        }
    }
    out.resize(base + o);
    return {};
}

std::size_t MostUnpacked(std::span<const std::uint8_t> block) {
    if (block.empty()) return 0;
    if (block[0] == kStoredBlock) return block.size() - 1;
    return std::min(kPackedChunk, (block.size() + 2) / 4 * kMaxRun);
}

std::size_t UnpackRoom(std::span<const std::uint8_t> block) {
    return !block.empty() && block[0] == kStoredBlock ? block.size() - 1 : kUnpackRoom;
}

void PackBlock(std::span<const std::uint8_t> chunk, std::vector<std::uint8_t>& out) {
    const std::size_t n = chunk.size();
    assert(n <= kPackedChunk);
    const std::uint8_t* const src = chunk.data();
    const std::size_t start = out.size();
    // The coded form is given up as soon as it is longer than the chunk; one
    // more item and a control word may still have been written by then.
    out.resize(start + n + 8);
    std::uint8_t* const b = out.data() + start;

    // Positions are kept as signed 16-bit numbers; -1 marks an empty entry.
    std::array<std::int16_t, 4096> table;
    table.fill(-1);

    b[0] = kCodedBlock;
    std::size_t control = 1;
    std::size_t o = 3;
    std::uint32_t d = 0;
    int items = 0;
    std::size_t s = 0;
    while (s < n && o <= n) {
        if (items == 16) {
            b[control] = static_cast<std::uint8_t>(d >> 8);
            b[control + 1] = static_cast<std::uint8_t>(d);
            control = o;
            o += 2;
            items = 0;
            d = 0;
        }
        const std::uint8_t value = src[s];
        std::size_t run = 1;
        while (run < kMaxRunMeasured && s + run < n && src[s + run] == value) ++run;
        if (run >= kMinRun) {
            b[o++] = 0;
            b[o++] = static_cast<std::uint8_t>((run - kMinRun) >> 8);
            b[o++] = static_cast<std::uint8_t>(run - kMinRun);
            b[o++] = value;
            s += run;
            d = 2 * d + 1;
        } else {
            // Bytes past the chunk hash as 0: there a match cannot reach three bytes anyway.
            const std::uint32_t b1 = s + 1 < n ? src[s + 1] : 0;
            const std::uint32_t b2 = s + 2 < n ? src[s + 2] : 0;
            const std::uint32_t h = Hash(value, b1, b2);
            const int candidate = table[h];
            table[h] = static_cast<std::int16_t>(s);
            std::size_t length = 0;
            if (candidate >= 0 && s - static_cast<std::size_t>(candidate) <= kMaxCopyOffset) {
                const std::size_t p = static_cast<std::size_t>(candidate);
                while (length < kMaxCopy && s + length < n && src[s + length] == src[p + length]) ++length;
            }
            if (length >= 3) {
                const std::size_t word = (s - static_cast<std::size_t>(candidate)) * 16 + (length - 3);
                b[o++] = static_cast<std::uint8_t>(word >> 8);
                b[o++] = static_cast<std::uint8_t>(word);
                s += length;
                d = 2 * d + 1;
            } else {
                b[o++] = value;
                s += 1;
                d = 2 * d;
            }
        }
        ++items;
    }
    d <<= 16 - items;
    b[control] = static_cast<std::uint8_t>(d >> 8);
    b[control + 1] = static_cast<std::uint8_t>(d);

    if (o > n) {
        out.resize(start);
        out.push_back(kStoredBlock);
        out.insert(out.end(), chunk.begin(), chunk.end());
    } else {
        out.resize(start + o);
    }
}
