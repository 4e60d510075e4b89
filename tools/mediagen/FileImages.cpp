#include "tools/mediagen/FileImages.h"

#include <cassert>
#include <cstring>

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

std::vector<std::uint8_t> BitmapHeaders(int width, int height, int bits, std::uint32_t paletteBytes) {
    const std::uint32_t row = (static_cast<std::uint32_t>(width) * bits / 8 + 3) & ~3u;
    const std::uint32_t image = row * static_cast<std::uint32_t>(height);
    const std::uint32_t offset = 14 + 40 + paletteBytes;
    std::vector<std::uint8_t> out;
    out.reserve(offset + image);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + image);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bits));
    Put32(out, 0);
    Put32(out, image);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, paletteBytes / 4);
    Put32(out, 0);
    return out;
}

}  // namespace

std::vector<std::uint8_t> BitmapFile24(int width, int height, const std::vector<std::uint8_t>& rgb) {
    assert(rgb.size() == static_cast<std::size_t>(width) * height * 3);
    std::vector<std::uint8_t> out = BitmapHeaders(width, height, 24, 0);
    const int pad = (4 - (width * 3) % 4) % 4;
    for (int y = height - 1; y >= 0; --y) {
        const std::uint8_t* p = rgb.data() + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x, p += 3) {
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        out.insert(out.end(), pad, 0);
    }
    return out;
}

std::vector<std::uint8_t> BitmapFile8(int width, int height, const std::array<std::uint32_t, 256>& palette,
                                      const std::vector<std::uint8_t>& indices) {
    assert(indices.size() == static_cast<std::size_t>(width) * height);
    std::vector<std::uint8_t> out = BitmapHeaders(width, height, 8, 1024);
    for (std::uint32_t c : palette) Put32(out, c & 0xFFFFFF);  // B, G, R, 0
    const int pad = (4 - width % 4) % 4;
    for (int y = height - 1; y >= 0; --y) {
        const std::uint8_t* p = indices.data() + static_cast<std::size_t>(y) * width;
        out.insert(out.end(), p, p + width);
        out.insert(out.end(), pad, 0);
    }
    return out;
}

std::vector<std::uint8_t> WaveFile8(int sampleRate, const std::vector<std::uint8_t>& samples) {
    const auto data = static_cast<std::uint32_t>(samples.size());
    const std::uint32_t pad = data & 1;
    std::vector<std::uint8_t> out;
    PutTag(out, "RIFF");
    Put32(out, 4 + 8 + 16 + 8 + data + pad);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, static_cast<std::uint32_t>(sampleRate));
    Put32(out, static_cast<std::uint32_t>(sampleRate));  // bytes per second
    Put16(out, 1);                                       // block align
    Put16(out, 8);
    PutTag(out, "data");
    Put32(out, data);
    out.insert(out.end(), samples.begin(), samples.end());
    if (pad) out.push_back(0);
    return out;
}
