#include <cmath>

#include "tools/mediagen/Artwork.h"
#include "tools/mediagen/Lettering.h"
#include "tools/mediagen/Noise.h"

namespace {

constexpr int kWidth = kBoardWidth;
constexpr int kHeight = kBoardHeight;
constexpr int kBorder = 3;
constexpr float kPi = 3.14159265f;

// The board's grid and the two slots behind the gauge and the level scroll bar.
constexpr int kGridRight = kGridLeft + kColumns * kCellSize, kGridBottom = kGridTop + kRows * kCellSize;
constexpr int kSlotTop = 130, kSlotBottom = 310;
constexpr int kSlotLefts[2] = {410, 450};
constexpr int kSlotWidth = 22;

Rgb Grey(float v) {
    return {v, v, v};
}

Rgb RustyPlate(float x, float y, std::uint32_t seed) {
    const float broad = FractalNoise(x, y, 60, 5, 0, seed);
    const float fine = FractalNoise(x, y, 6, 3, 0, seed + 1);
    const float speck = LatticeHash(int(x), int(y), seed + 2);
    Rgb steel = Hex(0x6A6660) + Grey(30 * (broad - 0.5f) + 12 * (fine - 0.5f));
    // Rust grows in patches, darker where it is thick, and pits the metal.
    const float rust = SmoothStep(0.42f, 0.62f, broad + 0.22f * (fine - 0.5f));
    Rgb rustColour = Mix(Hex(0x6A3016), Hex(0xB0622C), FractalNoise(x, y, 9, 3, 0, seed + 3));
    rustColour = rustColour * (0.85f + 0.3f * speck);
    Rgb c = Mix(steel, rustColour, rust);
    if (speck > 0.985f) c = c * 0.55f;
    // Faint streaks where water ran down the plate.
    c = c * (0.94f + 0.08f * ValueNoise(x * 0.25f, y * 0.02f, 1, 0, seed + 4));
    return c;
}

// A dome-headed rivet lit from the upper left, with its shadow.
Rgb Rivet(Rgb c, Vec2 p, Vec2 at) {
    const float d = CircleDistance(p, at, 2.6f);
    c = c * (1 - 0.4f * (1 - SmoothStep(-0.5f, 2.2f, CircleDistance(p, at + Vec2{1.2f, 1.2f}, 2.6f))));
    const Vec2 rel = (p - at) * (1 / 2.6f);
    const Rgb head = Hex(0x6C625A) + Grey(110 * Clamp01(0.45f - 0.55f * (rel.x + rel.y)));
    return Mix(c, head, Coverage(d));
}

// Inset frame: shaded above and left, lit below and right, as if cut into the plate.
Rgb Inset(Rgb c, float x, float y, float left, float top, float right, float bottom, float width) {
    const bool inside = x >= left && x < right && y >= top && y < bottom;
    if (inside) return c;
    const float dx = x < left ? left - x : x >= right ? x - right + 1 : 0;
    const float dy = y < top ? top - y : y >= bottom ? y - bottom + 1 : 0;
    if (std::max(dx, dy) > width) return c;
    const bool shaded = x < left || y < top;
    return shaded ? c * 0.55f : Mix(c, Hex(0xE0C8A8), 0.3f);
}

// A bezel of dark steel round a slot, the well the gauge and the level scroll
// bar stand in: raised on its outer edge, sunk on its inner one, in the
// tool bar's metal.
Rgb Bezel(Rgb c, float x, float y, float left, float top, float right, float bottom, float width) {
    const float dx = x < left ? left - x : x >= right ? x - right + 1 : 0;
    const float dy = y < top ? top - y : y >= bottom ? y - bottom + 1 : 0;
    const float d = std::max(dx, dy);
    if (d <= 0 || d > width + 1) return c;
    // A soft shadow on the plate below and right of the bezel.
    if (d > width) return (x >= right || y >= bottom) ? c * 0.7f : c;
    const float t = Clamp01((y - top + width) / (bottom - top + 2 * width));
    Rgb steel = Hex(0x4A4D52) * (1.05f - 0.3f * t);
    const bool upperLeft = (x < left && dx >= dy) || (y < top && dy >= dx);
    if (d > width - 1)
        steel = upperLeft ? Mix(steel, Hex(0x8A8E96), 0.7f) : steel * 0.5f;           // outer edge, raised
    if (d <= 1) steel = upperLeft ? steel * 0.45f : Mix(steel, Hex(0x8A8E96), 0.5f);  // inner edge, sunk
    return steel;
}

Rgb Handwheel(Rgb c, Vec2 p, Vec2 centre) {
    const Vec2 d = p - centre;
    const float r = Length(d);
    const float rimR = 22, rimHalf = 3.2f;
    // Shadow of rim, spokes and hub.
    const Vec2 ds = d - Vec2{2.5f, 2.5f};
    const float rs = Length(ds);
    float shadowD = std::abs(rs - rimR) - rimHalf;
    for (int k = 0; k < 4; ++k) {
        const float a = k * kPi / 2 + kPi / 4;
        shadowD = std::min(shadowD, SegmentDistance(ds, {}, Vec2{std::cos(a), std::sin(a)} * rimR, 1.8f));
    }
    shadowD = std::min(shadowD, rs - 6);
    c = c * (1 - 0.5f * (1 - SmoothStep(-1.0f, 2.5f, shadowD)));

    const Rgb red = Hex(0xA8201C);
    auto tube = [&](float t, Vec2 across) {
        const float nz = std::sqrt(std::max(0.0f, 1 - t * t));
        const float lit = std::max(0.0f, (-0.55f * across.x * t - 0.55f * across.y * t + 0.63f * nz));
        const float h = std::max(0.0f, (-0.35f * across.x * t - 0.35f * across.y * t + 0.87f * nz));
        return red * (0.3f + 1.0f * lit) + Grey(200 * std::pow(h, 30.0f));
    };
    for (int k = 0; k < 4; ++k) {
        const float a = k * kPi / 2 + kPi / 4;
        const Vec2 dir{std::cos(a), std::sin(a)};
        const Vec2 side{-dir.y, dir.x};
        const float sd = SegmentDistance(d, {}, dir * rimR, 1.8f);
        c = Mix(c, tube(std::clamp(Dot(d, side) / 1.8f, -0.95f, 0.95f), side), Coverage(sd));
    }
    const float rimD = std::abs(r - rimR) - rimHalf;
    if (r > 0) c = Mix(c, tube(std::clamp((r - rimR) / rimHalf, -0.95f, 0.95f), d * (1 / r)), Coverage(rimD));
    // Hub and its square nut.
    c = Mix(c, red * (0.8f + 0.5f * Clamp01(0.5f - 0.08f * (d.x + d.y))), Coverage(r - 6));
    const float nut = BoxDistance(d, {}, {3, 3}, 0.5f);
    c = Mix(c, Hex(0x8A8480) + Grey(60 * Clamp01(0.5f - 0.15f * (d.x + d.y))), Coverage(nut));
    return c;
}

}  // namespace

