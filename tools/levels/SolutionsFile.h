#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/levels/Moves.h"

// levels/solutions.txt: a line "N: MOVE MOVE ..." per level, in the move
// syntax of replay. Blank lines and lines starting with # are skipped.
using Solutions = std::map<int, std::vector<Move>>;

// nullopt when the file cannot be read; error gets the first bad line.
std::optional<Solutions> ReadSolutions(const std::string& path, std::string& error);
bool WriteSolutions(const std::string& path, const Solutions& solutions);
