#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// aquendo-levels: the level author's tool. args are the words after the
// program name; returns the exit status.
int RunLevelsTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
