#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Bitmap files: "BM" header, 40-byte information header, rows bottom-up,
// uncompressed, each row padded to four bytes.
// rgb: three bytes R, G, B per pixel, rows top-down.
std::vector<std::uint8_t> BitmapFile24(int width, int height, const std::vector<std::uint8_t>& rgb);
// palette: 0xRRGGBB per entry; indices: one byte per pixel, rows top-down.
std::vector<std::uint8_t> BitmapFile8(int width, int height, const std::array<std::uint32_t, 256>& palette,
                                      const std::vector<std::uint8_t>& indices);

// A RIFF WAVE file of 8-bit mono PCM: a 16-byte "fmt " chunk, then "data",
// padded to an even length as RIFF asks.
std::vector<std::uint8_t> WaveFile8(int sampleRate, const std::vector<std::uint8_t>& samples);
