#pragma once

#include "core/Geometry.h"
#include "tools/levels/Rng.h"

// Floor codes for the cells without a piece: rugs, rectangles of one
// texture kept apart by a strip of bare plate, with a motif of the floor
// sheet in the middle of each rug that is large enough; bare plate wherever
// no rug fits. Cells holding a piece get 7. The tiles come from the table in
// FloorMotifs.h.
CellLayer LayFloor(const CellLayer& pieces, Rng& rng);