Canvas DrawBackground(std::uint32_t seed, int scale) {
    const ScaledArt scaled(scale);
    Canvas c(kWidth * scale, kHeight * scale);
    const float titleScale = 10.8f;
    const float titleWidth = Lettering("Aquendo", {}, titleScale).Width();
    const Lettering title("Aquendo", {kWidth - 9 - titleWidth, 40}, titleScale);
    const Vec2 wheel{441, 88};

    for (int py = 0; py < kHeight * scale; ++py) {
        for (int px_ = 0; px_ < kWidth * scale; ++px_) {
            // The pixel's centre, and the game's pixel it lies in.
            const float fx = (px_ + 0.5f) / scale, fy = (py + 0.5f) / scale;
            const int x = px_ / scale, y = py / scale;
            const Vec2 p{fx, fy};
            Rgb px = RustyPlate(fx, fy, seed);
            // Darker towards the edges of the plate.
            const float edge = std::min({fx, fy, kWidth - fx, kHeight - fy});
            px = px * (0.78f + 0.22f * SmoothStep(0.0f, 40.0f, edge));

            px = Inset(px, fx, fy, kGridLeft, kGridTop, kGridRight, kGridBottom, 2);
            for (int left : kSlotLefts)
                px = Bezel(px, float(x), float(y), left, kSlotTop, left + kSlotWidth, kSlotBottom, 4);

            // Rivets round the plate, clear of the grid, the title and the slots.
            for (float rx = 12; rx < kWidth - 8; rx += 23.8f) {
                px = Rivet(px, p, {rx, 11});
                px = Rivet(px, p, {rx, kHeight - 11.0f});
            }
            for (float ry = 34.8f; ry < kHeight - 20; ry += 23.8f) {
                px = Rivet(px, p, {11, ry});
                px = Rivet(px, p, {kWidth - 11.0f, ry});
            }

            // The title: brass letters standing out from the plate.
            const float shadow = title.Distance(p - Vec2{1.6f, 1.6f});
            px = px * (1 - 0.6f * (1 - SmoothStep(-0.8f, 1.8f, shadow)));
            const float d = title.Distance(p);
            if (d < 1) {
                const float e = 0.4f;
                const float gx = (title.Distance(p + Vec2{e, 0}) - title.Distance(p - Vec2{e, 0})) / (2 * e);
                const float gy = (title.Distance(p + Vec2{0, e}) - title.Distance(p - Vec2{0, e})) / (2 * e);
                const float slope = 1.3f * (1 - SmoothStep(0.0f, 1.2f, -d));
                const float nx = gx * slope, ny = gy * slope, nz = 1;
                const float len = std::sqrt(nx * nx + ny * ny + nz * nz);
                const float lit = (-0.55f * nx - 0.55f * ny + 0.63f * nz) / len / 0.63f;
                const Rgb brass = Mix(Hex(0xF0C860), Hex(0xB88A2C), Clamp01((fy - 24) / 20));
                px = Mix(px, brass * (0.35f + 0.75f * lit), Coverage(d));
            }
            px = Handwheel(px, p, wheel);

            for (int left : kSlotLefts)
                if (x >= left && x < left + kSlotWidth && y >= kSlotTop && y < kSlotBottom) px = Rgb{};
            if (x < kBorder || y < kBorder || x >= kWidth - kBorder || y >= kHeight - kBorder) px = Rgb{};
            c.At(px_, py) = px;
        }
    }
    return c;
}
