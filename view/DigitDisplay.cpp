#include "view/DigitDisplay.h"

#include <QPainter>
#include <algorithm>

#include "view/SpriteSheets.h"

namespace {

constexpr int kDigitPitch = 13;
constexpr QRect kSmile(122, 0, 13, 20);
constexpr QRect kFrown(135, 0, 13, 20);

// Drawn in image pixels, every position times the sheet's scale.
void DrawNumber(QPainter& p, const QImage& sheet, int value, int scale) {
    const auto glyphs = ThreeDigitGlyphs(value);
    for (int k = 0; k < 3; ++k)
        p.drawImage(QPoint(kDigitPitch * k * scale, 0), sheet,
                    AtScale(QRect(kGlyphWidth * glyphs[k], 0, kGlyphWidth, kDigitHeight), scale));
}

QImage BlankDisplay(int width, int scale) {
    QImage image(width * scale, kDigitHeight * scale, QImage::Format_RGB32);
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
    return PaintTimeDisplay(timeDigits, timeLeft, 1);
}

QImage PaintLevelDisplay(const QImage& levelDigits, int level, bool solved) {
    return PaintLevelDisplay(levelDigits, level, solved, 1);
}

QImage PaintTimeDisplay(const QImage& timeDigits, int timeLeft, int scale) {
    QImage image = BlankDisplay(kTimeDisplayWidth, scale);
    {
        QPainter p(&image);
        DrawNumber(p, timeDigits, timeLeft, scale);
    }
    image.setDevicePixelRatio(scale);
    return image;
}

QImage PaintLevelDisplay(const QImage& levelDigits, int level, bool solved, int scale) {
    QImage image = BlankDisplay(kLevelDisplayWidth, scale);
    {
        QPainter p(&image);
        DrawNumber(p, levelDigits, level, scale);
        p.drawImage(QPoint(42 * scale, 0), levelDigits, AtScale(solved ? kSmile : kFrown, scale));
    }
    image.setDevicePixelRatio(scale);
    return image;
}
