#include "view/codec/PackedStream.h"

#include <algorithm>

#include "core/LittleEndian.h"
#include "view/codec/PackedBlock.h"

namespace {

// Walks the block list; visit(block) returns an error text or an empty string.
template <typename Visit>
std::string WalkStream(std::span<const std::uint8_t> bytes, std::size_t& consumed, Visit visit) {
    if (bytes.size() < 4) return "stream total cut off";
    const std::int32_t total = ReadInt32(bytes.data());
    if (total < 0) return "negative stream total";
    if (static_cast<std::size_t>(total) > bytes.size() - 4) return "stream longer than its item";
    std::span<const std::uint8_t> rest = bytes.subspan(4, static_cast<std::size_t>(total));
    while (!rest.empty()) {
        if (rest.size() < 4) return "block sizes do not add up to the stream total";
        const std::int32_t size = ReadInt32(rest.data());
        if (size <= 0) return "empty or negative block size";
        if (static_cast<std::size_t>(size) > rest.size() - 4)
            return "block sizes do not add up to the stream total";
        std::string error = visit(rest.subspan(4, static_cast<std::size_t>(size)));
        if (!error.empty()) return error;
        rest = rest.subspan(4 + static_cast<std::size_t>(size));
    }
    consumed = 4 + static_cast<std::size_t>(total);
    return {};
}

}  // namespace

std::string UnpackStream(std::span<const std::uint8_t> bytes, std::size_t& consumed,
                         std::vector<std::uint8_t>& out) {
    const std::size_t base = out.size();
    // Room for the whole stream at once: grown block by block, the data would
    // move to fresh memory at every doubling, and each of its pages be
    // faulted in again. The last block needs its working room.
    std::size_t room = 0;
    std::size_t lastExtra = 0;
    std::size_t walked = 0;
    if (WalkStream(bytes, walked, [&room, &lastExtra](std::span<const std::uint8_t> block) {
            room += MostUnpacked(block);
            lastExtra = UnpackRoom(block) - MostUnpacked(block);
            return std::string();
        }).empty())
        out.reserve(base + room + lastExtra);
    std::string error = WalkStream(
        bytes, consumed, [&out](std::span<const std::uint8_t> block) { return UnpackBlock(block, out); });
    if (!error.empty()) out.resize(base);
    return error;
}

void PackStream(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out) {
    const std::size_t totalAt = out.size();
    out.resize(totalAt + 4);
    for (std::size_t at = 0; at < data.size(); at += kPackedChunk) {
        const std::size_t sizeAt = out.size();
        out.resize(sizeAt + 4);
        PackBlock(data.subspan(at, std::min(kPackedChunk, data.size() - at)), out);
        WriteInt32(out.data() + sizeAt, static_cast<std::int32_t>(out.size() - sizeAt - 4));
    }
    WriteInt32(out.data() + totalAt, static_cast<std::int32_t>(out.size() - totalAt - 4));
}

std::vector<std::span<const std::uint8_t>> StreamBlocks(std::span<const std::uint8_t> bytes) {
    std::vector<std::span<const std::uint8_t>> blocks;
    std::size_t consumed = 0;
    const std::string error = WalkStream(bytes, consumed, [&blocks](std::span<const std::uint8_t> block) {
        blocks.push_back(block);
        return std::string();
    });
    if (!error.empty()) blocks.clear();
    return blocks;
}
