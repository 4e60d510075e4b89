#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/LevelRecord.h"

// A pass over the floors of a whole level set, run after the levels are made:
// a large picture of the floor sheet only now and then, at most one to a
// board, and only where a whole ring of its own ground can lie round it. The
// rug under a kept picture takes the picture's ground texture, so the picture
// continues into it; a picture that goes leaves its rug's texture behind.
// Pieces, sources and every other floor cell stay as they are, and the pass
// changes nothing more when run a second time.
struct MotifPassReport {
    int boards = 0;              // boards with a picture after the pass
    int before = 0;              // boards with a picture before it
    std::vector<int> kinds;      // boards per picture, in the order of kFloorMotifs
    int boardsFirstHundred = 0;  // boards of levels 1 to 100 with a picture
};

// At least this many levels lie between two boards with a picture.
inline constexpr int kMotifSpacing = 3;

MotifPassReport ThinFloorMotifs(std::vector<LevelRecord>& levels);

// aquendo-levels floors IN -o OUT: the pass on a level file, its records
// copied byte for byte but for the floor layers.
int RunMotifPass(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
