#include <array>
#include <cmath>
#include <functional>

#include "tools/levels/FloorMotifs.h"
#include "tools/mediagen/Artwork.h"
#include "tools/mediagen/Noise.h"

// The floor tiles: single tiles of stone, metal, wood, carpet and patterns, and
// five larger pictures made of 2 x 2 or 3 x 3 neighbouring tiles. Which tile
// holds what comes from the table the level generator lays floors from.
namespace {

constexpr int kTile = kCellSize;  // a floor tile fills a cell
constexpr float kPi = 3.14159265f;

// Paints one pixel from its position inside the picture (pixel centres).
using Painter = std::function<Rgb(float x, float y)>;

// The sheet's width tells the scale it is drawn at.
void Paint(Canvas& sheet, int code, int tilesWide, int tilesHigh, const Painter& painter) {
    const int scale = sheet.Width() / (kFloorGrid * kTile), tile = kTile * scale;
    const int ox = (code % kFloorGrid) * tile, oy = (code / kFloorGrid) * tile;
    for (int y = 0; y < tilesHigh * tile; ++y)
        for (int x = 0; x < tilesWide * tile; ++x)
            sheet.At(ox + x, oy + y) = painter((x + 0.5f) / scale, (y + 0.5f) / scale);
}

// A raised edge around a slab of the given size: lit above and left.
Rgb Bevel(Rgb c, float x, float y, float w, float h, float width, float strength) {
    const float left = x, top = y, right = w - x, bottom = h - y;
    const float nearest = std::min({left, top, right, bottom});
    if (nearest >= width) return c;
    const float k = strength * (1 - nearest / width);
    const bool lit = std::min(left, top) <= std::min(right, bottom);
    return lit ? Mix(c, Rgb{255, 255, 255}, 0.45f * k) : c * (1 - 0.5f * k);
}

Rgb Grey(float v) {
    return {v, v, v};
}

// Floors stay behind the pieces: each texture is drawn in a pale, greyed
// band, its mean colour lifted to one lightness and its own contrast cut down,
// so that the copper pipes stand out against every floor alike. The map is
// linear within a picture, so a seamless texture stays seamless.
struct Tone {
    Rgb mean;
    float grey = 128;
};

constexpr float kFloorLight = 206;           // lightness of an average floor
constexpr float kLightSpread = 0.1f;         // how much of a texture's own lightness is kept
constexpr float kColourKept = 0.42f;         // share of the mean colour's saturation
constexpr float kContrastKept = 0.36f;       // share of the texture's own contrast
constexpr float kMotifContrastKept = 0.26f;  // a picture of several tiles, quieter still

Tone ToneOf(const Painter& painter) {
    Rgb sum;
    for (int y = 0; y < kCellSize; ++y)
        for (int x = 0; x < kCellSize; ++x) sum = sum + painter(x + 0.5f, y + 0.5f);
    Tone tone;
    tone.mean = sum * (1.0f / (kCellSize * kCellSize));
    tone.grey = (tone.mean.r + tone.mean.g + tone.mean.b) / 3;
    return tone;
}

Rgb Quiet(Rgb c, const Tone& tone, float contrast) {
    const float light = kFloorLight + kLightSpread * (tone.grey - 128);
    auto channel = [&](float v, float mean) {
        return light + kColourKept * (mean - tone.grey) + contrast * (v - mean);
    };
    return {channel(c.r, tone.mean.r), channel(c.g, tone.mean.g), channel(c.b, tone.mean.b)};
}

Painter Toned(const Painter& painter, const Tone& tone) {
    return [=](float x, float y) { return Quiet(painter(x, y), tone, kContrastKept); };
}

// A picture over its ground: the ground exactly as its own tile has it, what
// the picture adds with less contrast still.
Painter TonedOver(const Painter& picture, const Painter& ground, const Tone& tone) {
    return [=](float x, float y) {
        const Rgb under = ground(std::fmod(x, float(kTile)), std::fmod(y, float(kTile)));
        return Quiet(under, tone, kContrastKept) + (picture(x, y) + under * -1) * kMotifContrastKept;
    };
}

float Fbm(float x, float y, float cell, std::uint32_t seed, int period = 0) {
    return FractalNoise(x, y, cell, 4, period, seed);
}

// Noise that repeats with the tile, so a texture laid beside itself shows no
// seam. The cell must divide the tile.
float TileFbm(float x, float y, float cell, std::uint32_t seed) {
    // Shifted so that no octave's lattice, where value noise flattens, lies on the tile's edge.
    return FractalNoise(x + 7.3f, y + 3.1f, cell, 4, static_cast<int>(std::lround(kTile / cell)), seed);
}

// Value noise stretched along one axis, repeating with the tile on both: cellsAlong
// and cellsAcross lattice cells per tile.
float TileStreaks(float along, float across, int cellsAlong, int cellsAcross, std::uint32_t seed) {
    const float fx = along * cellsAlong / kTile + 0.37f, fy = across * cellsAcross / kTile + 0.61f;
    const float x0 = std::floor(fx), y0 = std::floor(fy);
    const float tx = fx - x0, ty = fy - y0;
    const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    auto at = [&](int i, int j) {
        return LatticeHash(((i % cellsAlong) + cellsAlong) % cellsAlong,
                           ((j % cellsAcross) + cellsAcross) % cellsAcross, seed);
    };
    const int i = static_cast<int>(x0), j = static_cast<int>(y0);
    const float top = at(i, j) + (at(i + 1, j) - at(i, j)) * sx;
    const float bottom = at(i, j + 1) + (at(i + 1, j + 1) - at(i, j + 1)) * sx;
    return top + (bottom - top) * sy;
}

// The pixel's own grain, a hash of its position in the tile.
float Speck(float x, float y, std::uint32_t seed) {
    return LatticeHash(int(x) % kTile, int(y) % kTile, seed);
}

// Stone slab: mottled grey with a bevelled edge.
Painter Slab(Rgb base, float contrast, std::uint32_t seed) {
    return [=](float x, float y) {
        const float n = TileFbm(x, y, 12, seed) - 0.5f;
        const float grain = Speck(x, y, seed) - 0.5f;
        Rgb c = base + Rgb{1, 1, 1} * (0.8f * contrast * n + 8 * grain);
        return Bevel(c, x, y, kTile, kTile, 2.0f, 0.7f);
    };
}

// Cells of a Voronoi pattern with a border: cobbles, flagstones.
struct Voronoi {
    std::vector<Vec2> points;
    // Distance to the nearest and second nearest point, and the nearest one's number.
    void Nearest(Vec2 p, float size, float& d1, float& d2, int& which, Vec2* centre = nullptr) const {
        d1 = d2 = 1e9f;
        which = 0;
        for (int i = 0; i < int(points.size()); ++i) {
            for (int ox = -1; ox <= 1; ++ox) {
                for (int oy = -1; oy <= 1; ++oy) {
                    const Vec2 at = points[i] + Vec2{ox * size, oy * size};
                    const float d = Length(p - at);
                    if (d < d1) {
                        d2 = d1;
                        d1 = d;
                        which = i;
                        if (centre) *centre = at;
                    } else if (d < d2) {
                        d2 = d;
                    }
                }
            }
        }
    }
};

// Points spread by jittering a grid, so the stones come out of even size and the
// tile's own pattern does not catch the eye when it repeats.
Voronoi MakeVoronoi(int count, float size, std::uint32_t seed) {
    Random random(seed);
    Voronoi v;
    const int across = std::max(1, static_cast<int>(std::lround(std::sqrt(float(count)))));
    const float step = size / across;
    for (int i = 0; i < count; ++i) {
        const int gx = i % across, gy = (i / across) % across;
        const float shift = (i / across) % 2 ? step / 2 : 0;
        v.points.push_back({std::fmod(gx * step + shift + random.Range(0.2f, 0.8f) * step, size),
                            std::fmod(gy * step + random.Range(0.2f, 0.8f) * step, size)});
    }
    return v;
}

Painter Cobbles(Rgb base, Rgb mortar, int count, std::uint32_t seed) {
    const Voronoi v = MakeVoronoi(count, kTile, seed);
    return [=](float x, float y) {
        float d1, d2;
        int which;
        Vec2 centre;
        v.Nearest({std::fmod(x, float(kTile)), std::fmod(y, float(kTile))}, kTile, d1, d2, which, &centre);
        const float edge = d2 - d1;  // grows towards the middle of a stone
        const float tint = LatticeHash(which, 3, seed) - 0.5f;
        Rgb stone = base * (0.85f + 0.3f * tint) + Grey(18 * (TileFbm(x, y, 6, seed + 1) - 0.5f));
        stone = stone * (0.75f + 0.3f * SmoothStep(0.5f, 5.0f, edge));
        // Lit on the side facing the light.
        const Vec2 toward = Vec2{std::fmod(x, float(kTile)), std::fmod(y, float(kTile))} - centre;
        stone = stone + Grey(-6 * (toward.x + toward.y) / 8 * SmoothStep(1.0f, 4.0f, edge));
        return Mix(mortar, stone, SmoothStep(0.6f, 1.6f, edge));
    };
}

Painter Bricks(Rgb brick, Rgb mortar, std::uint32_t seed) {
    return [=](float x, float y) {
        const int row = int(y / 9);
        const float shift = row % 2 ? 9 : 0;
        const float bx = std::fmod(x + shift, 18.0f), by = std::fmod(y, 9.0f);
        const int which = int((x + shift) / 18) + row * 7;
        const float inner = std::min({bx, by, 18 - bx, 9 - by});
        Rgb c =
            brick * (0.85f + 0.3f * LatticeHash(which, row, seed)) + Grey(20 * (Fbm(x, y, 5, seed) - 0.5f));
        c = Bevel(c, bx, by, 18, 9, 1.6f, 0.6f);
        return Mix(mortar + Grey(10 * (Fbm(x, y, 3, seed + 4) - 0.5f)), c, SmoothStep(0.6f, 1.4f, inner));
    };
}

// Veins follow the ridges of a warped noise: a net of fine, faint lines, three
// or four to a tile and none that stands out, so a rug of marble does not show
// the tile it repeats.
Painter Marble(Rgb base, Rgb vein, std::uint32_t seed) {
    return [=](float x, float y) {
        // On the diagonals (which repeat with the tile too) the veins run slanting,
        // not along the lattice of the noise.
        const float u = x + y, v = x - y + kTile;
        const float warp = TileFbm(x, y, 12, seed + 5);
        auto ridge = [&](std::uint32_t k, float cell, float sharp) {
            const float n = TileFbm(u, v, cell, seed + k) * 0.75f + 0.25f * warp;
            return std::pow(1 - std::abs(2 * n - 1), sharp);
        };
        const float main = ridge(0, 9, 10), fine = ridge(9, 6, 30);
        const float cloud = TileFbm(x, y, 6, seed + 2) - 0.5f;
        Rgb c = base + Rgb{1, 1, 0.6f} * (8 * cloud);
        c = Mix(c, vein, 0.32f * main);
        c = Mix(c, Mix(vein, base, 0.5f), 0.22f * fine);
        return c + Grey(3 * (Speck(x, y, seed) - 0.5f));
    };
}

// Crystals of a few pixels, small and many, so that no single flake can be
// found again in the next tile: grey quartz, feldspar and mica in a polished,
// seamless slab.
Painter Granite(Rgb base, std::uint32_t seed) {
    // Scattered at random, not on a grid, so no rows show.
    Voronoi crystals;
    Random random(seed);
    for (int i = 0; i < 220; ++i) crystals.points.push_back({random.Range(0, kTile), random.Range(0, kTile)});
    return [=](float x, float y) {
        float d1, d2;
        int which;
        crystals.Nearest({x, y}, kTile, d1, d2, which);
        const float kind = LatticeHash(which, 7, seed);
        const float tint = LatticeHash(which, 8, seed) - 0.5f;
        Rgb c = base + Grey(12 * tint);
        if (kind < 0.2f)
            c = Hex(0x66646C) + Grey(10 * tint);  // mica
        else if (kind < 0.45f)
            c = Hex(0xA08C88) + Grey(12 * tint);  // feldspar
        else if (kind > 0.85f)
            c = Hex(0xB4B2B8) + Grey(8 * tint);  // quartz
        // Crystals meet in a faint line; a cloud of polish over all.
        c = c * (0.9f + 0.1f * SmoothStep(0.2f, 1.0f, d2 - d1));
        return c + Grey(8 * (TileFbm(x, y, 12, seed + 2) - 0.5f) + 3 * (Speck(x, y, seed) - 0.5f));
    };
}

// Metal: shared shading of a round rivet head.
Rgb Rivet(Rgb c, Vec2 p, Vec2 at, float radius) {
    const float d = CircleDistance(p, at, radius);
    if (d > 2.5f) return c;
    c = c * (1 - 0.35f * (1 - SmoothStep(-0.5f, 2.0f, CircleDistance(p, at + Vec2{0.8f, 0.8f}, radius))));
    const Vec2 rel = (p - at) * (1 / radius);
    const Rgb head = Grey(150) + Grey(90 * Clamp01(0.5f - 0.6f * (rel.x + rel.y)));
    return Mix(c, head, Coverage(d));
}

Painter SteelPlate(Rgb base, std::uint32_t seed, bool rusty) {
    return [=](float x, float y) {
        Rgb c = base + Grey(16 * (TileFbm(x, y, 9, seed) - 0.5f));
        if (rusty) {
            // One continuous sheet: rust in patches and pits, no edge and no rivets.
            const float rust = SmoothStep(0.42f, 0.72f, TileFbm(x, y, 12, seed + 7));
            const float pits = Speck(x, y, seed);
            c = Mix(c, Hex(0x8A4A22) * (0.8f + 0.3f * pits), rust);
            return c * (1 - 0.25f * SmoothStep(0.85f, 0.95f, pits) * rust);
        }
        c = Bevel(c, x, y, kTile, kTile, 2.0f, 0.9f);
        for (float rx : {6.0f, 30.0f})
            for (float ry : {6.0f, 30.0f}) c = Rivet(c, {x, y}, {rx, ry}, 2.1f);
        return c;
    };
}

Painter TreadPlate(Rgb base, std::uint32_t seed) {
    return [=](float x, float y) {
        Rgb c = base + Grey(10 * (TileFbm(x, y, 9, seed) - 0.5f));
        // Raised bars, alternately slanted, on a grid of 9 pixels.
        const int gx = int(x / 9), gy = int(y / 9);
        const Vec2 centre{gx * 9 + 4.5f, gy * 9 + 4.5f};
        const Vec2 dir = (gx + gy) % 2 ? Vec2{0.7071f, 0.7071f} : Vec2{0.7071f, -0.7071f};
        const float d = SegmentDistance({x, y}, centre - dir * 2.8f, centre + dir * 2.8f, 1.2f);
        const Vec2 rel = Vec2{x, y} - centre;
        const Rgb bar = c * (1.05f + 0.04f * (-rel.x - rel.y));
        c = c * (1 - 0.3f * Coverage(d - 1.0f) * Clamp01((rel.x + rel.y) * 0.5f));
        return Mix(c, bar + Grey(20), Coverage(d));
    };
}

Painter Brushed(Rgb base, std::uint32_t seed) {
    return [=](float x, float y) {
        const float streak = TileStreaks(x, y, 6, 72, seed) - 0.5f;
        const float sheen = std::sin((x + y) * 2 * kPi / kTile) * 0.5f + 0.5f;
        Rgb c = base + Grey(22 * streak + 24 * sheen);
        return Bevel(c, x, y, kTile, kTile, 1.5f, 0.7f);
    };
}

Painter Grating(std::uint32_t seed) {
    return [=](float x, float y) {
        const float bx = std::fmod(x, 6.0f), by = std::fmod(y, 12.0f);
        Rgb c = Grey(18) + Grey(10 * TileFbm(x, y, 6, seed));
        const float barX = std::abs(bx - 3) - 1.3f;  // vertical bars
        const float barY = std::abs(by - 6) - 1.0f;  // cross bars
        if (barX < 0.5f)
            c = Mix(c, Grey(120 + 40 * (1.5f - bx) / 1.5f) + Grey(14 * (TileFbm(x, y, 6, seed + 1) - 0.5f)),
                    Coverage(barX));
        if (barY < 0.5f) c = Mix(c, Grey(105 + 20 * (6 - by) / 1.0f), Coverage(barY));
        return Bevel(c, x, y, kTile, kTile, 2.0f, 0.9f);
    };
}

// Patina in a fine, even bloom over the whole sheet: no patch or rivet that
// marks every tile.
Painter CopperPlate(std::uint32_t seed) {
    return [=](float x, float y) {
        Rgb c = Hex(0xA86C44) + Grey(16 * (TileFbm(x, y, 6, seed) - 0.5f));
        const float patina = SmoothStep(0.35f, 0.75f, TileFbm(x, y, 4, seed + 3));
        c = Mix(c, Hex(0x6A9A88), 0.7f * patina);
        return c + Grey(4 * (Speck(x, y, seed) - 0.5f));
    };
}

Painter Perforated(std::uint32_t seed) {
    return [=](float x, float y) {
        Rgb c = Hex(0x8A9096) + Grey(12 * (TileFbm(x, y, 9, seed) - 0.5f));
        const int row = int(y / 6);
        const float cx = std::fmod(x + (row % 2 ? 3 : 0), 6.0f) - 3, cy = std::fmod(y, 6.0f) - 3;
        const float d = Length({cx, cy}) - 1.6f;
        const Rgb hole = Grey(20) + Grey(40 * Clamp01((cx + cy) * 0.3f + 0.5f));
        c = Mix(c, hole, Coverage(d));
        return Bevel(c, x, y, kTile, kTile, 1.5f, 0.7f);
    };
}

// Wood: grain along the planks, the planks' own tint and edges.
// Along the plank the grain repeats with the tile, so planks run on unbroken
// into the next tile.
Rgb Grain(Rgb base, float along, float across, int plank, std::uint32_t seed) {
    const float ring =
        std::sin(across * 1.7f + 6 * TileStreaks(along, across, 6, 9, seed + 977u * plank) + plank);
    const float fine = TileStreaks(along, across, 4, 90, seed + 1 + 31u * plank) - 0.5f;
    const float tint = 0.86f + 0.26f * LatticeHash(plank, 1, seed);
    return base * tint * (0.9f + 0.1f * ring) + Grey(14 * fine);
}

Painter Planks(Rgb base, bool vertical, int count, std::uint32_t seed) {
    return [=](float x, float y) {
        const float along = vertical ? y : x, across = vertical ? x : y;
        const float width = float(kTile) / count;
        const int plank = int(across / width);
        const float in = std::fmod(across, width);
        Rgb c = Grain(base, along, across, plank, seed);
        const float edge = std::min(in, width - in);
        c = c * (0.55f + 0.45f * SmoothStep(0.2f, 1.3f, edge));
        // A joint across every other plank.
        const float joint = std::abs(std::fmod(along + plank * 13, 36.0f) - 18);
        if (plank % 2) c = c * (0.6f + 0.4f * SmoothStep(0.3f, 1.2f, joint));
        return c;
    };
}

Painter Parquet(Rgb a, Rgb b, std::uint32_t seed) {
    return [=](float x, float y) {
        const int qx = int(x / 18), qy = int(y / 18);
        const bool across = (qx + qy) % 2;
        const float lx = std::fmod(x, 18.0f), ly = std::fmod(y, 18.0f);
        const float along = across ? ly : lx, side = across ? lx : ly;
        const int strip = int(side / 6) + 3 * (qx + 2 * qy);
        Rgb c = Grain((strip % 2) ? a : b, along, side, strip, seed);
        const float edge = std::min({std::fmod(side, 6.0f), 6 - std::fmod(side, 6.0f), along, 18 - along});
        return c * (0.6f + 0.4f * SmoothStep(0.2f, 1.2f, edge));
    };
}

// Blocks of end grain, four to a tile, each cut from a different log (its
// heart outside the block, somewhere else each time), so the rings of one
// tile do not come back as one figure in the next.
Painter EndGrain(std::uint32_t seed) {
    return [=](float x, float y) {
        const int bx = int(x / 18), by = int(y / 18);
        const int block = bx + 2 * by;
        const float angle = 6.2832f * LatticeHash(block, 3, seed);
        const Vec2 heart = Vec2{bx * 18 + 9.0f, by * 18 + 9.0f} +
                           Vec2{std::cos(angle), std::sin(angle)} * (14 + 8 * LatticeHash(block, 4, seed));
        const float r = Length(Vec2{x, y} - heart) + 2 * Fbm(x, y, 6, seed);
        const float ring = 0.5f + 0.5f * std::sin(r * 1.6f);
        Rgb c = Mix(Hex(0x9A6A3C), Hex(0xB88452), ring) * (0.92f + 0.16f * LatticeHash(block, 5, seed)) +
                Grey(8 * (LatticeHash(int(x), int(y), seed) - 0.5f));
        return Bevel(c, std::fmod(x, 18.0f), std::fmod(y, 18.0f), 18, 18, 1.2f, 0.5f);
    };
}

// Carpet: a fuzz of fine noise over a woven motif.
Rgb Fuzz(Rgb c, float x, float y, std::uint32_t seed) {
    return c * (0.88f + 0.24f * Speck(x, y, seed)) + Grey(10 * (TileFbm(x, y, 6, seed + 1) - 0.5f));
}

Painter Carpet(Rgb ground, Rgb figure, int kind, std::uint32_t seed) {
    return [=](float x, float y) {
        float f = 0;
        const float cx = std::fmod(x, 12.0f) - 6, cy = std::fmod(y, 12.0f) - 6;
        switch (kind) {
            case 0:
                f = Coverage(std::abs(cx) + std::abs(cy) - 3.5f) -
                    Coverage(std::abs(cx) + std::abs(cy) - 1.5f);
                break;
            case 1:
                f = Coverage(Length({cx, cy}) - 1.8f);
                break;
            case 2:
                f = Coverage(std::abs(std::fmod(x + y, 12.0f) - 6) - 1.5f);
                break;
            case 3:
                f = Coverage(std::abs(Length({cx, cy}) - 3.8f) - 0.8f);
                break;
            default:
                f = Coverage(std::abs(std::fmod(y, 9.0f) - 4.5f) - 1.2f);
                break;
        }
        // Wall to wall: the pattern runs on into the next tile, with no frame.
        return Fuzz(Mix(ground, figure, Clamp01(f)), x, y, seed);
    };
}

// Patterns.
Painter Checker(Rgb a, Rgb b, std::uint32_t seed) {
    return [=](float x, float y) {
        const int cx = int(x / 9), cy = int(y / 9);
        Rgb c = (cx + cy) % 2 ? a : b;
        c = c + Grey(8 * (TileFbm(x, y, 9, seed) - 0.5f));
        return Bevel(c, std::fmod(x, 9.0f), std::fmod(y, 9.0f), 9, 9, 1.0f, 0.5f);
    };
}

Painter DelftTile(std::uint32_t seed) {
    return [=](float x, float y) {
        const Vec2 p{x - 18, y - 18};
        Rgb c = Hex(0xF2F0E6) + Grey(6 * (TileFbm(x, y, 9, seed) - 0.5f));
        const Rgb blue = Hex(0x2A4A9A);
        // A four-petal flower in the middle and quarter flowers in the corners.
        const float angle = std::atan2(p.y, p.x);
        const float petal = Length(p) - (5 + 4 * std::abs(std::cos(2 * angle)));
        float ink = Coverage(petal) * 0.85f;
        ink = std::max(ink, Coverage(Length(p) - 2.2f));
        for (float kx : {0.0f, 36.0f})
            for (float ky : {0.0f, 36.0f})
                ink = std::max(ink, Coverage(std::abs(Length(Vec2{x - kx, y - ky}) - 7) - 1.0f));
        c = Mix(c, blue, ink);
        return Bevel(c, x, y, kTile, kTile, 1.5f, 0.6f);
    };
}

// Hexagonal tiles as the cells round a centred 12 x 18 lattice, so that two rows
// fill the tile and the pattern runs on into the next.
Painter Hexagons(Rgb base, std::uint32_t seed) {
    Voronoi lattice;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            lattice.points.push_back({col * 12.0f + (row % 2 ? 6 : 0), row * 9.0f});
    return [=](float x, float y) {
        float d1, d2;
        int which;
        Vec2 centre;
        lattice.Nearest({x, y}, kTile, d1, d2, which, &centre);
        const Vec2 q = Vec2{x, y} - centre;
        Rgb tile =
            base * (0.85f + 0.25f * LatticeHash(which, 0, seed)) + Grey(10 * (TileFbm(x, y, 6, seed) - 0.5f));
        tile = tile + Grey(-8 * (q.x + q.y) / 5);
        return Mix(Hex(0xD8D0C0), tile, SmoothStep(0.8f, 1.8f, d2 - d1));
    };
}

// Tesserae of 4 pixels in grout, laid in rings round the tile's middle so that
// neighbouring tiles make a band of diamonds; each stone a little off in tint.
Painter Mosaic(std::uint32_t seed) {
    const std::array<Rgb, 4> bands = {Hex(0xE6E0CC), Hex(0x2F6EA8), Hex(0x5AA8C4), Hex(0x1E3E70)};
    return [=](float x, float y) {
        const int mx = int(x / 4), my = int(y / 4);
        const float lx = std::fmod(x, 4.0f), ly = std::fmod(y, 4.0f);
        const int ring = std::abs(mx - 4) + std::abs(my - 4);
        const int band = ring <= 1 ? 3 : ring % 3 == 0 ? 1 : ring % 3 == 1 ? 2 : 0;
        Rgb c = bands[band] * (0.9f + 0.14f * LatticeHash(mx, my, seed)) +
                Grey(6 * (Speck(x, y, seed + 1) - 0.5f));
        // Each stone a little domed: lit at the top left.
        c = c + Grey(10 * (1.5f - (lx + ly) * 0.5f) / 1.5f);
        const float edge = std::min({lx, ly, 4 - lx, 4 - ly});
        return Mix(Hex(0x8C877C), c, SmoothStep(0.2f, 0.8f, edge));
    };
}

// Cast-iron scales: the overlapping fans of a foundry's floor plate.
Painter Fans(std::uint32_t seed) {
    return [=](float x, float y) {
        const int row = int(y / 9);
        const float shift = row % 2 ? 6 : 0;
        const float lx = std::fmod(x + shift, 12.0f) - 6, ly = std::fmod(y, 9.0f) - 9;
        const float r = Length({lx, ly});
        const bool inFan = r < 8.5f;
        Rgb c = Hex(0x3A3C40);
        if (inFan) {
            const float ringsBand = std::fmod(r, 3.0f);
            c = Mix(Hex(0x8A8C90), Hex(0x4E5054),
                    SmoothStep(0.6f, 1.4f, ringsBand) * SmoothStep(1.6f, 1.0f, ringsBand));
        }
        return c + Grey(8 * (TileFbm(x, y, 6, seed) - 0.5f));
    };
}

Painter Stripes(Rgb a, Rgb b, float width, std::uint32_t seed) {
    return [=](float x, float y) {
        const float t = std::fmod(x + y, 2 * width);
        const float k = SmoothStep(-0.5f, 0.5f, std::min(t, 2 * width - t) - width / 2);
        Rgb c = Mix(a, b, k) + Grey(10 * (TileFbm(x, y, 6, seed) - 0.5f));
        return Bevel(c, x, y, kTile, kTile, 1.5f, 0.6f);
    };
}

// Motifs spanning several tiles.

// Each motif lies on the very texture the level puts round it (the ground's
// painter, tile by tile), so it continues into the floor without an edge.
Painter ManholeCover(const Painter& ground, std::uint32_t seed) {
    return [=](float x, float y) {
        const Vec2 p{x - 36, y - 36};
        Rgb c = ground(std::fmod(x, 36.0f), std::fmod(y, 36.0f));
        const float r = Length(p);
        // Shadow of the rim, then the iron frame and the lid with its grid of bosses.
        c = c * (1 - 0.4f * (1 - SmoothStep(30.0f, 33.0f, r)));
        const Rgb iron = Hex(0x4C4E52) + Grey(16 * (Fbm(x, y, 7, seed) - 0.5f));
        const float lit = -(p.x + p.y) / std::max(r, 1.0f);
        Rgb rim = iron + Grey(45 * lit * SmoothStep(26.0f, 30.0f, r));
        Rgb lid = iron * 0.9f;
        const float gx = std::fmod(p.x + 60, 6.0f) - 3, gy = std::fmod(p.y + 60, 6.0f) - 3;
        const float boss = Length({gx, gy}) - 1.5f;
        lid = Mix(lid, iron + Grey(28 * Clamp01(0.5f - 0.4f * (gx + gy))),
                  Coverage(boss) * SmoothStep(22.0f, 20.0f, r));
        lid = lid * (1 - 0.45f * Coverage(std::abs(r - 24) - 0.6f));
        // A ring of raised letters is beyond 12 pixels; a cross of bars marks the lid instead.
        const float bars = std::min(std::abs(p.x), std::abs(p.y)) - 1.8f;
        lid = Mix(lid, iron + Grey(30),
                  Coverage(bars) * SmoothStep(20.0f, 18.0f, r) * SmoothStep(5.0f, 6.0f, r));
        lid = Mix(lid, iron + Grey(40 * Clamp01(0.5f - 0.1f * (p.x + p.y))), Coverage(r - 5));
        c = Mix(c, rim, Coverage(r - 30));
        c = Mix(c, lid, Coverage(r - 26.5f));
        c = c * (1 - 0.5f * Coverage(std::abs(r - 26.8f) - 0.5f));
        return c;
    };
}

Painter Rug(const Painter& ground, std::uint32_t seed) {
    return [=](float x, float y) {
        Rgb c = ground(std::fmod(x, 36.0f), std::fmod(y, 36.0f));
        const Vec2 p{x - 36, y - 36};
        const float body = BoxDistance({x, y}, {36, 36}, {26, 30}, 1.0f);
        // Fringes at the two short ends.
        const bool fringeZone = std::abs(p.y) > 30 && std::abs(p.y) < 34 && std::abs(p.x) < 25;
        if (fringeZone && int(x) % 2 == 0) c = Mix(c, Hex(0xE8DCC0), 0.9f);
        c = c * (1 - 0.35f * (1 - SmoothStep(-1.0f, 2.5f,
                                             BoxDistance({x - 1.5f, y - 1.5f}, {36, 36}, {26, 30}, 1))));
        if (body < 0.5f) {
            const float inner = -body;
            Rgb rug = Hex(0x8C1C24);
            if (inner > 2 && inner < 6) rug = Hex(0xD8A040);
            if (inner > 3.3f && inner < 4.7f) rug = Hex(0x1E2E5E);
            // The middle: a diamond medallion with a star.
            const float diamond = std::abs(p.x) / 18 + std::abs(p.y) / 22;
            if (diamond < 1)
                rug = Mix(Hex(0x1E2E5E), Hex(0xD8A040),
                          SmoothStep(0.72f, 0.78f, diamond) * SmoothStep(0.92f, 0.86f, diamond));
            const float angle = std::atan2(p.y, p.x);
            const float star = Length(p) - (4 + 3.5f * std::abs(std::cos(4 * angle)));
            if (diamond < 1) rug = Mix(rug, Hex(0xE8D8A8), Coverage(star));
            for (float k : {-1.0f, 1.0f}) {
                const float corner = Length(Vec2{std::abs(p.x) - 18, p.y - k * 22}) - 3;
                rug = Mix(rug, Hex(0xD8A040), Coverage(corner));
            }
            rug = Fuzz(rug, x, y, seed);
            c = Mix(c, rug, Coverage(body));
        }
        return c;
    };
}

Painter Trapdoor(const Painter& ground, std::uint32_t seed) {
    return [=](float x, float y) {
        Rgb c = ground(std::fmod(x, 36.0f), std::fmod(y, 36.0f));
        const float door = BoxDistance({x, y}, {36, 36}, {31, 31}, 2);
        c = c *
            (1 - 0.45f * (1 - SmoothStep(-1.0f, 3.0f, BoxDistance({x - 2, y - 2}, {36, 36}, {31, 31}, 2))));
        if (door < 0.5f) {
            const int plank = int((x - 5) / 10.4f);
            Rgb wood = Grain(Hex(0x7A5030), y, x, plank, seed) *
                       (0.6f + 0.4f * SmoothStep(0.2f, 1.2f,
                                                 std::min(std::fmod(x - 5, 10.4f),
                                                          10.4f - std::fmod(x - 5, 10.4f))));
            // Two iron bands with bolts, and a ring to lift the hatch.
            for (float by : {17.0f, 55.0f}) {
                const float band = std::abs(y - by) - 3;
                const Rgb iron = Hex(0x3E3C3A) + Grey(30 * Clamp01((by - y) / 3 * 0.5f + 0.5f));
                wood = Mix(wood, iron, Coverage(band));
                for (float bx = 10; bx < 66; bx += 10.4f) wood = Rivet(wood, {x, y}, {bx, by}, 1.3f);
            }
            const float ring = std::abs(Length(Vec2{x - 36, y - 40}) - 5) - 1.1f;
            wood = wood * (1 - 0.4f * Coverage(std::abs(Length(Vec2{x - 37, y - 41}) - 5) - 1.3f));
            wood = Mix(wood, Hex(0x6A6660) + Grey(50 * Clamp01((36 - x + 40 - y) * 0.1f + 0.5f)),
                       Coverage(ring));
            wood = Rivet(wood, {x, y}, {36, 35}, 1.8f);
            c = Mix(c, Bevel(wood, x - 5, y - 5, 62, 62, 2.0f, 0.8f), Coverage(door));
        }
        return c;
    };
}

Painter CompassRose(const Painter& ground) {
    return [=](float x, float y) {
        const Vec2 p{x - 54, y - 54};
        Rgb c = ground(std::fmod(x, 36.0f), std::fmod(y, 36.0f));
        const float r = Length(p);
        // Inlaid rings of dark stone.
        c = Mix(c, Hex(0x2E3A4A), Coverage(std::abs(r - 46) - 2.2f));
        c = Mix(c, Hex(0xA8342C), Coverage(std::abs(r - 41) - 1.0f));
        // Eight points: four long ones on the axes, four short ones between.
        for (int k = 0; k < 8; ++k) {
            const float a = k * kPi / 4;
            const Vec2 dir{std::cos(a), std::sin(a)};
            const Vec2 side{-dir.y, dir.x};
            const float along = Dot(p, dir), across = Dot(p, side);
            const float length = k % 2 ? 26.0f : 40.0f, width = k % 2 ? 6.0f : 8.0f;
            if (along <= 0) continue;
            const float d = std::abs(across) - width * (1 - along / length);
            if (d < 0.5f && along < length) {
                // Each point in a light and a dark half, like a folded blade.
                const Rgb light = k % 2 ? Hex(0xA8B4C4) : Hex(0xE8DEC8);
                const Rgb dark = k % 2 ? Hex(0x3A4A62) : Hex(0x24304A);
                c = Mix(c, across > 0 ? light : dark, Coverage(d));
            }
        }
        c = Mix(c, Hex(0xD8A040), Coverage(r - 4.5f));
        c = Mix(c, Hex(0xF4DC90), Coverage(Length(p + Vec2{1, 1}) - 2));
        return c;
    };
}

Painter Gear(const Painter& ground, std::uint32_t seed) {
    return [=](float x, float y) {
        const Vec2 p{x - 54, y - 54};
        Rgb c = ground(std::fmod(x, 36.0f), std::fmod(y, 36.0f));
        const float r = Length(p);
        const float angle = std::atan2(p.y, p.x);
        const int teeth = 12;
        const float toothPhase = std::cos(angle * teeth);
        const float outer = 40 + 6 * SmoothStep(-0.2f, 0.3f, toothPhase);
        const float gear = std::max(r - outer, 12 - r);
        // Shadow on the floor.
        const Vec2 ps = p - Vec2{2.5f, 2.5f};
        const float rs = Length(ps);
        const float outerS = 40 + 6 * SmoothStep(-0.2f, 0.3f, std::cos(std::atan2(ps.y, ps.x) * teeth));
        c = c * (1 - 0.5f * (1 - SmoothStep(-1.0f, 3.0f, rs - outerS)));
        if (gear < 0.5f) {
            Rgb metal = Hex(0xB08A3C) + Grey(16 * (Fbm(x, y, 6, seed + 2) - 0.5f));
            // Brass: bright on the edges that face the light.
            const float edge = std::min(outer - r, r - 12);
            const float lit = -(p.x + p.y) / std::max(r, 1.0f);
            metal = metal + Grey(40 * lit * (1 - SmoothStep(0.0f, 3.0f, edge)) * (r > 26 ? 1.0f : -1.0f));
            // Six round holes between the hub and the rim.
            for (int k = 0; k < 6; ++k) {
                const float a = k * kPi / 3 + kPi / 6;
                const Vec2 hole{std::cos(a) * 26, std::sin(a) * 26};
                const float hd = CircleDistance(p, hole, 7);
                metal = Mix(metal, c * 0.55f, Coverage(hd));
            }
            metal = Mix(metal, metal * 0.7f, Coverage(std::abs(r - 34) - 0.7f));
            c = Mix(c, metal, Coverage(gear));
        }
        // The axle.
        c = Mix(c, Hex(0x707478) + Grey(60 * Clamp01(0.5f - 0.05f * (p.x + p.y))), Coverage(r - 9));
        c = Mix(c, Hex(0x202224), Coverage(std::max(std::abs(p.x) - 5.0f, std::abs(p.y) - 1.4f)));
        return c;
    };
}

// The position in kFloorTextures of the ground a motif lies on.
std::size_t GroundTexture(std::size_t motif) {
    const std::uint8_t code = kFloorMotifs[motif].ground;
    return static_cast<std::size_t>(std::find(kFloorTextures.begin(), kFloorTextures.end(), code) -
                                    kFloorTextures.begin());
}

}  // namespace

