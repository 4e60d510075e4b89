#include "tools/mediagen/Lettering.h"

#include <cmath>
#include <limits>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kAdvance = 1.0f;
constexpr float kGap = 0.4f;

float Segment(Vec2 p, Vec2 a, Vec2 b) {
    return SegmentDistance(p, a, b, 0);
}

// An arc of the circle of radius r around c, counter-clockwise from angle a0 to a1
// (radians, y up).
float Arc(Vec2 p, Vec2 c, float r, float a0, float a1) {
    const Vec2 d = p - c;
    float angle = std::atan2(d.y, d.x);
    while (angle < a0) angle += 2 * kPi;
    if (angle <= a1) return std::abs(Length(d) - r);
    const Vec2 e0{c.x + r * std::cos(a0), c.y + r * std::sin(a0)};
    const Vec2 e1{c.x + r * std::cos(a1), c.y + r * std::sin(a1)};
    return std::min(Length(p - e0), Length(p - e1));
}

float Ring(Vec2 p) {
    return std::abs(Length(p - Vec2{0.5f, 0.5f}) - 0.5f);
}

// Distance from p (letter units, y up, letter at its own origin) to the strokes' centre lines.
float LetterDistance(char letter, Vec2 p) {
    switch (letter) {
        case 'A':
            return std::min({Segment(p, {0, 0}, {0.5f, 1.4f}), Segment(p, {0.5f, 1.4f}, {1, 0}),
                             Segment(p, {0.22f, 0.45f}, {0.78f, 0.45f})});
        case 'q':
            return std::min(Ring(p), Segment(p, {1, 1}, {1, -0.42f}));
        case 'd':
            return std::min(Ring(p), Segment(p, {1, 1.4f}, {1, 0}));
        case 'o':
            return Ring(p);
        case 'u':
            return std::min({Segment(p, {0, 1}, {0, 0.5f}), Arc(p, {0.5f, 0.5f}, 0.5f, kPi, 2 * kPi),
                             Segment(p, {1, 1}, {1, 0})});
        case 'n':
            return std::min({Segment(p, {0, 0}, {0, 1}), Arc(p, {0.5f, 0.5f}, 0.5f, 0, kPi),
                             Segment(p, {1, 0.5f}, {1, 0})});
        case 'e':
            return std::min(Segment(p, {0, 0.5f}, {1, 0.5f}), Arc(p, {0.5f, 0.5f}, 0.5f, 0, 2 * kPi - 0.85f));
        default:
            return std::numeric_limits<float>::max();
    }
}

}  // namespace

Lettering::Lettering(const std::string& text, Vec2 origin, float scale)
    : m_text(text), m_origin(origin + Vec2{kStrokeHalf * scale, 0}), m_scale(scale) {}

float Lettering::Distance(Vec2 p) const {
    // Into letter units, y up from the baseline.
    const Vec2 u{(p.x - m_origin.x) / m_scale, (m_origin.y - p.y) / m_scale};
    float d = std::numeric_limits<float>::max();
    for (std::size_t i = 0; i < m_text.size(); ++i)
        d = std::min(d, LetterDistance(m_text[i], u - Vec2{i * (kAdvance + kGap), 0}));
    return (d - kStrokeHalf) * m_scale;
}

float Lettering::Width() const {
    const float n = static_cast<float>(m_text.size());
    return (n * kAdvance + (n - 1) * kGap + 2 * kStrokeHalf) * m_scale;
}
