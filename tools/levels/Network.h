#pragma once

#include <optional>

#include "core/Geometry.h"
#include "tools/levels/Rng.h"

// How a network grows: from one cell, a new piece is joined at a time to a
// piece already in it, chosen by weight after the links that piece has.
struct NetworkShape {
    int pieces = 8;
    double straightWeight = 1.0;  // going on straight from an end, against 1 for turning
    double teeWeight = 0.0;       // a third link on a piece with two (makes a tee)
    double crossWeight = 0.0;     // a fourth link (makes a cross)
    int loops = 0;                // links added afterwards between neighbours
};

// The piece layer of one network in which every opening meets an opening of
// its neighbour: the solved picture of a level. nullopt when it cannot grow
// to the wanted size.
std::optional<CellLayer> BuildNetwork(const NetworkShape& shape, Rng& rng);

// Piece code with exactly the openings of mask (bit d for direction d); 0
// when no piece has them.
std::uint8_t CodeForOpenings(int mask);
