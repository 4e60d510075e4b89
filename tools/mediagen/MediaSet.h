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

// The six bitmaps again for dense screens, drawn at 2 and 3 times the size:
// "scaled/S/bitmaps/N.item", in the same item format as the ten.
inline constexpr int kScaledSets[] = {2, 3};
std::vector<MediaFile> BuildScaledSet(std::uint32_t seed, int scale);
// The ten and both scaled sets: everything committed under media/.
std::vector<MediaFile> BuildAllMedia(std::uint32_t seed);
