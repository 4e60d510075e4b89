#include "view/OutlinedLabel.h"

#include <QPainter>

void OutlinedLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(font());
    const int flags = static_cast<int>(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
    const QRect area = contentsRect();
    // The rim: the text drawn dark at every offset within the rim's width,
    // a round brush of text under the coloured letters.
    p.setPen(QColor(0x14, 0x10, 0x08));
    for (int dx = -kRim; dx <= kRim; ++dx)
        for (int dy = -kRim; dy <= kRim; ++dy)
            if (dx * dx + dy * dy <= kRim * kRim + 1) p.drawText(area.translated(dx, dy), flags, text());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(area, flags, text());
}
