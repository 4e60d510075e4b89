#include "view/BitmapImage.h"

#include <cstddef>

#include "view/LittleEndian.h"

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;
// Far above any picture of the game, and small enough that a damaged size
// cannot ask for gigabytes.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 24;

std::uint32_t Opaque(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    return 0xff000000u | std::uint32_t{red} << 16 | std::uint32_t{green} << 8 | blue;
}

std::string Refuse(BitmapImage& image, const char* reason) {
    image = BitmapImage();
    return reason;
}

}  // namespace

std::string ReadBitmapImage(std::span<const std::uint8_t> bytes, BitmapImage& image) {
    image = BitmapImage();
    if (bytes.size() < kFileHeader + kInfoHeader || bytes[0] != 'B' || bytes[1] != 'M')
        return "not a bitmap file";
    const std::uint8_t* info = bytes.data() + kFileHeader;
    const std::size_t infoSize = ReadUint32(info);
    const std::size_t dataOffset = ReadUint32(bytes.data() + 10);
    const std::int64_t width = ReadInt32(info + 4);
    const std::int64_t signedHeight = ReadInt32(info + 8);
    const int bits = ReadUint16(info + 14);
    const std::uint32_t compression = ReadUint32(info + 16);
    std::size_t colours = ReadUint32(info + 32);

    if (infoSize < kInfoHeader || infoSize > bytes.size() - kFileHeader) return "bitmap header cut short";
    if (compression != 0) return "packed bitmaps are not read";
    if (bits != 8 && bits != 24 && bits != 32) return "bitmap has an unread number of bits per pixel";
    const bool topDown = signedHeight < 0;
    const std::int64_t height = topDown ? -signedHeight : signedHeight;
    if (width <= 0 || height <= 0 || width * height > kMaxPixels) return "bitmap size out of range";

    const std::size_t paletteAt = kFileHeader + infoSize;
    if (bits == 8) {
        if (colours == 0 || colours > 256) colours = 256;
        if (colours * 4 > bytes.size() - paletteAt) return "bitmap palette cut short";
    } else {
        colours = 0;
    }
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    const std::size_t rows = static_cast<std::size_t>(height);
    if (dataOffset < paletteAt + colours * 4 || dataOffset > bytes.size() ||
        stride * rows > bytes.size() - dataOffset)
        return "bitmap pixels cut short";

    std::vector<std::uint32_t> palette(colours);
    for (std::size_t i = 0; i < colours; ++i) {
        const std::uint8_t* entry = bytes.data() + paletteAt + 4 * i;
        palette[i] = Opaque(entry[0], entry[1], entry[2]);
    }

    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels.resize(static_cast<std::size_t>(width) * rows);
    for (std::size_t y = 0; y < rows; ++y) {
        const std::uint8_t* in = bytes.data() + dataOffset + stride * (topDown ? y : rows - 1 - y);
        std::uint32_t* out = image.pixels.data() + y * static_cast<std::size_t>(width);
        for (std::int64_t x = 0; x < width; ++x) {
            if (bits == 8) {
                if (*in >= colours) return Refuse(image, "bitmap palette index past the palette");
                *out++ = palette[*in++];
            } else {
                *out++ = Opaque(in[0], in[1], in[2]);
                in += bits / 8;
            }
        }
    }
    return {};
}
