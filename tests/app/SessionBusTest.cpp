#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "app/SessionBus.h"
#include "tests/support/Levels.h"

namespace {

namespace fs = std::filesystem;

// Qt is told there is no session bus only where nothing could answer for one.
TEST(SessionBus, NoneOnlyWhereNothingCouldAnswer) {
    const testlevels::TempFolder scratch;
    const fs::path runtime = scratch.path() / "run";      // holds a plain file named bus
    const fs::path withBus = scratch.path() / "run-bus";  // the user's bus socket
    const fs::path empty = scratch.path() / "bin";
    const fs::path launcher = scratch.path() / "launcher";  // an executable dbus-launch
    const fs::path plain = scratch.path() / "plain";        // a dbus-launch that cannot run
    for (const fs::path& folder : {runtime, withBus, empty, launcher, plain}) fs::create_directory(folder);
    testlevels::WriteFile(runtime / "bus", {1});
    ASSERT_EQ(mknod((withBus / "bus").c_str(), S_IFSOCK | 0600, 0), 0);
    testlevels::WriteFile(launcher / "dbus-launch", {'#', '!'});
    fs::permissions(launcher / "dbus-launch", fs::perms::owner_all);
    testlevels::WriteFile(plain / "dbus-launch", {'#', '!'});
    fs::permissions(plain / "dbus-launch", fs::perms::owner_read);

    struct Case {
        const char* what;
        const char* address;
        fs::path runtime;
        std::string path;
        bool none;
    };
    const Case cases[] = {
        {"nothing at all", nullptr, runtime, empty.string(), true},
        {"no runtime folder, no path", nullptr, {}, "", true},
        {"an address", "unix:path=/run/user/1000/bus", runtime, empty.string(), false},
        {"an empty address is none", "", runtime, empty.string(), true},
        {"the user's bus socket", nullptr, withBus, empty.string(), false},
        {"dbus-launch in the last folder of PATH", nullptr, runtime, empty.string() + ":" + launcher.string(),
         false},
        {"a dbus-launch that cannot run", nullptr, runtime, plain.string(), true},
    };
    for (const Case& c : cases) {
        const std::string folder = c.runtime.string();
        EXPECT_EQ(NoSessionBusCanExist(c.address, folder.empty() ? nullptr : folder.c_str(), c.path.c_str()),
                  c.none)
            << c.what;
    }
}

}  // namespace
