#include "view/codec/BitmapImage.h"

#include "core/LittleEndian.h"

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;
// Far above any picture of the game, and small enough that a damaged size
// cannot ask for gigabytes.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 24;

struct Layout {
    std::size_t width = 0;
    std::size_t height = 0;
    bool topDown = false;
    int bits = 0;
    std::size_t paletteAt = 0;
    std::size_t colours = 0;
    std::size_t dataAt = 0;
    std::size_t stride = 0;  // bytes per stored row
};

std::uint32_t Opaque(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    return 0xff000000u | std::uint32_t{red} << 16 | std::uint32_t{green} << 8 | blue;
}

std::string ReadLayout(std::span<const std::uint8_t> bytes, Layout& layout) {
    if (bytes.size() < kFileHeader + kInfoHeader || bytes[0] != 'B' || bytes[1] != 'M')
        return "not a bitmap file";
    const std::uint8_t* info = bytes.data() + kFileHeader;
    const std::size_t infoSize = ReadUint32(info);
    const std::int64_t width = ReadInt32(info + 4);
    const std::int64_t signedHeight = ReadInt32(info + 8);
    layout.bits = ReadUint16(info + 14);
    const std::uint32_t compression = ReadUint32(info + 16);
    layout.colours = ReadUint32(info + 32);
    layout.dataAt = ReadUint32(bytes.data() + 10);

    if (infoSize < kInfoHeader || infoSize > bytes.size() - kFileHeader) return "bitmap header cut short";
    if (compression != 0) return "packed bitmaps are not read";
    if (layout.bits != 8 && layout.bits != 24 && layout.bits != 32)
        return "bitmap has an unread number of bits per pixel";
    layout.topDown = signedHeight < 0;
    const std::int64_t height = layout.topDown ? -signedHeight : signedHeight;
    if (width <= 0 || height <= 0 || width * height > kMaxPixels) return "bitmap size out of range";
    layout.width = static_cast<std::size_t>(width);
    layout.height = static_cast<std::size_t>(height);

    layout.paletteAt = kFileHeader + infoSize;
    if (layout.bits == 8) {
        if (layout.colours == 0 || layout.colours > 256) layout.colours = 256;
        if (layout.colours * 4 > bytes.size() - layout.paletteAt) return "bitmap palette cut short";
    } else {
        layout.colours = 0;
    }
    layout.stride = (layout.width * layout.bits + 31) / 32 * 4;
    if (layout.dataAt < layout.paletteAt + layout.colours * 4 || layout.dataAt > bytes.size() ||
        layout.stride * layout.height > bytes.size() - layout.dataAt)
        return "bitmap pixels cut short";
    return {};
}

}  // namespace

std::string ReadBitmapSize(std::span<const std::uint8_t> bytes, int& width, int& height) {
    Layout layout;
    std::string refused = ReadLayout(bytes, layout);
    width = refused.empty() ? static_cast<int>(layout.width) : 0;
    height = refused.empty() ? static_cast<int>(layout.height) : 0;
    return refused;
}

std::string DecodeBitmap(std::span<const std::uint8_t> bytes, std::uint32_t* rows, std::size_t stride) {
    Layout layout;
    if (std::string refused = ReadLayout(bytes, layout); !refused.empty()) return refused;
    std::uint32_t palette[256];
    for (std::size_t i = 0; i < layout.colours; ++i) {
        const std::uint8_t* entry = bytes.data() + layout.paletteAt + 4 * i;
        palette[i] = Opaque(entry[0], entry[1], entry[2]);
    }
    for (std::size_t y = 0; y < layout.height; ++y) {
        const std::size_t stored = layout.topDown ? y : layout.height - 1 - y;
        const std::uint8_t* in = bytes.data() + layout.dataAt + layout.stride * stored;
        std::uint32_t* out = rows + y * stride;
        if (layout.bits == 8) {
            for (std::size_t x = 0; x < layout.width; ++x) {
                if (in[x] >= layout.colours) return "bitmap palette index past the palette";
                out[x] = palette[in[x]];
            }
        } else {
            const std::size_t step = static_cast<std::size_t>(layout.bits) / 8;
            for (std::size_t x = 0; x < layout.width; ++x, in += step) out[x] = Opaque(in[0], in[1], in[2]);
        }
    }
    return {};
}

std::string ReadBitmapImage(std::span<const std::uint8_t> bytes, BitmapImage& image) {
    image = BitmapImage();
    int width = 0;
    int height = 0;
    if (std::string refused = ReadBitmapSize(bytes, width, height); !refused.empty()) return refused;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    if (std::string refused = DecodeBitmap(bytes, pixels.data(), static_cast<std::size_t>(width));
        !refused.empty())
        return refused;
    image = {width, height, std::move(pixels)};
    return {};
}
