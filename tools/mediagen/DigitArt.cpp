#include <array>
#include <cmath>

#include "tools/mediagen/Artwork.h"

namespace {

constexpr int kGlyphWidth = 11;
constexpr int kBlank = 10;

// Dot-matrix digits, 4 dots wide and 7 high; each dot is 2 x 2 pixels with a
// gap of one, which fills a glyph of 11 x 20 exactly.
constexpr std::array<std::array<const char*, 7>, 10> kDigits = {{
    {".XX.", "X..X", "X..X", "X..X", "X..X", "X..X", ".XX."},
    {"..X.", ".XX.", "..X.", "..X.", "..X.", "..X.", ".XXX"},
    {".XX.", "X..X", "...X", "..X.", ".X..", "X...", "XXXX"},
    {"XXX.", "...X", "...X", ".XX.", "...X", "...X", "XXX."},
    {"X..X", "X..X", "X..X", "XXXX", "...X", "...X", "...X"},
    {"XXXX", "X...", "XXX.", "...X", "...X", "X..X", ".XX."},
    {".XX.", "X...", "X...", "XXX.", "X..X", "X..X", ".XX."},
    {"XXXX", "...X", "...X", "..X.", "..X.", ".X..", ".X.."},
    {".XX.", "X..X", "X..X", ".XX.", "X..X", "X..X", ".XX."},
    {".XX.", "X..X", "X..X", ".XXX", "...X", "...X", ".XX."},
}};

// Palette entries shared by both sheets: 0 black, 1..3 a lit dot (highlight,
// body, shade), 4..5 an unlit dot; faces use ramps from 16 on.
enum : std::uint8_t { kBlack = 0, kLitHigh = 1, kLit = 2, kLitShade = 3, kDarkHigh = 4, kDark = 5 };
constexpr int kRampLength = 48;
constexpr int kYellowRamp = 16, kRedRamp = kYellowRamp + kRampLength;

struct DotColours {
    std::uint32_t high, body, shade, darkHigh, dark;
};

// Drawn in the game's pixels; at scale s every pixel of a dot is s x s: the
// dots are squares, so that is their shape at any size.
void DrawGlyph(PalettedPicture& pic, int glyph, int scale) {
    for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 4; ++col) {
            const bool lit = glyph != kBlank && kDigits[glyph][row][col] == 'X';
            const int x = glyph * kGlyphWidth + 3 * col, y = 3 * row;
            auto set = [&](int dx, int dy, std::uint8_t v) {
                for (int j = 0; j < scale; ++j)
                    for (int i = 0; i < scale; ++i) {
                        const int at = ((y + dy) * scale + j) * pic.width + (x + dx) * scale + i;
                        pic.indices[static_cast<std::size_t>(at)] = v;
                    }
            };
            set(0, 0, lit ? kLitHigh : kDarkHigh);
            set(1, 0, lit ? kLit : kDark);
            set(0, 1, lit ? kLit : kDark);
            set(1, 1, lit ? kLitShade : kDark);
        }
    }
}

PalettedPicture DigitSheet(int width, DotColours colours, int scale) {
    PalettedPicture pic;
    pic.width = width * scale;
    pic.height = kDigitHeight * scale;
    pic.indices.assign(static_cast<std::size_t>(pic.width) * pic.height, kBlack);
    pic.palette[kLitHigh] = colours.high;
    pic.palette[kLit] = colours.body;
    pic.palette[kLitShade] = colours.shade;
    pic.palette[kDarkHigh] = colours.darkHigh;
    pic.palette[kDark] = colours.dark;
    for (int g = 0; g <= kBlank; ++g) DrawGlyph(pic, g, scale);
    return pic;
}

// A ramp from black through the colour to a pale highlight.
void SetRamp(PalettedPicture& pic, int first, Rgb colour, Rgb pale) {
    for (int i = 0; i < kRampLength; ++i) {
        const float t = i / float(kRampLength - 1);
        const Rgb c = t < 0.75f ? colour * (t / 0.75f) : Mix(colour, pale, (t - 0.75f) / 0.25f);
        pic.palette[first + i] = std::uint32_t(std::lround(c.r)) << 16 |
                                 std::uint32_t(std::lround(c.g)) << 8 | std::uint32_t(std::lround(c.b));
    }
}

// A round face 13 x 20 at x0: brightness per pixel, then put on the ramp.
void DrawFace(PalettedPicture& pic, int x0, int first, bool smiling, int scale) {
    const ScaledArt scaled(scale);
    const Vec2 centre{6.5f, 10.0f};
    constexpr float kRadius = 6.3f;
    for (int y = 0; y < kDigitHeight * scale; ++y) {
        for (int x = 0; x < 13 * scale; ++x) {
            const Vec2 p{(x + 0.5f) / scale, (y + 0.5f) / scale};
            const float cover = Coverage(CircleDistance(p, centre, kRadius));
            // Lit from the upper left like a ball.
            const Vec2 rel = (p - centre) * (1 / kRadius);
            float level = 0.62f + 0.16f * (-rel.x - rel.y) * 0.7f;
            level += 0.25f * (1 - SmoothStep(0.0f, 0.45f, Length(rel - Vec2{-0.35f, -0.4f})));
            // Eyes and mouth in a dark shade of the face's own colour.
            float ink = 0;
            for (float ex : {4.4f, 8.6f}) ink = std::max(ink, Coverage(CircleDistance(p, {ex, 8.3f}, 1.05f)));
            const Vec2 mouth = smiling ? Vec2{6.5f, 9.6f} : Vec2{6.5f, 16.6f};
            const float arc = std::abs(Length(p - mouth) - 3.6f) - 0.7f;
            const bool lowerHalf = smiling ? p.y > mouth.y + 1.2f : p.y < mouth.y - 1.6f;
            if (lowerHalf) ink = std::max(ink, Coverage(arc));
            level = level * (1 - ink) + 0.16f * ink;
            const int index =
                std::clamp(int(std::lround(level * cover * (kRampLength - 1))), 0, kRampLength - 1);
            const int at = y * pic.width + x0 * scale + x;
            pic.indices[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(first + index);
        }
    }
}

}  // namespace

PalettedPicture DrawLevelDigits(int scale) {
    PalettedPicture pic =
        DigitSheet(kLevelDigitsWidth, {0xFFFAB0, 0xFFDC28, 0xF0C010, 0x3A3008, 0x282000}, scale);
    SetRamp(pic, kYellowRamp, Hex(0xFFD020), Hex(0xFFFFD0));
    SetRamp(pic, kRedRamp, Hex(0xE82818), Hex(0xFFC8B8));
    // x = 121 stays black: the column between the digits and the faces.
    DrawFace(pic, 122, kYellowRamp, true, scale);
    DrawFace(pic, 135, kRedRamp, false, scale);
    return pic;
}

PalettedPicture DrawTimeDigits(int scale) {
    return DigitSheet(kTimeDigitsWidth, {0xD0FFC0, 0x48F848, 0x30D030, 0x124A10, 0x0A300A}, scale);
}
