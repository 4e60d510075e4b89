// Any bytes as a stored media item, as a single packed block, as a WAVE
// file and as a bitmap file: no reader may crash, read or write out of bounds, or accept what it cannot
// give back.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "view/codec/BitmapImage.h"
#include "view/codec/MediaItem.h"
#include "view/codec/PackedBlock.h"
#include "view/codec/WaveImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    MediaItem item;
    if (ReadMediaItem(bytes, item).empty()) {
        // What was accepted writes back to an item that reads the same.
        MediaItem again;
        if (!ReadMediaItem(WriteMediaItem(item), again).empty() || again.data != item.data ||
            again.ident != item.ident || again.description != item.description)
            std::abort();
        WaveImage wave;
        if (ReadWaveImage(item.data, wave).empty() && wave.dataOffset + wave.dataSize > item.data.size())
            std::abort();
    }

    // The WAVE check on its own, as a sound file of any origin would reach it.
    WaveImage wave;
    if (ReadWaveImage(bytes, wave).empty() && wave.dataOffset + wave.dataSize > bytes.size()) std::abort();

    BitmapImage bitmap;
    if (ReadBitmapImage(bytes, bitmap).empty()) {
        if (bitmap.width <= 0 || bitmap.height <= 0 ||
            bitmap.pixels.size() != static_cast<std::size_t>(bitmap.width) * bitmap.height)
            std::abort();
    } else if (!bitmap.pixels.empty() || bitmap.width != 0) {
        std::abort();
    }

    std::vector<std::uint8_t> out = {1, 2, 3};
    if (UnpackBlock(bytes, out).empty()) {
        if (out.size() - 3 > kPackedChunk) std::abort();
    } else if (out.size() != 3) {
        std::abort();
    }
    return 0;
}
