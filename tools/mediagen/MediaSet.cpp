#include "tools/mediagen/MediaSet.h"

#include "tools/mediagen/Artwork.h"
#include "tools/mediagen/FileImages.h"
#include "tools/mediagen/Sounds.h"
#include "view/codec/MediaItem.h"

namespace {

MediaFile Make(std::string path, std::vector<std::uint8_t> image, bool packed, std::uint16_t ident) {
    MediaItem item;
    item.compressed = packed;
    item.ident = ident;
    item.hasData = true;
    item.data = image;
    return {std::move(path), WriteMediaItem(item), std::move(image)};
}

std::vector<std::uint8_t> Bitmap(const Canvas& c) {
    return BitmapFile24(c.Width(), c.Height(), c.Bytes());
}

std::vector<std::uint8_t> Bitmap(const PalettedPicture& p) {
    return BitmapFile8(p.width, p.height, p.palette, p.indices);
}

}  // namespace

std::vector<MediaFile> BuildMediaSet(std::uint32_t seed) {
    std::vector<MediaFile> set;
    // Waves: flow, solved, refuse, time up.
    set.push_back(Make("waves/0.item", WaveFile8(kFlowRate, FlowSound(seed)), true, 0));
    set.push_back(Make("waves/1.item", WaveFile8(kEffectRate, SolvedSound(seed)), true, 1));
    set.push_back(Make("waves/2.item", WaveFile8(kEffectRate, RefuseSound(seed)), true, 2));
    set.push_back(Make("waves/3.item", WaveFile8(kEffectRate, TimeUpSound(seed)), true, 3));
    // Bitmaps: pieces, floor, water, background, level digits, time digits.
    set.push_back(Make("bitmaps/0.item", Bitmap(DrawPieceSheet(seed)), true, 3));
    set.push_back(Make("bitmaps/1.item", Bitmap(DrawFloorSheet(seed)), true, 0));
    set.push_back(Make("bitmaps/2.item", Bitmap(DrawWaterStrip()), true, 1));
    set.push_back(Make("bitmaps/3.item", Bitmap(DrawBackground(seed)), true, 2));
    set.push_back(Make("bitmaps/4.item", Bitmap(DrawLevelDigits()), true, 6));
    set.push_back(Make("bitmaps/5.item", Bitmap(DrawTimeDigits()), false, 4));
    return set;
}

std::vector<MediaFile> BuildScaledSet(std::uint32_t seed, int scale) {
    const std::string dir = "scaled/" + std::to_string(scale) + "/bitmaps/";
    std::vector<MediaFile> set;
    set.push_back(Make(dir + "0.item", Bitmap(DrawPieceSheet(seed, scale)), true, 3));
    set.push_back(Make(dir + "1.item", Bitmap(DrawFloorSheet(seed, scale)), true, 0));
    set.push_back(Make(dir + "2.item", Bitmap(DrawWaterStrip(scale)), true, 1));
    set.push_back(Make(dir + "3.item", Bitmap(DrawBackground(seed, scale)), true, 2));
    set.push_back(Make(dir + "4.item", Bitmap(DrawLevelDigits(scale)), true, 6));
    set.push_back(Make(dir + "5.item", Bitmap(DrawTimeDigits(scale)), true, 4));
    return set;
}

std::vector<MediaFile> BuildAllMedia(std::uint32_t seed) {
    std::vector<MediaFile> all = BuildMediaSet(seed);
    for (int scale : kScaledSets) {
        std::vector<MediaFile> scaled = BuildScaledSet(seed, scale);
        all.insert(all.end(), std::make_move_iterator(scaled.begin()), std::make_move_iterator(scaled.end()));
    }
    return all;
}
