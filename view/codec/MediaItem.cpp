#include "view/codec/MediaItem.h"

#include <cassert>

#include "core/LittleEndian.h"
#include "view/codec/PackedStream.h"

std::uint8_t MediaItem::Flags() const {
    std::uint8_t flags = 0;
    if (compressed) flags |= Packed;
    if (!description.empty()) flags |= HasDescription;
    if (ident != 0) flags |= HasIdent;
    if (hasData) flags |= HasData;
    if (pixelFormat >= 1 && pixelFormat <= 3)
        flags |= static_cast<std::uint8_t>(PixelFormat1 << (pixelFormat - 1));
    return flags;
}

std::string ReadMediaItem(std::span<const std::uint8_t> bytes, MediaItem& item) {
    using enum MediaItem::Flag;
    // The data's memory is kept for the next item read into the same place.
    std::vector<std::uint8_t> memory = std::move(item.data);
    memory.clear();
    item = MediaItem();
    item.data = std::move(memory);
    if (bytes.empty()) return "item is empty";
    const std::uint8_t flags = bytes[0];
    std::span<const std::uint8_t> rest = bytes.subspan(1);
    if (flags & 0x80) return "unknown flag bit 7";
    const int formats = !!(flags & PixelFormat1) + !!(flags & PixelFormat2) + !!(flags & PixelFormat3);
    if (formats > 1) return "more than one pixel format";
    item.pixelFormat = flags & PixelFormat1 ? 1 : flags & PixelFormat2 ? 2 : flags & PixelFormat3 ? 3 : 0;
    item.compressed = flags & Packed;

    if (flags & HasDescription) {
        if (rest.empty()) return "description length cut off";
        const std::size_t length = rest[0];
        if (length > rest.size() - 1) return "description cut off";
        item.description.assign(rest.begin() + 1, rest.begin() + 1 + static_cast<std::ptrdiff_t>(length));
        rest = rest.subspan(1 + length);
    }
    if (flags & HasIdent) {
        if (rest.size() < 4) return "ident cut off";
        item.ident = static_cast<std::uint16_t>(ReadUint32(rest.data()));
        rest = rest.subspan(4);
    }
    if (flags & HasData) {
        item.hasData = true;
        if (flags & Packed) {
            std::size_t consumed = 0;
            std::string error = UnpackStream(rest, consumed, item.data);
            if (!error.empty()) return error;
            rest = rest.subspan(consumed);
        } else {
            if (rest.size() < 4) return "data length cut off";
            const std::int32_t length = ReadInt32(rest.data());
            if (length < 0) return "negative data length";
            if (static_cast<std::size_t>(length) > rest.size() - 4) return "data cut off";
            item.data.assign(rest.begin() + 4, rest.begin() + 4 + length);
            rest = rest.subspan(4 + static_cast<std::size_t>(length));
        }
    }
    if (!rest.empty()) return "bytes after the item";
    return {};
}

std::vector<std::uint8_t> WriteMediaItem(const MediaItem& item) {
    assert(item.description.size() <= 255);
    assert(item.hasData || item.data.empty());
    std::vector<std::uint8_t> out;
    const std::uint8_t flags = item.Flags();
    out.push_back(flags);
    if (flags & MediaItem::HasDescription) {
        out.push_back(static_cast<std::uint8_t>(item.description.size()));
        for (const char c : item.description) out.push_back(static_cast<std::uint8_t>(c));
    }
    if (flags & MediaItem::HasIdent) {
        out.resize(out.size() + 4);
        WriteInt32(out.data() + out.size() - 4, item.ident);
    }
    if (flags & MediaItem::HasData) {
        if (item.compressed) {
            PackStream(item.data, out);
        } else {
            out.resize(out.size() + 4);
            WriteInt32(out.data() + out.size() - 4, static_cast<std::int32_t>(item.data.size()));
            out.insert(out.end(), item.data.begin(), item.data.end());
        }
    }
    return out;
}
