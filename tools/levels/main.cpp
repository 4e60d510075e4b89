#include <iostream>

#include "tools/levels/LevelsTool.h"

int main(int argc, char* argv[]) {
    return RunLevelsTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
