#include <iostream>
#include <string>
#include <vector>

#include "tools/mediagen/MediaGenTool.h"

int main(int argc, char* argv[]) {
    return RunMediaGen(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
