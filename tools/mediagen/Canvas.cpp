#include "tools/mediagen/Canvas.h"

std::vector<std::uint8_t> Canvas::Bytes() const {
    std::vector<std::uint8_t> out;
    out.reserve(m_pixels.size() * 3);
    auto byte = [](float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f))); };
    for (const Rgb& p : m_pixels) {
        out.push_back(byte(p.r));
        out.push_back(byte(p.g));
        out.push_back(byte(p.b));
    }
    return out;
}
