#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The ten built-in items as they are committed under media/: the four waves
// and the six bitmaps, each with the flags and Ident the game's lists hold.
inline constexpr std::uint32_t kDefaultMediaSeed = 1998;

struct MediaFile {
    std::string path;                 // relative to media/, e.g. "waves/0.item"
    std::vector<std::uint8_t> item;   // the stored item
    std::vector<std::uint8_t> image;  // the file image it unpacks to (.wav or .bmp)
};

std::vector<MediaFile> BuildMediaSet(std::uint32_t seed);
