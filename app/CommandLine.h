#pragma once

#include <optional>
#include <string>
#include <vector>

// The game's command line, read before Qt starts, so that asking for help or
// the version, or a mistyped option, needs no display. Qt's own options are
// let through to QApplication.
struct CommandLine {
    bool quitAfterStart = false;
    // A level file to play-test instead of the one beside the program; empty: none.
    std::string levelsFile;
    // Set when the program is to end at once: the text for standard output
    // (help, version) or standard error (a mistake), and the exit status.
    std::optional<int> exitStatus;
    std::string out;
    std::string err;
};

// args without the program name; program is the name the usage shows.
CommandLine ParseCommandLine(const std::string& program, const std::vector<std::string>& args);
