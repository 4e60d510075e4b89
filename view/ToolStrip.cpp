#include "view/ToolStrip.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>

ToolStrip::ToolStrip(QWidget* parent) : QFrame(parent) {
    setPalette(MetalPalette());
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QPalette ToolStrip::MetalPalette() {
    QPalette p;
    const QColor face(0x3a, 0x3d, 0x42);
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Base})
        p.setColor(role, face);
    p.setColor(QPalette::Light, QColor(0x7a, 0x7e, 0x86));
    p.setColor(QPalette::Midlight, QColor(0x58, 0x5c, 0x62));
    p.setColor(QPalette::Mid, QColor(0x2a, 0x2c, 0x30));
    p.setColor(QPalette::Dark, QColor(0x16, 0x17, 0x1a));
    p.setColor(QPalette::Shadow, Qt::black);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        p.setColor(role, QColor(0xe8, 0xe4, 0xd8));
    return p;
}

QImage ToolStrip::Face(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    const int w = size.width(), h = size.height();
    // Brushed along the strip: a small hash per row and a slow one along it.
    auto hash = [](std::uint32_t v) {
        v ^= v >> 15;
        v *= 0x2C1B3C6Du;
        v ^= v >> 12;
        v *= 0x297A2D39u;
        return static_cast<float>(v >> 8 & 0xFFFF) / 65535.0f;
    };
    for (int y = 0; y < h; ++y) {
        // Lighter at the top, as the plate's light falls from the upper left.
        const float t = h > 1 ? static_cast<float>(y) / static_cast<float>(h - 1) : 0;
        const float base = 74 - 26 * t;
        const float row = 6 * (hash(static_cast<std::uint32_t>(y) * 7919u + 17u) - 0.5f);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const float streak = 5 * (hash(static_cast<std::uint32_t>(y * 131 + x / 7) * 31u) - 0.5f);
            const float v = std::clamp(
                base + row + streak - 4 * (static_cast<float>(x) / static_cast<float>(w)), 0.0f, 255.0f);
            const int g = static_cast<int>(v);
            line[x] = qRgb(g, g + 3, g + 8);
        }
    }
    return image;
}

// Drawn at the first paint, not at the resizes before the window is shown:
// the window appears sooner.
void ToolStrip::paintEvent(QPaintEvent* event) {
    if (m_face.size() != size()) m_face = Face(size());
    {
        QPainter p(this);
        p.drawImage(event->rect(), m_face, event->rect());
    }
    QFrame::paintEvent(event);
}
