#pragma once

#include "view/SpriteSheets.h"
#include "view/WaveImages.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <array>
#include <future>
#include <optional>

// The game's pictures and sounds: the ten items built into the program,
// unpacked once and then fetched by their position in their list.
class MediaLibrary {
public:
    static constexpr int kWaveCount = ::kWaveCount;
    static constexpr int kBitmapCount = 6;
    // Positions in the bitmap list.
    enum BitmapPosition { PieceSheet = 0, FloorSheet, WaterStrip, BackgroundImage, LevelDigits, TimeDigits };

    using WaveItems = WaveImages;
    using BitmapItems = std::array<QByteArray, kBitmapCount>;

    // The items built into the program. They are part of the build, so one
    // that does not unpack is a broken build: this stops the program with
    // the reason rather than draw or play garbage.
    static MediaLibrary LoadBuiltIn();
    // The same on a thread of its own: unpacking needs no window system, so
    // it can overlap the application's start. Call it before anything else
    // touches the media.
    static std::future<MediaLibrary> StartLoadingBuiltIn();
    // The same for any items that must be good: stops the program otherwise.
    static MediaLibrary LoadOrStop(const WaveItems& waves, const BitmapItems& bitmaps);
    // The stored items of the built-in set, in list order.
    static WaveItems BuiltInWaveItems();
    static BitmapItems BuiltInBitmapItems();

    // Unpacks stored items; a damaged item, a wave item whose data is not a
    // RIFF WAVE image, or a bitmap that does not decode or has the wrong size
    // gives nothing and the reason in error. Safe on any thread.
    static std::optional<MediaLibrary> Load(const WaveItems& waves, const BitmapItems& bitmaps,
                                            QString& error);

    // Bitmap position 0..5: opaque RGB32, so AND and OR are exact bitwise.
    const QImage& Bitmap(int position) const { return m_bitmaps.at(static_cast<std::size_t>(position)); }
    // Wave position 0..3: the RIFF WAVE image; empty for an item without data.
    const QByteArray& Wave(int position) const { return m_waves.at(static_cast<std::size_t>(position)); }
    const WaveItems& Waves() const { return m_waves; }
    // The six pictures by their roles.
    SpriteSheets Sheets() const {
        return {m_bitmaps[PieceSheet],      m_bitmaps[FloorSheet],  m_bitmaps[WaterStrip],
                m_bitmaps[BackgroundImage], m_bitmaps[LevelDigits], m_bitmaps[TimeDigits]};
    }

    // Width and height each bitmap position must have.
    static QSize BitmapSize(int position);

    // The six pictures at 2 or 3 times the size, from stored items; nothing
    // and the reason when one does not unpack or has not the size times scale.
    static std::optional<SpriteSheets> LoadScaled(const BitmapItems& bitmaps, int scale, QString& error);
    // The built-in larger set, unpacked at its first use and kept; nullptr
    // for a scale there is no set for. For the thread that draws.
    static const SpriteSheets* BuiltInScaled(int scale);

private:
    WaveItems m_waves;
    std::array<QImage, kBitmapCount> m_bitmaps;
};
