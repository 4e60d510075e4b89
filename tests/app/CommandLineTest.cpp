#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "game/Program.h"

namespace {

// What the program does with a command line: run (with or without the quick
// end), or end at once with a status and a text on stdout or stderr.
TEST(CommandLine, EndsOrRunsAsLinuxProgramsDo) {
    struct Case {
        std::vector<std::string> args;
        int status;  // -1: the game runs
        bool quitAfterStart;
        const char* out;  // a part of standard output
        const char* err;  // a part of standard error
    };
    const std::vector<Case> cases = {
        {{}, -1, false, "", ""},
        {{"--quit-after-start"}, -1, true, "", ""},
        {{"--help"}, 0, false, "Usage: aquendo [OPTION]...", ""},
        {{"-h"}, 0, false, "--quit-after-start", ""},
        {{"--quit-after-start", "--help"}, 0, true, "--version", ""},
        {{"--version"}, 0, false, AQUENDO_NAME " " AQUENDO_VERSION "\n", ""},
        {{"--bogus"}, 2, false, "", "aquendo: unknown option '--bogus'\nTry 'aquendo --help'"},
        {{"--help=x"}, 2, false, "", "takes no value"},
        {{"-H"}, 2, false, "", "unknown option '-H'"},
        {{"level7"}, 2, false, "", "unexpected argument 'level7'"},
        {{"--bogus", "--help"}, 2, false, "", "unknown option"},
        // Qt's own options go through to Qt, values included.
        {{"-platform", "offscreen", "--quit-after-start"}, -1, true, "", ""},
        {{"--style=fusion", "-reverse"}, -1, false, "", ""},
        {{"-display"}, 2, false, "", "needs a value (DISPLAY)"},
        {{"--levels", "trial.dat", "--quit-after-start"}, -1, true, "", ""},
        {{"--levels"}, 2, false, "", "needs a value (FILE)"},
        {{"--levels="}, 2, false, "", "'--levels' needs a FILE"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& arg : c.args) line += arg + " ";
        SCOPED_TRACE(line);
        const CommandLine parsed = ParseCommandLine("aquendo", c.args);
        EXPECT_EQ(parsed.exitStatus.value_or(-1), c.status);
        EXPECT_EQ(parsed.quitAfterStart, c.quitAfterStart);
        EXPECT_EQ(parsed.levelsFile, c.args.size() > 1 && c.args[0] == "--levels" ? c.args[1] : "");
        EXPECT_NE(parsed.out.find(c.out), std::string::npos) << parsed.out;
        EXPECT_NE(parsed.err.find(c.err), std::string::npos) << parsed.err;
        EXPECT_EQ(parsed.out.empty(), *c.out == '\0') << parsed.out;
        EXPECT_EQ(parsed.err.empty(), *c.err == '\0') << parsed.err;
    }
}

}  // namespace
