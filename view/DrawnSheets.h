#pragma once

#include "view/SpriteSheets.h"

// Plain drawn sheets in the binding layout, for when no packed artwork is at hand.
SpriteSheets MakeDrawnSheets();
