#pragma once

#include <cstdint>
#include <vector>

#include "tools/levels/LevelLayout.h"

// Orientations, one per piece, in which every opening meets an opening of the
// neighbouring piece and all pieces form one network: the tidy end picture a
// player aims for. A level may have none (a solution may leave openings
// pointing at nothing), one, or several. Stops after maxNetworks, or after
// maxNodes steps of its search. With looseEnds, openings may point at the
// edge or an empty cell (tidy rather than perfect): only neighbouring pieces
// must either meet or both be closed towards each other.
std::vector<std::vector<std::uint8_t>> FindPerfectNetworks(const LevelLayout& layout, int maxNetworks,
                                                           int maxNodes, bool looseEnds = false);