Canvas DrawFloorSheet(std::uint32_t seed, int scale) {
    const ScaledArt scaled(scale);
    Canvas sheet(kFloorGrid * kTile * scale, kFloorGrid * kTile * scale);
    auto s = [seed](std::uint32_t k) { return seed * 131u + k; };

    // The single tiles in the order of kFloorTextures; tile 7 stays black.
    const std::array<Painter, kFloorTextures.size()> textures = {{
        Slab(Hex(0x8E8A84), 26, s(1)),  // grey slab
        Cobbles(Hex(0x8A8276), Hex(0x3C3830), 7, s(2)),
        SteelPlate(Hex(0x7C8288), s(3), false),  // riveted steel
        Planks(Hex(0xA87848), false, 4, s(4)),
        Carpet(Hex(0x8C1C24), Hex(0xC8902C), 0, s(5)),  // red carpet
        Checker(Hex(0xE8E4D8), Hex(0x2C2C30), s(6)),
        DelftTile(s(7)),                                  // blue-and-white tile
        Slab(Hex(0xC8A878), 24, s(20)),                   // sandstone
        Cobbles(Hex(0x9A7A62), Hex(0x5A4A3C), 9, s(21)),  // brown flagstones
        Bricks(Hex(0xA4452E), Hex(0xB8B0A0), s(22)),
        Marble(Hex(0xE8E6E0), Hex(0x6A6E78), s(23)),
        Granite(Hex(0x8A8690), s(24)),
        Slab(Hex(0x4E5660), 20, s(25)),  // slate
        TreadPlate(Hex(0x8E949A), s(26)),
        Brushed(Hex(0xA8ACB2), s(27)),
        Grating(s(28)),
        SteelPlate(Hex(0x6E6258), s(29), true),
        CopperPlate(s(30)),
        Perforated(s(31)),
        Planks(Hex(0x8A5A34), true, 3, s(32)),
        Parquet(Hex(0xB88A58), Hex(0x9A6A3E), s(33)),
        EndGrain(s(34)),
        Planks(Hex(0xD8B888), false, 6, s(35)),  // birch
        Carpet(Hex(0x223C78), Hex(0x6A8AC8), 1, s(36)),
        Carpet(Hex(0x4A4E52), Hex(0x7A8084), 2, s(37)),  // ribbed rubber mat
        Carpet(Hex(0x50545A), Hex(0x80868C), 3, s(38)),  // coin rubber mat
        Carpet(Hex(0x6A6A70), Hex(0x9A9AA2), 4, s(39)),
        Carpet(Hex(0xB85A1C), Hex(0xF0C060), 1, s(40)),
        Hexagons(Hex(0xB85A3A), s(41)),
        Mosaic(s(42)),
        Fans(s(43)),
        Stripes(Hex(0x8A9096), Hex(0xB4BAC0), 6, s(44)),  // corrugated sheet
        Stripes(Hex(0xE8C020), Hex(0x202020), 6, s(45)),
    }};
    std::array<Tone, kFloorTextures.size()> tones;
    for (std::size_t i = 0; i < textures.size(); ++i) {
        tones[i] = ToneOf(textures[i]);
        Paint(sheet, kFloorTextures[i], 1, 1, Toned(textures[i], tones[i]));
    }

    // The larger pictures in the order of kFloorMotifs, each in the tone of its ground.
    auto ground = [&](std::size_t motif) { return textures[GroundTexture(motif)]; };
    const std::array<Painter, kFloorMotifs.size()> motifs = {
        ManholeCover(ground(0), s(8)), Rug(ground(1), s(9)),       CompassRose(ground(2)),
        Gear(ground(3), s(11)),        Trapdoor(ground(4), s(12)),
    };
    for (std::size_t i = 0; i < motifs.size(); ++i) {
        const FloorMotif& m = kFloorMotifs[i];
        Paint(sheet, m.corner, m.width, m.height, TonedOver(motifs[i], ground(i), tones[GroundTexture(i)]));
    }
    return sheet;
}
