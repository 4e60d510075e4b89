#include "view/DrawnSheets.h"

#include <QPainter>

namespace {

const QColor kCopper(0xc0, 0x6a, 0x30);

QImage Sheet(int w, int h, QColor fill) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

QImage Pieces() {
    QImage sheet = Sheet(432, 180, QColor(0xd8, 0xc8, 0xa8));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    static constexpr int kOpenings[6] = {0, 0b0001, 0b0011, 0b0101, 0b0111, 0b1111};
    for (int type = 1; type <= 5; ++type) {
        for (int frame = 0; frame < 12; ++frame) {
            const QPointF centre(36 * frame + 18, 36 * (type - 1) + 18);
            p.resetTransform();
            p.setPen(QPen(QColor(0x50, 0x50, 0x54), 1));
            p.setBrush(QColor(0x9a, 0x9c, 0xa0));
            p.drawRoundedRect(QRectF(centre - QPointF(13, 13), QSizeF(26, 26)), 4, 4);
            p.translate(centre);
            p.rotate(-30.0 * frame);
            p.setPen(Qt::NoPen);
            p.setBrush(kCopper);
            for (int d = 0; d < 4; ++d) {
                if (!(kOpenings[type] & (1 << d))) continue;
                p.save();
                p.rotate(-90.0 * d);
                p.drawRect(QRectF(4, -5, 14, 10));
                p.restore();
            }
            p.resetTransform();
            p.setBrush(QColor(0x30, 0x30, 0x30));
            p.drawEllipse(QRectF(centre - QPointF(6, 6), QSizeF(12, 12)));
        }
    }
    return sheet;
}

QImage Floor() {
    QImage sheet = Sheet(288, 288, Qt::black);
    QPainter p(&sheet);
    for (int f = 0; f < 64; ++f)
        if (f != 7) p.fillRect(36 * (f & 7), 36 * (f >> 3), 36, 36, QColor::fromHsv((f * 37) % 360, 60, 110 + (f % 5) * 12));
    return sheet;
}

QImage Water() {
    QImage sheet = Sheet(96, 12, Qt::black);
    QPainter p(&sheet);
    p.fillRect(72, 0, 12, 12, Qt::white);
    p.setPen(Qt::NoPen);
    for (int tile = 0; tile < 8; ++tile) {
        const QRectF disc(12 * tile + 0.5, 0.5, 11, 11);
        if (tile < 6) {
            p.setBrush(QColor(0x30, 0x30, 0x30));
            p.drawEllipse(disc);
            const double inset = 6.0 - tile * 1.1;
            p.setBrush(QColor(0x3c, 0xe0, 0x48));
            if (tile > 0) p.drawEllipse(disc.adjusted(inset, inset, -inset, -inset));
        } else {
            p.setBrush(tile == 6 ? Qt::black : Qt::red);
            p.drawEllipse(disc);
        }
    }
    return sheet;
}

QImage Background() {
    QImage image = Sheet(500, 333, Qt::black);
    QPainter p(&image);
    p.fillRect(image.rect().adjusted(3, 3, -3, -3), QColor(0x5a, 0x4a, 0x3e));
    p.fillRect(410, 130, 22, 180, Qt::black);
    p.fillRect(450, 130, 22, 180, Qt::black);
    p.setFont(QFont("Liberation Sans", 20, QFont::Bold));
    p.setPen(QColor(0xe8, 0xc0, 0x60));
    p.drawText(QRect(300, 12, 185, 50), Qt::AlignRight | Qt::AlignVCenter, "Aquendo");
    return image;
}

QImage Digits(int width, QColor lit, QColor unlit, bool faces) {
    QImage sheet = Sheet(width, 20, Qt::black);
    QPainter p(&sheet);
    p.setFont(QFont("DejaVu Sans Mono", 13, QFont::Bold));
    for (int g = 0; g < 11; ++g) {
        p.setPen(unlit);
        p.drawText(QRect(11 * g, 0, 11, 20), Qt::AlignCenter, "8");
        p.setPen(lit);
        if (g < 10) p.drawText(QRect(11 * g, 0, 11, 20), Qt::AlignCenter, QString::number(g));
    }
    if (faces) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::yellow);
        p.drawEllipse(123, 4, 11, 11);
        p.setBrush(Qt::red);
        p.drawEllipse(136, 4, 11, 11);
    }
    return sheet;
}

}  // namespace

SpriteSheets MakeDrawnSheets() {
    return {Pieces(),
            Floor(),
            Water(),
            Background(),
            Digits(148, Qt::yellow, QColor(0x50, 0x50, 0x00), true),
            Digits(121, QColor(0x00, 0xff, 0x00), QColor(0x00, 0x40, 0x00), false)};
}
