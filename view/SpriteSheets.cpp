#include "view/SpriteSheets.h"

bool SpriteSheets::HasBindingSizes() const {
    return PieceSheet.size() == BindingSize(0) && FloorSheet.size() == BindingSize(1) &&
           WaterStrip.size() == BindingSize(2) && BackgroundImage.size() == BindingSize(3) &&
           LevelDigits.size() == BindingSize(4) && TimeDigits.size() == BindingSize(5);
}

int SheetScaleFor(qreal devicePixelRatio) {
    if (devicePixelRatio <= 1.0) return 1;
    return devicePixelRatio <= 2.0 ? 2 : 3;
}
