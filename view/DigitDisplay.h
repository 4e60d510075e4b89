#pragma once

#include <QImage>
#include <array>

#include "core/Geometry.h"

// The dot-matrix displays of the tool bar. Glyph g of a digit sheet is the
// kGlyphWidth x kDigitHeight square at (kGlyphWidth g, 0); glyph 10 is all
// dots unlit.
inline constexpr int kGlyphWidth = 11;
inline constexpr int kBlankGlyph = 10;
// The displays' widths: three digits, and the level display's face.
inline constexpr int kTimeDisplayWidth = 41, kLevelDisplayWidth = 57;

// The glyphs of a three-digit number, leading zeros blank: 7 -> {10, 10, 7}.
// Values outside 0..999 are clamped.
std::array<int, 3> ThreeDigitGlyphs(int value);

// The time display, kTimeDisplayWidth x kDigitHeight.
QImage PaintTimeDisplay(const QImage& timeDigits, int timeLeft);
// The level display, kLevelDisplayWidth x kDigitHeight: the number and a smiling (solved) or frowning face.
QImage PaintLevelDisplay(const QImage& levelDigits, int level, bool solved);
// The same from a digit sheet drawn at 2 or 3 times the size: every position
// times scale, and the image says its device pixel ratio is scale.
QImage PaintTimeDisplay(const QImage& timeDigits, int timeLeft, int scale);
QImage PaintLevelDisplay(const QImage& levelDigits, int level, bool solved, int scale);
