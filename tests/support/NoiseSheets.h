#pragma once

#include <QImage>
#include <random>

#include "view/SpriteSheets.h"

// Sheets of random opaque pixels: any mix-up of source rectangles or raster
// operations shows in a pixel comparison.
inline QImage Noise(int w, int h, unsigned seed) {
    QImage image(w, h, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
    return image;
}

inline SpriteSheets NoiseSheets() {
    return {Noise(432, 180, 1), Noise(288, 288, 2), Noise(96, 12, 3),
            Noise(500, 333, 4), Noise(148, 20, 5),  Noise(121, 20, 6)};
}

// A set at scale times the size, of other noise than the 1x set's.
inline SpriteSheets NoiseSheets(int scale) {
    const unsigned seed = 10u * static_cast<unsigned>(scale);
    return {Noise(432 * scale, 180 * scale, seed + 1), Noise(288 * scale, 288 * scale, seed + 2),
            Noise(96 * scale, 12 * scale, seed + 3),   Noise(500 * scale, 333 * scale, seed + 4),
            Noise(148 * scale, 20 * scale, seed + 5),  Noise(121 * scale, 20 * scale, seed + 6)};
}
