// The real game as a process of its own on a private Xvfb: ended by SIGTERM
// with a solved level unsaved, and started while it runs.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "store/ProgressFile.h"
#include "tests/support/Levels.h"
#include "tests/support/WindowPoint.h"

// Last: Xlib's macros would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const char* g_game = nullptr;

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 15s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// The game copied beside a level file of its own, with a home, XDG folders
// and a runtime folder in a scratch folder.
class Player {
public:
    Player() {
        fs::create_directories(m_folder.path() / "home/.config/MoxelGames/Aquendo");
        fs::create_directories(m_folder.path() / "run");
        fs::permissions(m_folder.path() / "run", fs::perms::owner_all);
        testlevels::WriteFile(
            m_folder.path() / "home/.config/MoxelGames/Aquendo/V2.ini",
            {'[', 'c', 'o', 'm', 'm', 'o', 'n', ']', '\n', 't', 'o', 'n', 'g', 'u', 'e', '=', '0', '\n'});
        fs::copy_file(g_game, m_folder.path() / "aquendo");
        m_folder.WriteLevels({testlevels::kJoinedRow, testlevels::kJoinedRow});
        testlevels::WriteFile(m_folder.path() / "pulse.conf",
                              {'a', 'u', 't', 'o', 's', 'p', 'a', 'w', 'n', '=', 'n', 'o', '\n'});
        m_display = XOpenDisplay(nullptr);
    }
    ~Player() {
        for (pid_t pid : m_games) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        if (m_display) XCloseDisplay(m_display);
    }

    pid_t Start() {
        const std::string home = (m_folder.path() / "home").string();
        const pid_t pid = ::fork();
        if (pid == 0) {
            setenv("HOME", home.c_str(), 1);
            unsetenv("XDG_CONFIG_HOME");
            unsetenv("XDG_STATE_HOME");
            unsetenv("PULSE_SERVER");
            setenv("XDG_RUNTIME_DIR", (m_folder.path() / "run").c_str(), 1);
            setenv("PULSE_CLIENTCONFIG", (m_folder.path() / "pulse.conf").c_str(), 1);
            const std::string game = (m_folder.path() / "aquendo").string();
            ::execl(game.c_str(), game.c_str(), nullptr);
            ::_exit(127);
        }
        m_games.push_back(pid);
        return pid;
    }
    // The status the game ended with, -1 when it did not end in time.
    int Ended(pid_t pid) {
        int status = 0;
        if (!WaitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; })) return -1;
        std::erase(m_games, pid);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    // The top-level window of that name, mapped; 0 when there is none.
    Window Find(const std::string& name) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        Window found = 0;
        XSync(m_display, False);
        if (!XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count)) return 0;
        for (unsigned i = 0; i < count && !found; ++i) {
            XWindowAttributes attributes;
            char* title = nullptr;
            if (XGetWindowAttributes(m_display, children[i], &attributes) &&
                attributes.map_state == IsViewable && XFetchName(m_display, children[i], &title) && title) {
                if (name == title) found = children[i];
            }
            if (title) XFree(title);
        }
        if (children) XFree(children);
        return found;
    }
    Window WaitForWindow(const std::string& name) {
        Window found = 0;
        WaitFor([&] { return (found = Find(name)) != 0; });
        return found;
    }
    void Click(Window window, int x, int y, unsigned button) {
        Window child = 0;
        int rootX = 0;
        int rootY = 0;
        XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), x, y, &rootX, &rootY, &child);
        XTestFakeMotionEvent(m_display, -1, rootX, rootY, CurrentTime);
        XTestFakeButtonEvent(m_display, button, True, CurrentTime);
        XTestFakeButtonEvent(m_display, button, False, CurrentTime);
        XSync(m_display, False);
    }
    void Key(KeySym key) {
        XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, key), True, CurrentTime);
        XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, key), False, CurrentTime);
        XSync(m_display, False);
    }
    // The game's main window, once the splash in front of it has come and gone.
    Window Board() {
        const Window main = WaitForWindow("Aquendo 2.3");
        WaitFor([&] { return Splash(); }, 10s);
        WaitFor([&] { return !Splash(); }, 10s);
        return main;
    }
    bool Splash() {
        // The splash is the one mapped top-level window of 200 x 150.
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        bool found = false;
        XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes a;
            if (XGetWindowAttributes(m_display, children[i], &a) && a.map_state == IsViewable &&
                a.width == 200 && a.height == 150)
                found = true;
        }
        if (children) XFree(children);
        return found;
    }

    fs::path Path(const std::string& name) const { return m_folder.path() / name; }
    fs::path Kept() const { return Path("home/.local/state/aquendo/unsaved.aqd"); }
    Display* display() const { return m_display; }

