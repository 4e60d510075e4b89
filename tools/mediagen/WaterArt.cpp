#include "tools/mediagen/Artwork.h"

namespace {

constexpr float kCentre = kBlobSize / 2.0f;
constexpr float kRadius = 5.745f;  // sqrt(33): rows of 4, 8, 10, 10, 12, 12 pixels

float DistanceFromCentre(float x, float y) {
    return Length(Vec2{x, y} - Vec2{kCentre, kCentre});
}

// Light from the upper left: a sphere-like shade for the water surface.
Rgb Water(float x, float y, float radius) {
    const Vec2 p{x - kCentre, y - kCentre};
    const float r = Length(p) / radius;
    const Rgb deep = Hex(0x1E9A34), bright = Hex(0x4CF05C);
    Rgb c = Mix(bright, deep, SmoothStep(0.2f, 1.0f, r));
    // Highlight towards the light.
    const float spot = Length(p - Vec2{-1.6f, -1.7f} * (radius / kRadius));
    c = Mix(c, Hex(0xE8FFE0), 0.85f * (1 - SmoothStep(0.4f, 1.9f * radius / kRadius, spot)));
    return c;
}

}  // namespace

bool InWaterDisc(float x, float y) {
    const float dx = x - kCentre, dy = y - kCentre;
    return dx * dx + dy * dy <= 33.0f;
}

Rgb EmptyMouth(float x, float y) {
    // A hole lit from the upper left: its lower right inner wall catches the light.
    const Vec2 p{x - kCentre, y - kCentre};
    const float toLight = Dot(p, Vec2{0.7071f, 0.7071f}) / kRadius;  // -1 upper left .. 1 lower right
    const float wall = SmoothStep(0.55f, 1.0f, Length(p) / kRadius);
    const float shade = 34 + 22 * wall * (0.5f + 0.5f * toLight) + 6 * (1 - wall);
    return {shade, shade, shade + 3};
}

Canvas DrawWaterStrip(int scale) {
    const ScaledArt scaled(scale);
    const int size = kBlobSize * scale;
    Canvas c(kWaterTiles * size, size);
    for (int tile = 0; tile < kWaterTiles; ++tile) {
        for (int py = 0; py < size; ++py) {
            for (int px = 0; px < size; ++px) {
                const float x = (px + 0.5f) / scale, y = (py + 0.5f) / scale;
                Rgb& p = c.At(tile * size + px, py);
                const bool inside = InWaterDisc(x, y);
                if (tile == kWaterMaskTile) {
                    p = inside ? Rgb{} : Rgb{255, 255, 255};
                    continue;
                }
                if (!inside) continue;  // black: OR leaves the piece as it is
                if (tile == 7) {
                    const float r = DistanceFromCentre(x, y) / kRadius;
                    p = Mix(Hex(0xFF5040), Hex(0x9C1010), SmoothStep(0.1f, 1.0f, r));
                    continue;
                }
                p = EmptyMouth(x, y);
                if (tile == 0) continue;
                // The water wells up from the middle until it fills the mouth.
                const float radius = tile == 5 ? kRadius + 1 : 1.3f + 4.4f * tile / 5.0f;
                const float d = DistanceFromCentre(x, y) - radius;
                p = Mix(p, Water(x, y, std::min(radius, kRadius)), Coverage(d));
                if (tile < 5)
                    p = Mix(p, Hex(0xB8FFB0), 0.45f * Clamp01(1 - std::abs(d + 0.4f)));  // bright rim
            }
        }
    }
    return c;
}
