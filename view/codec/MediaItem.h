#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One item of the built-in wave and bitmap lists: its flags, optional
// description and Ident, and its data, which the stored form may pack.
struct MediaItem {
    enum Flag : std::uint8_t {
        Packed = 1,
        HasDescription = 2,
        HasIdent = 4,
        HasData = 8,
        PixelFormat1 = 16,
        PixelFormat2 = 32,
        PixelFormat3 = 64,
    };

    bool compressed = false;
    std::string description;
    std::uint16_t ident = 0;
    int pixelFormat = 0;  // 0 keeps the bitmap file as it is; 1..3 name 1, 4 or 8 bits per pixel
    bool hasData = false;
    std::vector<std::uint8_t> data;  // the unpacked file image

    // The flags byte the writer puts first.
    std::uint8_t Flags() const;
};

// Reads a stored item and unpacks its data into item. Returns an empty string
// on success, else what is wrong; item is then unspecified. Bytes after the
// item's last field count as damage.
std::string ReadMediaItem(std::span<const std::uint8_t> bytes, MediaItem& item);

// The stored form: packed with the block coder when item.compressed is set.
// The pixel format is recorded, the bitmap itself stored as given.
std::vector<std::uint8_t> WriteMediaItem(const MediaItem& item);
