#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Reads the uncompressed Windows bitmaps the game's pictures are: a "BM"
// header, an information header of 40 bytes or more, 8 bits per pixel with a
// palette, or 24 or 32 bits. Pixels come out opaque, 0xffRRGGBB, top row
// first. Anything else, cut data or a palette index past the palette's end
// gives the reason; an empty string means the image is good. Decoding needs
// nothing of a window system, so it may run on any thread.

// The width and height the file holds.
std::string ReadBitmapSize(std::span<const std::uint8_t> bytes, int& width, int& height);

// Decodes into rows the caller owns: row y starts at rows + y * stride
// (pixels), each with room for the width ReadBitmapSize gave. On refusal the
// rows may hold part of the image.
std::string DecodeBitmap(std::span<const std::uint8_t> bytes, std::uint32_t* rows, std::size_t stride);

struct BitmapImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Both in one: on refusal, an empty image.
std::string ReadBitmapImage(std::span<const std::uint8_t> bytes, BitmapImage& image);
