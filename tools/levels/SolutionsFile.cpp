#include "tools/levels/SolutionsFile.h"

#include <charconv>
#include <cstring>
#include <fstream>
#include <sstream>

#include "core/RegularFile.h"

namespace {

// The line before the colon is the level number and blanks, nothing else.
int LevelOf(std::string text) {
    text.erase(0, text.find_first_not_of(" \t"));
    text.erase(text.find_last_not_of(" \t") + 1);
    int level = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), level);
    return ec == std::errc() && end == text.data() + text.size() ? level : 0;
}

}  // namespace

std::optional<Solutions> ReadSolutions(const std::string& path, std::string& error) {
    int openError = 0;
    const FilePtr file = OpenRegularFile(path, openError);
    if (!file) {
        error = "cannot read " + path + ": " + std::strerror(openError);
        return std::nullopt;
    }
    std::string text;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;)
        text.append(buffer, got);
    if (std::ferror(file.get())) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    std::istringstream in(text);
    Solutions solutions;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        const auto colon = line.find(':');
        const int level = colon == std::string::npos ? 0 : LevelOf(line.substr(0, colon));
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
