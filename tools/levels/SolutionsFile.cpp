#include "tools/levels/SolutionsFile.h"

#include <fstream>

std::optional<Solutions> ReadSolutions(const std::string& path, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    Solutions solutions;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        const auto colon = line.find(':');
        int level = 0;
        try {
            level = colon == std::string::npos ? 0 : std::stoi(line.substr(0, colon));
        } catch (const std::exception&) {
            level = 0;
        }
        const auto moves = colon == std::string::npos ? std::nullopt : ParseMoves(line.substr(colon + 1));
        if (level < 1 || !moves || solutions.count(level)) {
            error = path + ":" + std::to_string(number) + ": expected 'N: MOVE MOVE ...' once per level";
            return std::nullopt;
        }
        solutions[level] = *moves;
    }
    return solutions;
}

bool WriteSolutions(const std::string& path, const Solutions& solutions) {
    std::ofstream out(path, std::ios::trunc);
    for (const auto& [level, moves] : solutions) out << level << ": " << FormatMoves(moves) << "\n";
    return static_cast<bool>(out.flush());
}
