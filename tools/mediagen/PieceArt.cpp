#include <array>
#include <cmath>

#include "tools/mediagen/Artwork.h"
#include "tools/mediagen/Noise.h"

namespace {

constexpr float kHalf = kCellSize / 2.0f;
constexpr float kPi = 3.14159265f;

// Openings of the five types at orientation 0, bit d for direction d
// (0 right, 1 up, 2 left, 3 down), as the piece table has them.
constexpr std::array<int, 6> kOpenings = {0, 0b0001, 0b0011, 0b0101, 0b0111, 0b1111};
constexpr std::array<Vec2, 4> kDirections = {Vec2{1, 0}, Vec2{0, -1}, Vec2{-1, 0}, Vec2{0, 1}};

// Light comes from the upper left, screen y pointing down, z to the viewer.
struct Light {
    float x = -0.55f, y = -0.55f, z = 0.63f;
} const kLight;

float Lit(float nx, float ny, float nz) {
    const float len = std::sqrt(nx * nx + ny * ny + nz * nz);
    return (nx * kLight.x + ny * kLight.y + nz * kLight.z) / len;
}

float Specular(float nx, float ny, float nz, float power) {
    // Half-way vector between the light and the viewer.
    float hx = kLight.x, hy = kLight.y, hz = kLight.z + 1;
    const float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    hx /= hl, hy /= hl, hz /= hl;
    const float len = std::sqrt(nx * nx + ny * ny + nz * nz);
    return std::pow(std::max(0.0f, (nx * hx + ny * hy + nz * hz) / len), power);
}

// The block is kept small so that the pipes lead the eye; each pipe ends in a
// flange on the cell's edge, so two pipes that meet read as one joint.
constexpr float kBlockHalf = 9.3f;
constexpr float kBlockCorner = 3.0f;
constexpr float kBevel = 1.9f;
constexpr float kPipeHalf = 5.6f;
constexpr float kFlangeHalf = 7.6f;
constexpr float kFlangeFrom = kHalf - 3.6f;

float BlockDistance(Vec2 local) {
    return BoxDistance(local, {}, {kBlockHalf, kBlockHalf}, kBlockCorner);
}

// Distance to the pipe stub towards direction u, from the middle to the cell's edge.
float PipeDistance(Vec2 local, Vec2 u, float half, float from, float to) {
    const float along = Dot(local, u);
    const float across = std::abs(local.x * -u.y + local.y * u.x);
    return std::max({across - half, along - to, from - along});
}

struct Piece {
    int openings = 0;
    float angle = 0;  // counter-clockwise on the screen, radians

