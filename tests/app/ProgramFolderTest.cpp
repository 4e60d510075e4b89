#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/ProgramFolder.h"
#include "tests/support/Levels.h"

namespace {

namespace fs = std::filesystem;

// Where the game reads its files: beside it in a build tree, in the data
// folder of an installed tree, and its own folder when it finds neither (so
// the message names where it looked first).
TEST(ProgramFolder, BuildTreeBesideTheGameInstalledTreeInItsDataFolder) {
    struct Case {
        const char* name;
        std::vector<const char*> files;  // made below the scratch folder; a trailing '/' makes a folder
        const char* game;                // the game's own folder
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"build tree", {"build/bin/aqnd.dat"}, "build/bin/", "build/bin/"},
        {"installed",
         {"usr/lib/aquendo/", "usr/share/games/aquendo/aqnd.dat"},
         "usr/lib/aquendo/",
         "usr/share/games/aquendo/"},
        {"installed, level file missing",
         {"usr/lib/aquendo/", "usr/share/games/aquendo/"},
         "usr/lib/aquendo/",
         "usr/share/games/aquendo/"},
        {"level file beside an installed game",
         {"usr/lib/aquendo/aqnd.dat", "usr/share/games/aquendo/aqnd.dat"},
         "usr/lib/aquendo/",
         "usr/lib/aquendo/"},
        {"neither", {"usr/lib/aquendo/"}, "usr/lib/aquendo/", "usr/lib/aquendo/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const testlevels::TempFolder scratch;
        for (const std::string file : c.files) {
            const fs::path path = scratch.path() / file;
            if (file.back() == '/') {
                fs::create_directories(path);
            } else {
                fs::create_directories(path.parent_path());
                testlevels::WriteFile(path, {1});
            }
        }
        EXPECT_EQ(GameFilesFolder(scratch.Folder() + c.game, "../../share/games/aquendo"),
                  scratch.Folder() + c.expected);
    }
}

}  // namespace
