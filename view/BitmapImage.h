#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A bitmap file image decoded to opaque pixels, 0xffRRGGBB, top row first.
struct BitmapImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Reads the uncompressed Windows bitmaps the game's pictures are: a "BM"
// header, an information header of 40 bytes or more, 8 bits per pixel with a
// palette, or 24 or 32 bits. Anything else, cut data or a palette index past
// the palette's end gives the reason and an empty image; an empty string
// means the image is good. Decoding needs nothing of a window system, so it
// may run on any thread.
std::string ReadBitmapImage(std::span<const std::uint8_t> bytes, BitmapImage& image);
