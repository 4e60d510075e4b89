#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// What a RIFF WAVE memory image says about itself.
struct WaveImage {
    int formatTag = 0;  // 1 is PCM
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    // The samples: the "data" chunk, clipped to the image; empty when there is none.
    std::size_t dataOffset = 0;
    std::size_t dataSize = 0;
};

// Refuses an image that does not start with "RIFF", a size, "WAVE" and a
// "fmt " chunk. Returns an empty string when the image is a wave.
std::string ReadWaveImage(std::span<const std::uint8_t> bytes, WaveImage& wave);
