#include "view/DigitDisplay.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr int kDigitPitch = 13;
constexpr QRect kSmile(122, 0, 13, 20);
constexpr QRect kFrown(135, 0, 13, 20);

void DrawNumber(QPainter& p, const QImage& sheet, int value) {
    const auto glyphs = ThreeDigitGlyphs(value);
    for (int k = 0; k < 3; ++k)
        p.drawImage(QPoint(kDigitPitch * k, 0), sheet, QRect(kGlyphWidth * glyphs[k], 0, kGlyphWidth, kGlyphHeight));
}

QImage BlankDisplay(int width) {
    QImage image(width, kGlyphHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

}  // namespace

std::array<int, 3> ThreeDigitGlyphs(int value) {
    int v = std::clamp(value, 0, 999);
    std::array<int, 3> digits{};
    for (int k = 2; k >= 0; --k) {
        digits[k] = v % 10;
        v /= 10;
    }
    bool leading = true;
    for (int k = 0; k < 3; ++k) {
        if (digits[k] != 0) leading = false;
        if (digits[k] == 0 && leading && k < 2) digits[k] = kBlankGlyph;
    }
    return digits;
}

QImage PaintTimeDisplay(const QImage& timeDigits, int timeLeft) {
    QImage image = BlankDisplay(41);
    QPainter p(&image);
    DrawNumber(p, timeDigits, timeLeft);
    return image;
}

QImage PaintLevelDisplay(const QImage& levelDigits, int level, bool solved) {
    QImage image = BlankDisplay(57);
    QPainter p(&image);
    DrawNumber(p, levelDigits, level);
    p.drawImage(QPoint(42, 0), levelDigits, solved ? kSmile : kFrown);
    return image;
}