    Vec2 Local(Vec2 p) const { return TurnedOnScreen(p, -angle); }
    float ShapeDistance(Vec2 p) const {
        const Vec2 q = Local(p);
        float d = BlockDistance(q);
        for (int dir = 0; dir < 4; ++dir)
            if (openings & (1 << dir))
                d = std::min(d, PipeDistance(q, kDirections[dir], kPipeHalf, 0, kHalf + 2));
        return d;
    }
};

// x, y: a pixel's centre in the cell.
Rgb Ground(float x, float y, std::uint32_t seed) {
    const float n = FractalNoise(x, y, 9, 3, 4, seed) - 0.5f;
    const float grain = LatticeHash(int(x), int(y), seed + 5) - 0.5f;
    Rgb c = Hex(0xE4D6B2) + Rgb{1, 1, 1} * (14 * n + 5 * grain);
    // The tile's own edge, lit above and left, shaded below and right, but
    // faint: a board of pieces should not read as a grid.
    if (x < 1 || y < 1) c = Mix(c, Hex(0xF8EED8), 0.35f);
    if (x >= kCellSize - 1 || y >= kCellSize - 1) c = Mix(c, Hex(0xA89670), 0.35f);
    return c;
}

Rgb DrawPixel(const Piece& piece, float x, float y, std::uint32_t seed) {
    const Vec2 p{x - kHalf, y - kHalf};
    Rgb c = Ground(x, y, seed);

    // A soft shadow below and to the right.
    const float shadow = piece.ShapeDistance(p - Vec2{1.7f, 1.9f});
    c = c * (1 - 0.38f * (1 - SmoothStep(-1.5f, 2.5f, shadow)));

    const Vec2 q = piece.Local(p);
    // Copper pipes, round in section, from the block to the cell's edge, with
    // a flange there. The shading depends on the section alone, so a pipe looks
    // the same whichever way it points, and the light stays at the top left.
    for (int dir = 0; dir < 4; ++dir) {
        if (!(piece.openings & (1 << dir))) continue;
        const Vec2 u = kDirections[dir];
        const Vec2 across{-u.y, u.x};
        for (int part = 0; part < 2; ++part) {
            const float half = part == 0 ? kPipeHalf : kFlangeHalf;
            const float d = part == 0 ? PipeDistance(q, u, half, 0, kHalf + 1)
                                      : PipeDistance(q, u, half, kFlangeFrom, kHalf + 1);
            const float cover = Coverage(d);
            if (cover <= 0) continue;
            const float t = std::clamp(Dot(q, across) / half, -0.98f, 0.98f);
            const Vec2 n = TurnedOnScreen(across, piece.angle) * t;
            const float nz = std::sqrt(1 - t * t);
            const float side = n.x * kLight.x + n.y * kLight.y;  // -0.78 .. 0.78
            const float lit = 0.42f + 0.5f * std::pow(nz, 0.8f) + 0.28f * side;
            const Rgb copper = part == 0 ? Hex(0xA04A1C) : Hex(0xB05A26);
            Rgb pipe = copper * lit + Hex(0xFFD0A0) * (0.55f * Specular(n.x, n.y, nz, 30));
            // Tarnish along the pipe, fixed to the piece so it turns with it.
            pipe = pipe * (0.95f + 0.08f * ValueNoise(Dot(q, u) + 40, t * 3, 6, 0, seed + 11));
            // A dark rim: the edge of the section, and for the flange its face towards the block.
            const float rim = part == 0 ? -d : std::min(-d, Dot(q, u) - kFlangeFrom);
            pipe = Mix(Hex(0x3C1A08), pipe, SmoothStep(0.2f, 1.3f, rim));
            c = Mix(c, pipe, cover);
        }
    }

    // The grey metal block with a rounded bevel, brushed along the piece.
    const float d = BlockDistance(q);
    const float cover = Coverage(d);
    if (cover > 0) {
        const float eps = 0.35f;
        const float gx =
            (BlockDistance(piece.Local(p + Vec2{eps, 0})) - BlockDistance(piece.Local(p - Vec2{eps, 0}))) /
            (2 * eps);
        const float gy =
            (BlockDistance(piece.Local(p + Vec2{0, eps})) - BlockDistance(piece.Local(p - Vec2{0, eps}))) /
            (2 * eps);
        const float slope = 1.6f * (1 - SmoothStep(0, kBevel, -d));
        const float nx = gx * slope, ny = gy * slope, nz = 1;
        const float lit = Lit(nx, ny, nz) / kLight.z;
        const float brushed = ValueNoise(q.x * 0.6f + 50, q.y * 5 + 50, 1, 0, seed + 21) - 0.5f;
        Rgb metal = Hex(0x9DA1A8) + Rgb{1, 1, 1.1f} * (14 * brushed);
        metal = metal * (0.2f + 0.8f * lit) + Rgb{255, 255, 255} * (0.35f * Specular(nx, ny, nz, 40));
        // Four screws in the corners of the block.
        for (int sx = -1; sx <= 1; sx += 2) {
            for (int sy = -1; sy <= 1; sy += 2) {
                const Vec2 s{sx * 6.9f, sy * 6.9f};
                const float sd = CircleDistance(q, s, 1.15f);
                const Vec2 w = TurnedOnScreen(q - s, piece.angle);
                const float head = Clamp01(0.55f - 0.35f * (w.x + w.y));
                metal = Mix(metal, Hex(0x50545A) + Rgb{1, 1, 1} * (120 * head), Coverage(sd));
                // The slot of the screw turns with the piece.
                const Vec2 ls = q - s;
                metal = Mix(metal, Hex(0x3A3C40),
                            Coverage(std::max(std::abs(ls.y) - 0.35f, std::abs(ls.x) - 0.9f)) * Coverage(sd));
            }
        }
        c = Mix(c, metal, cover);
    }

    // The pipe mouth: a copper flange around the blob square's disc.
    const float bx = x - 12, by = y - 12;
    const float r = Length(p);
    const float flange = std::abs(r - 6.75f) - 1.25f;
    if (Coverage(flange) > 0) {
        const float t = std::clamp((r - 6.75f) / 1.6f, -0.95f, 0.95f);
        const Vec2 radial = r > 0 ? p * (1 / r) : Vec2{};
        const float nz = std::sqrt(1 - t * t);
        const float lit = std::max(0.0f, Lit(radial.x * t, radial.y * t, nz));
        const Rgb ring = Hex(0xC46C34) * (0.3f + 0.95f * lit) +
                         Hex(0xFFE0C0) * (0.6f * Specular(radial.x * t, radial.y * t, nz, 20));
        c = Mix(c, ring, Coverage(flange));
    }
    if (bx >= 0 && bx < kBlobSize && by >= 0 && by < kBlobSize && InWaterDisc(bx, by)) c = EmptyMouth(bx, by);
    return c;
}

}  // namespace

Canvas DrawPieceSheet(std::uint32_t seed, int scale) {
    const ScaledArt scaled(scale);
    const int cell = kCellSize * scale;
    Canvas sheet(kTurnFrames * cell, kPieceTypes * cell);
    for (int type = 1; type <= kPieceTypes; ++type) {
        for (int frame = 0; frame < kTurnFrames; ++frame) {
            // Frame 3o is orientation o at rest; the two after it are 30 and 60 degrees further on,
            // so frame k stands turned 30 k degrees.
            const Piece piece{kOpenings[type], (frame * 30) * kPi / 180};
            for (int y = 0; y < cell; ++y)
                for (int x = 0; x < cell; ++x)
                    sheet.At(frame * cell + x, (type - 1) * cell + y) =
                        DrawPixel(piece, (x + 0.5f) / scale, (y + 0.5f) / scale, seed);
        }
    }
    return sheet;
}
