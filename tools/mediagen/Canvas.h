#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// Colours in 0..255 per channel, kept as floats until the picture is written.
struct Rgb {
    float r = 0, g = 0, b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Rgb operator*(Rgb a, float k) {
    return {a.r * k, a.g * k, a.b * k};
}
inline Rgb Mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Rgb Hex(std::uint32_t v) {
    return {float(v >> 16 & 255), float(v >> 8 & 255), float(v & 255)};
}

inline float Clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}
inline float SmoothStep(float e0, float e1, float x) {
    const float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
// Pictures are described in the game's own pixels. The larger sets for dense
// screens are drawn with every coordinate scaled: this many pixels of the
// picture to one of the game's, so that edges stay one picture pixel soft.
inline float& ArtScale() {
    static float scale = 1;
    return scale;
}

// Share of a pixel covered by a shape whose signed distance (the game's pixels,
// negative inside) at the pixel's centre is d.
inline float Coverage(float d) {
    return Clamp01(0.5f - d * ArtScale());
}

struct Vec2 {
    float x = 0, y = 0;
};
inline Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator*(Vec2 a, float k) {
    return {a.x * k, a.y * k};
}
inline float Dot(Vec2 a, Vec2 b) {
    return a.x * b.x + a.y * b.y;
}
inline float Length(Vec2 a) {
    return std::sqrt(a.x * a.x + a.y * a.y);
}
// Counter-clockwise on the screen (y grows downwards) by the angle in radians.
inline Vec2 TurnedOnScreen(Vec2 p, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return {c * p.x + s * p.y, -s * p.x + c * p.y};
}

// Signed distances, negative inside.
inline float CircleDistance(Vec2 p, Vec2 centre, float radius) {
    return Length(p - centre) - radius;
}
inline float BoxDistance(Vec2 p, Vec2 centre, Vec2 half, float corner) {
    const float qx = std::abs(p.x - centre.x) - half.x + corner;
    const float qy = std::abs(p.y - centre.y) - half.y + corner;
    const float outside =
        std::sqrt(std::max(qx, 0.0f) * std::max(qx, 0.0f) + std::max(qy, 0.0f) * std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - corner;
}
inline float SegmentDistance(Vec2 p, Vec2 a, Vec2 b, float halfWidth) {
    const Vec2 pa = p - a, ba = b - a;
    const float t = std::clamp(Dot(pa, ba) / std::max(Dot(ba, ba), 1e-9f), 0.0f, 1.0f);
    return Length(pa - ba * t) - halfWidth;
}

// A picture of floating-point pixels. Pixel (x, y) has its centre at (x + 0.5, y + 0.5).
class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height, Rgb fill = {})
        : m_width(width), m_height(height), m_pixels(std::size_t(width) * height, fill) {}

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Rgb& At(int x, int y) { return m_pixels[std::size_t(y) * m_width + x]; }
    const Rgb& At(int x, int y) const { return m_pixels[std::size_t(y) * m_width + x]; }
    void Blend(int x, int y, Rgb colour, float alpha) {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height || alpha <= 0) return;
        Rgb& p = At(x, y);
        p = Mix(p, colour, Clamp01(alpha));
    }
    // Copies a part of another canvas to (x, y).
    void Paste(const Canvas& from, int fromX, int fromY, int w, int h, int x, int y) {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) At(x + i, y + j) = from.At(fromX + i, fromY + j);
    }
    // Each pixel as three bytes R, G, B, rounded and clamped, rows top-down.
    std::vector<std::uint8_t> Bytes() const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<Rgb> m_pixels;
};
