#pragma once

#include <string>

// The folder the game reads its level and help files from, with a trailing
// slash. In the build tree they lie beside the game, so that is its own
// folder; an installed game keeps them apart, at dataFromProgram (a relative
// path) from its own folder. A game that finds neither names its own folder.
std::string GameFilesFolder(const std::string& executableFolder, const std::string& dataFromProgram);
