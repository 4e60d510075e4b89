#pragma once

#include <string>

#include "tools/mediagen/Canvas.h"

// Our own stroke lettering, enough for the title: every letter is made of
// straight strokes and circular arcs. Letter units: x-height 1, capitals and
// ascenders 1.4, descenders 0.42, a stroke 2 * kStrokeHalf wide.
class Lettering {
public:
    static constexpr float kStrokeHalf = 0.14f;

    // text drawn with its baseline's left end at origin, scale pixels per unit.
    Lettering(const std::string& text, Vec2 origin, float scale);

    // Signed distance in pixels from p to the lettering's strokes.
    float Distance(Vec2 p) const;
    // Width in pixels, stroke ends included.
    float Width() const;

private:
    std::string m_text;
    Vec2 m_origin;
    float m_scale;
};
