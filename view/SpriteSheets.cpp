#include "view/SpriteSheets.h"

bool SpriteSheets::HasBindingSizes() const {
    return PieceSheet.size() == QSize(432, 180) && FloorSheet.size() == QSize(288, 288) &&
           WaterStrip.size() == QSize(96, 12) && BackgroundImage.size() == QSize(500, 333) &&
           LevelDigits.size() == QSize(148, 20) && TimeDigits.size() == QSize(121, 20);
}

int SheetScaleFor(qreal devicePixelRatio) {
    if (devicePixelRatio <= 1.0) return 1;
    return devicePixelRatio <= 2.0 ? 2 : 3;
}
