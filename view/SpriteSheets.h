#pragma once

#include <QImage>
#include <functional>

#include "core/Geometry.h"

// The six pictures the board and the displays are drawn from, in the order of
// the packed picture list. All opaque RGB32, so AND and OR act on plain RGB.
struct SpriteSheets {
    QImage PieceSheet;       // 432 x 180: 12 turn frames by 5 piece types
    QImage FloorSheet;       // 288 x 288: 8 x 8 floor tiles
    QImage WaterStrip;       // 96 x 12: water levels 0..5, the mask, a spare disc
    QImage BackgroundImage;  // 500 x 333
    QImage LevelDigits;      // 148 x 20: digits, blank, the two faces
    QImage TimeDigits;       // 121 x 20: digits, blank

    // True when every sheet has the size the drawing code relies on.
    bool HasBindingSizes() const;
};

// The size the sheet at this position of the list has at scale 1.
inline QSize BindingSize(int position) {
    const SheetSize& size = kSheetSizes.at(static_cast<std::size_t>(position));
    return {size.width, size.height};
}

// The same six at 2 or 3 times the size, for dense screens, or nullptr when
// there is no set of that scale.
using LargerSheets = std::function<const SpriteSheets*(int scale)>;

// The scale of the set a screen of this device pixel ratio is drawn from: 1
// up to 1, 2 up to 2 (1.5 takes the 2x set, scaled down), 3 above. The 1x
// pixels are never smoothed up.
int SheetScaleFor(qreal devicePixelRatio);

// Where a rectangle of the 1x layout lies on a sheet drawn at this scale.
inline QRect AtScale(QRect r, int scale) {
    return {r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale};
}
