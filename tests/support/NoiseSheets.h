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

// The six sheets at scale times their size, sheet i from seed + 1 + i.
inline SpriteSheets NoiseSheets(int scale, unsigned seed) {
    auto sheet = [&](int i) {
        return Noise(BindingSize(i).width() * scale, BindingSize(i).height() * scale, seed + 1 + i);
    };
    return {sheet(0), sheet(1), sheet(2), sheet(3), sheet(4), sheet(5)};
}

inline SpriteSheets NoiseSheets() {
    return NoiseSheets(1, 0);
}

// A set at scale times the size, of other noise than the 1x set's.
inline SpriteSheets NoiseSheets(int scale) {
    return NoiseSheets(scale, 10u * static_cast<unsigned>(scale));
}
