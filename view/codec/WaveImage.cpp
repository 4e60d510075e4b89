#include "view/codec/WaveImage.h"

#include <algorithm>
#include <cstring>

#include "core/LittleEndian.h"

namespace {

bool IsTag(const std::uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

}  // namespace

std::string ReadWaveImage(std::span<const std::uint8_t> bytes, WaveImage& wave) {
    wave = WaveImage();
    constexpr std::size_t kFmtBody = 16;
    if (bytes.size() < 20 + kFmtBody || !IsTag(bytes.data(), "RIFF") || !IsTag(bytes.data() + 8, "WAVE") ||
        !IsTag(bytes.data() + 12, "fmt ") || ReadUint32(bytes.data() + 16) < kFmtBody)
        return "not a RIFF WAVE image";
    const std::uint8_t* fmt = bytes.data() + 20;
    wave.formatTag = ReadUint16(fmt);
    wave.channels = ReadUint16(fmt + 2);
    wave.sampleRate = static_cast<int>(std::min<std::uint32_t>(ReadUint32(fmt + 4), 1u << 30));
    wave.bitsPerSample = ReadUint16(fmt + 14);

    // Chunks follow one another, each padded to an even length.
    std::size_t at = 12;
    while (at <= bytes.size() && bytes.size() - at >= 8) {
        const std::size_t size = ReadUint32(bytes.data() + at + 4);
        const std::size_t body = at + 8;
        if (IsTag(bytes.data() + at, "data")) {
            wave.dataOffset = body;
            wave.dataSize = std::min(size, bytes.size() - body);
            break;
        }
        if (size > bytes.size() - body) break;
        at = body + size + (size & 1);
    }
    return {};
}