private:
    testlevels::TempFolder m_folder;
    Display* m_display = nullptr;
    std::vector<pid_t> m_games;
};

// A level solved and not saved; SIGTERM while the "won" page is open. The next
// start offers the result, and Yes makes it the results in play again.
TEST(Session, ALevelSolvedBeforeSigtermIsOfferedAtTheNextStart) {
    Player player;
    ASSERT_NE(player.display(), nullptr);
    const pid_t first = player.Start();
    const Window board = player.Board();
    ASSERT_NE(board, 0u);
    const QPoint cell = WindowPoint(4, 4);
    player.Click(board, cell.x(), cell.y(), 2);
    ASSERT_NE(player.WaitForWindow("Aquendo"), 0u) << "the \"won\" page";
    ::kill(first, SIGTERM);
    ASSERT_EQ(player.Ended(first), 0);
    ProgressTable kept;
    ASSERT_TRUE(ReadProgressFile(player.Kept().string(), kept));
    EXPECT_GT(kept[1], 0);
    const auto settings = testlevels::ReadAll(player.Path("home/.config/MoxelGames/Aquendo/V2.ini"));
    EXPECT_NE(std::string(settings.begin(), settings.end()).find("MainForm="), std::string::npos)
        << "the settings written as the close would";

    const pid_t second = player.Start();
    ASSERT_NE(player.WaitForWindow("Aquendo"), 0u) << "the question of the next start";
    player.Key(XK_Return);  // Yes
    ASSERT_TRUE(WaitFor([&] { return !fs::exists(player.Kept()); })) << "offered once";
    ::kill(second, SIGTERM);
    ASSERT_EQ(player.Ended(second), 0);
    ProgressTable again;
    ASSERT_TRUE(ReadProgressFile(player.Kept().string(), again)) << "loaded, and unsaved once more";
    EXPECT_EQ(again[1], kept[1]);
}

// A second start while the game runs ends at once and writes nothing; once
// the first is killed outright, a new start runs.
TEST(Session, ASecondStartEndsAndAKilledGameBlocksNothing) {
    Player player;
    ASSERT_NE(player.display(), nullptr);
    const pid_t first = player.Start();
    ASSERT_NE(player.Board(), 0u);
    const auto before = testlevels::ReadAll(player.Path("home/.config/MoxelGames/Aquendo/V2.ini"));
    const pid_t second = player.Start();
    EXPECT_EQ(player.Ended(second), 0);
    EXPECT_EQ(testlevels::ReadAll(player.Path("home/.config/MoxelGames/Aquendo/V2.ini")), before);
    EXPECT_FALSE(fs::exists(player.Path("home/.local/state")));

    ::kill(first, SIGKILL);
    player.Ended(first);
    const pid_t third = player.Start();
    EXPECT_NE(player.Board(), 0u) << "the socket the killed game left is no obstacle";
    ::kill(third, SIGTERM);
    EXPECT_EQ(player.Ended(third), 0);
}

}  // namespace

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) g_game = argv[1];
    return RUN_ALL_TESTS();
}
