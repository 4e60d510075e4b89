// Random real X clicks on the real game for a set time: left, right and now
// and then middle button, on its main window and on every other top-level
// window it opens, and now and then what a window manager sends for a title
// bar's close button. A game the player ended (Exit or the close button,
// confirmed, and its close order run) is started again; a crash, an abnormal
// exit, an end without the close order, a sanitizer report or a game that
// stops answering fails the run.
//
// Usage: click_soak GAME [SECONDS]   (default 10; AQUENDO_CLICK_SOAK_SECONDS
// and AQUENDO_CLICK_SOAK_SEED override). Needs DISPLAY: run it through
// XvfbRun.sh, which gives it a private Xvfb.
//
// The game runs with HOME, the XDG folders and its working folder in a
// scratch folder, the web browser replaced by a script that only writes the
// address down, and no session bus or sound server. Run as root, it runs the
// game as a user id of its own, with the folders everybody may write to
// (/tmp and the like) replaced by the sandbox's own, so that clicks in the
// file dialogs (delete, rename, new folder) cannot touch anything outside
// the scratch folder; as any other user it closes file dialogs with Escape
// instead of clicking in them. A signal ends the run with its clean-up; the
// sandbox of a run killed outright is removed by the next run.
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "tests/support/OwnUser.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// A game that answers no ping for this long has hung.
constexpr auto kHangLimit = 20s;

// The folders everybody may write to; as its own user the game sees its own
// empty ones in their places.
const std::array<fs::path, 4> kShared{"/tmp", "/var/tmp", "/dev/shm", "/run/lock"};

// Set by SIGTERM, SIGINT and SIGHUP: the run ends at once and cleans up.
volatile std::sig_atomic_t g_stop = 0;

unsigned long EnvNumber(const char* name, unsigned long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoul(text, nullptr, 10) : fallback;
}

// The scratch folder the game lives in, and the user it runs as.
struct Sandbox {
    fs::path root;
    fs::path home;  // deep inside, so a few clicks on "parent folder" stay in it
    fs::path runtime;
    fs::path urlLog;
    fs::path settings;  // written by the close order, and only by it
    bool ownUser = false;
    uid_t uid = 0;

    Sandbox() {
        // Run as root, the game's own user must reach the sandbox: not below /root.
        const fs::path base = geteuid() == 0 ? ownuser::ReachableTempFolder() : fs::temp_directory_path();
        RemoveDeadRuns(base);
        std::string pattern = (base / "aquendo-click-soak-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("no scratch folder");
        root = pattern;
        std::ofstream(root / "owner") << getpid() << "\n";
        home = root / "a" / "b" / "c" / "d" / "home";
        runtime = root / "run";
        urlLog = root / "opened-urls";
        settings = home / ".config" / "MoxelGames" / "Aquendo" / "V2.ini";
        fs::create_directories(home / ".config");
        fs::create_directories(home / ".local" / "share");
        fs::create_directories(home / ".cache");
        fs::create_directories(runtime);
        fs::create_directories(root / "tmp");
        for (const fs::path& shared : kShared) {
            const fs::path own = root / "shared" / shared.filename();
            fs::create_directories(own);
            fs::permissions(own, fs::perms::all | fs::perms::sticky_bit);
        }
        fs::permissions(runtime, fs::perms::owner_all);
        fs::create_directories(root / "bin");
        const fs::path browser = root / "bin" / "xdg-open";
        std::ofstream(browser) << "#!/bin/sh\necho \"$*\" >> '" << urlLog.string() << "'\n";
        fs::permissions(browser, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
        std::ofstream(root / "pulse-client.conf") << "autospawn = no\n";
        if (geteuid() == 0) {
            ownUser = true;
            // One of its own for every run, so that two soaks at once keep apart.
            uid = ownuser::UnusedUserId();
            ownuser::GiveTree(root, uid);
        }
    }
    ~Sandbox() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    // The game as its own user can start it: a copy, with the files it loads
    // from its folder, inside the sandbox. The build may lie where that user
    // cannot go (below /root) or where the mount namespace covers it (/tmp).
    fs::path Reachable(const fs::path& program) const {
        if (!ownUser) return program;
        const fs::path folder = root / "game";
        fs::create_directories(folder);
        fs::copy_file(program, folder / program.filename());
        for (const char* beside : {"aqnd.dat", "aqnd2.html", "aquendo-sound.so"}) {
            std::error_code missing;  // a game without them says so itself
            fs::copy_file(program.parent_path() / beside, folder / beside, missing);
        }
        ownuser::GiveTree(folder, uid);
        return folder / program.filename();
    }

    // Runs in the game's process before it becomes its own user: in a mount
    // namespace of its own, the shared folders are the sandbox's, so that
    // whatever the file dialogs make outside the home (a new folder in /tmp)
    // lands in the sandbox. Without the right to do so, the game runs as
    // before, and RemoveLitter finds what it left.
    void Confine() const {
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return;
        // Opened in the new namespace: a bind from the old one is refused.
        const int self = open(root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (self < 0) return;
        for (const fs::path& shared : kShared) {
            const fs::path own = root / "shared" / shared.filename();
            if (!fs::is_directory(shared) ||
                mount(own.c_str(), shared.c_str(), nullptr, MS_BIND, nullptr) != 0)
                continue;
            // The sandbox itself may live below the folder just covered.
            const fs::path below = root.lexically_relative(shared);
            if (!below.empty() && *below.begin() != "..") {
                std::error_code error;
                fs::create_directories(root, error);
                const std::string from = "/proc/self/fd/" + std::to_string(self);
                mount(from.c_str(), root.c_str(), nullptr, MS_BIND, nullptr);
            }
        }
        close(self);
    }

    // Sandboxes of runs that were killed (at a test timeout, say) before
    // they could clean up: their owner is gone.
    static void RemoveDeadRuns(const fs::path& base) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(base, error)) {
            if (entry.path().filename().string().rfind("aquendo-click-soak-", 0) != 0) continue;
            long owner = 0;
            if (!(std::ifstream(entry.path() / "owner") >> owner) || owner <= 0) continue;
            if (kill(static_cast<pid_t>(owner), 0) == 0 || errno != ESRCH) continue;
            std::printf("removing the sandbox of a run that was killed: %s\n", entry.path().c_str());
            fs::remove_all(entry.path(), error);
        }
    }

    std::vector<std::string> Environment() const {
        std::vector<std::string> env;
        const std::set<std::string> replaced{"HOME",
                                             "PATH",
                                             "TMPDIR",
                                             "BROWSER",
                                             "XAUTHORITY",
                                             "SESSION_MANAGER",
                                             "DBUS_SESSION_BUS_ADDRESS",
                                             "DESKTOP_SESSION"};
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            const std::string name = entry.substr(0, entry.find('='));
            if (replaced.count(name) || name.rfind("XDG_", 0) == 0 || name.rfind("PULSE_", 0) == 0) continue;
            env.push_back(entry);
        }
        env.push_back("HOME=" + home.string());
        env.push_back("XDG_CONFIG_HOME=" + (home / ".config").string());
        env.push_back("XDG_DATA_HOME=" + (home / ".local" / "share").string());
        env.push_back("XDG_CACHE_HOME=" + (home / ".cache").string());
        env.push_back("XDG_STATE_HOME=" + (home / ".local" / "state").string());
        env.push_back("XDG_RUNTIME_DIR=" + runtime.string());
        env.push_back("TMPDIR=" + (root / "tmp").string());
        env.push_back("BROWSER=" + (root / "bin" / "xdg-open").string());
        env.push_back("PATH=" + (root / "bin").string() + ":/usr/local/bin:/usr/bin:/bin");
        env.push_back("DBUS_SESSION_BUS_ADDRESS=unix:path=" + (root / "no-bus").string());
        env.push_back("PULSE_SERVER=unix:" + (root / "no-sound-server").string());
        env.push_back("PULSE_CLIENTCONFIG=" + (root / "pulse-client.conf").string());
        env.push_back("QT_QPA_PLATFORM=xcb");
        return env;
    }

    int UrlsOpened() const {
        std::ifstream in(urlLog);
        int lines = 0;
        for (std::string line; std::getline(in, line);) ++lines;
        return lines;
    }

    // Anything the game's own user left in the folders everybody may write
    // to is the soak's: told, then removed.
    std::vector<std::string> RemoveLitter() const {
        std::vector<std::string> found;
        if (!ownUser) return found;
        for (const fs::path& shared : kShared) {
            std::error_code error;
            for (const auto& entry : fs::directory_iterator(shared, error)) {
                struct stat st {};
                if (entry.path() == root || lstat(entry.path().c_str(), &st) != 0 || st.st_uid != uid)
                    continue;
                found.push_back(entry.path().string());
                fs::remove_all(entry.path(), error);
            }
        }
        return found;
    }
};

// The game, started in the sandbox with its output in a log file.
class GameProcess {
public:
    GameProcess(const Sandbox& sandbox, const std::string& program, const fs::path& log)
        : m_log(log), m_settings(sandbox.settings), m_started(fs::file_time_type::clock::now()) {
        const std::vector<std::string> env = sandbox.Environment();
        m_pid = fork();
        if (m_pid != 0) return;
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(out, 2);
        if (sandbox.ownUser) sandbox.Confine();
        if (chdir(sandbox.home.c_str()) != 0) _exit(126);
        if (sandbox.ownUser && !ownuser::Become(sandbox.uid)) _exit(126);
        std::vector<char*> envp;
        for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        execve(program.c_str(), argv, envp.data());
        std::fprintf(stderr, "cannot start %s: %s\n", program.c_str(), std::strerror(errno));
        _exit(127);
    }

    pid_t pid() const { return m_pid; }
    bool running() const { return !m_status; }

    // The exit status once the game has ended.
    std::optional<int> Poll() {
        if (m_status) return m_status;
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) m_status = status;
        return m_status;
    }
    int Stop() {
        if (!m_status) {
            kill(m_pid, SIGTERM);
            int status = 0;
            waitpid(m_pid, &status, 0);
            m_status = status;
        }
        return *m_status;
    }

    // The game went through its close order: the settings were written.
    bool ClosedInOrder() const {
        std::error_code error;
        const auto written = fs::last_write_time(m_settings, error);
        return !error && written >= m_started;
    }

    // Lines of a sanitizer report in the game's output.
    std::vector<std::string> SanitizerLines() const {
        std::vector<std::string> lines;
        std::ifstream in(m_log);
        for (std::string line; std::getline(in, line);)
            if (line.find("Sanitizer") != std::string::npos ||
                line.find("runtime error:") != std::string::npos)
                lines.push_back(line);
        return lines;
    }

private:
    fs::path m_log;
    fs::path m_settings;
    fs::file_time_type m_started;
    pid_t m_pid = -1;
    std::optional<int> m_status;
};

struct TopWindow {
    Window id;
    int x, y, width, height;
    std::string title;
    bool popup;  // menus and tool tips
    bool modal;
};

// Several windows share a caption; with their size they tell apart. The main
// window's caption names the results file: one name for all of them.
std::string Kind(const TopWindow& w) {
    if (w.title.rfind("Aquendo 2.3", 0) == 0 && w.width == 500) return "main window";
    const std::string size = std::to_string(w.width) + "x" + std::to_string(w.height);
    if (w.popup) return "popup (menu or tool tip) " + size;
    return "\"" + w.title + "\" " + size;
}

// Windows come and go between listing them and asking about them.
int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

class XSession {
public:
    XSession() : m_display(XOpenDisplay(nullptr)) {
        if (!m_display) throw std::runtime_error("no X display (run through XvfbRun.sh)");
        XSetErrorHandler(IgnoreXErrors);
        m_root = DefaultRootWindow(m_display);
        m_pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
        m_nameAtom = XInternAtom(m_display, "_NET_WM_NAME", False);
        m_utf8 = XInternAtom(m_display, "UTF8_STRING", False);
        m_protocols = XInternAtom(m_display, "WM_PROTOCOLS", False);
        m_ping = XInternAtom(m_display, "_NET_WM_PING", False);
        m_state = XInternAtom(m_display, "_NET_WM_STATE", False);
        m_delete = XInternAtom(m_display, "WM_DELETE_WINDOW", False);
        m_modal = XInternAtom(m_display, "_NET_WM_STATE_MODAL", False);
        // Qt answers a ping by sending it back to the root window, to those
        // who listen for structure changes there (older versions: substructure).
        XSelectInput(m_display, m_root, StructureNotifyMask | SubstructureNotifyMask);
        int ignore = 0;
        if (!XTestQueryExtension(m_display, &ignore, &ignore, &ignore, &ignore))
            throw std::runtime_error("the X server has no XTEST");
        m_screenWidth = DisplayWidth(m_display, DefaultScreen(m_display));
        m_screenHeight = DisplayHeight(m_display, DefaultScreen(m_display));
    }
    ~XSession() { XCloseDisplay(m_display); }

    int resent = 0;  // pings lost with a window that closed, and sent again

    // The shown top-level windows of the process, bottom to top.
    std::vector<TopWindow> WindowsOf(pid_t pid) {
        std::vector<TopWindow> found;
        Window rootReturn = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(m_display, m_root, &rootReturn, &parent, &children, &count)) return found;
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes a{};
            if (!XGetWindowAttributes(m_display, children[i], &a) || a.map_state != IsViewable) continue;
            if (PidOf(children[i]) != pid) continue;
            found.push_back({children[i], a.x, a.y, a.width, a.height, TitleOf(children[i]),
                             a.override_redirect != 0, IsModal(children[i])});
        }
        if (children) XFree(children);
        return found;
    }

    void Click(int x, int y, unsigned button) {
        x = std::clamp(x, 0, m_screenWidth - 1);
        y = std::clamp(y, 0, m_screenHeight - 1);
        XTestFakeMotionEvent(m_display, -1, x, y, CurrentTime);
        XTestFakeButtonEvent(m_display, button, True, CurrentTime);
        XTestFakeButtonEvent(m_display, button, False, CurrentTime);
        XSync(m_display, False);
    }
    // What a window manager does for a click on a window: raise it, keeping
    // modal dialogs and menus above.
    void Raise(const std::vector<TopWindow>& windows, const TopWindow& target) {
        if (!target.popup) XRaiseWindow(m_display, target.id);
        for (const auto& w : windows)
            if (w.modal && !w.popup) XRaiseWindow(m_display, w.id);
        for (const auto& w : windows)
            if (w.popup) XRaiseWindow(m_display, w.id);
    }
    // What a window manager sends for a click on a title bar's close button.
    void CloseButton(Window window) {
        SendProtocol(window, m_delete, CurrentTime, 0);
        XSync(m_display, False);
    }
    // A WM_PROTOCOLS message, as a window manager sends it.
    void SendProtocol(Window window, Atom protocol, long first, long second) {
        XEvent message{};
        message.xclient.type = ClientMessage;
        message.xclient.window = window;
        message.xclient.message_type = m_protocols;
        message.xclient.format = 32;
        message.xclient.data.l[0] = static_cast<long>(protocol);
        message.xclient.data.l[1] = first;
        message.xclient.data.l[2] = second;
        XSendEvent(m_display, window, False, NoEventMask, &message);
    }
    void PressEscape() {
        const KeyCode key = XKeysymToKeycode(m_display, XK_Escape);
        XTestFakeKeyEvent(m_display, key, True, CurrentTime);
        XTestFakeKeyEvent(m_display, key, False, CurrentTime);
        XSync(m_display, False);
    }

    // Pings a window of the game and waits for the answer, which comes once
    // the game has handled the input sent before. False when none came in
    // time or the game ended.
    // A ping to a window that is closing gets lost: after a second without
    // an answer the game is pinged again.
    bool Ping(GameProcess& game, Clock::duration limit) {
        const auto until = Clock::now() + limit;
        Window window = 0;
        while (Clock::now() < until && !g_stop) {
            if (window != 0) ++resent;
            const std::vector<TopWindow> windows = WindowsOf(game.pid());
            if (windows.empty()) {
                if (game.Poll()) return false;
                std::this_thread::sleep_for(50ms);
                continue;
            }
            // The main window lives as long as the game; a menu closes at a click beside it.
            window = windows.back().id;
            for (const auto& w : windows)
                if (Kind(w) == "main window") window = w.id;
            const long serial = ++m_serial;
            SendProtocol(window, m_ping, serial, static_cast<long>(window));
            XFlush(m_display);
            const auto retry = std::min(until, Clock::now() + 1s);
            while (Clock::now() < retry) {
                while (XPending(m_display)) {
                    XEvent event;
                    XNextEvent(m_display, &event);
                    if (event.type == ClientMessage && event.xclient.message_type == m_protocols &&
                        static_cast<Atom>(event.xclient.data.l[0]) == m_ping &&
                        event.xclient.data.l[1] == serial)
                        return true;
                }
                if (game.Poll()) return false;
                pollfd fd{ConnectionNumber(m_display), POLLIN, 0};
                poll(&fd, 1, 50);
            }
        }
        return false;
    }

private:
    // A property's items as the server hands them (longs for 32-bit ones); none when the window has none.
    template <typename Item>
    std::vector<Item> Property(Window window, Atom name, long length, Atom kind) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<Item> values;
        if (XGetWindowProperty(m_display, window, name, 0, length, False, kind, &type, &format, &items,
                               &after, &data) == Success &&
            data)
            values.assign(reinterpret_cast<Item*>(data), reinterpret_cast<Item*>(data) + items);
        if (data) XFree(data);
        return values;
    }
    pid_t PidOf(Window window) {
        const auto pid = Property<unsigned long>(window, m_pidAtom, 1, XA_CARDINAL);
        return pid.size() == 1 ? static_cast<pid_t>(pid[0]) : -1;
    }
    bool IsModal(Window window) {
        const auto states = Property<Atom>(window, m_state, 32, XA_ATOM);
        return std::find(states.begin(), states.end(), m_modal) != states.end();
    }
    std::string TitleOf(Window window) {
        const auto title = Property<char>(window, m_nameAtom, 256, m_utf8);
        return {title.begin(), title.end()};
    }

    Display* m_display;
    Window m_root;
    Atom m_pidAtom, m_nameAtom, m_utf8, m_protocols, m_ping, m_state, m_modal, m_delete;
    int m_screenWidth = 0, m_screenHeight = 0;
    long m_serial = 0;
};

// Where a click goes: mostly an open menu, else mostly a modal dialog (clicks
// elsewhere go nowhere while it is open), else mostly the main window; now
// and then any window, which closes a menu.
const TopWindow& Choose(const std::vector<TopWindow>& windows, std::mt19937& rng) {
    auto chance = [&](int percent) { return std::uniform_int_distribution<int>(0, 99)(rng) < percent; };
    auto last = [&](auto test) -> const TopWindow* {
        for (auto w = windows.rbegin(); w != windows.rend(); ++w)
            if (test(*w)) return &*w;
        return nullptr;
    };
    if (const TopWindow* menu = last([](const TopWindow& w) { return w.popup; }); menu && chance(60))
        return *menu;
    if (const TopWindow* modal = last([](const TopWindow& w) { return w.modal && !w.popup; });
        modal && chance(75))
        return *modal;
    if (const TopWindow* main = last([](const TopWindow& w) { return Kind(w) == "main window"; });
        main && chance(70))
        return *main;
    return windows[std::uniform_int_distribution<std::size_t>(0, windows.size() - 1)(rng)];
}

bool IsFileDialog(const std::string& title) {
    return title.find("Save") != std::string::npos || title.find("Open") != std::string::npos;
}

std::string Describe(int status) {
    if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return std::string("signal ") + strsignal(WTERMSIG(status));
    return "status " + std::to_string(status);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s GAME [SECONDS]\n", argv[0]);
        return 2;
    }
    const fs::path built = fs::absolute(argv[1]);
    unsigned long seconds = EnvNumber("AQUENDO_CLICK_SOAK_SECONDS", argc > 2 ? std::stoul(argv[2]) : 10);
    // The test's timeout, when it runs under one: the run ends well before
    // it, so that it still cleans up after itself.
    const unsigned long limit = EnvNumber("AQUENDO_CLICK_SOAK_LIMIT", 0);
    if (limit > 0 && seconds + 60 > limit) {
        seconds = limit > 120 ? limit - 60 : limit / 2;
        std::printf("click soak: cut to %lu s to end before the test's timeout of %lu s\n", seconds, limit);
    }
    for (int stop : {SIGTERM, SIGINT, SIGHUP}) std::signal(stop, [](int) { g_stop = 1; });
    const unsigned long seed = EnvNumber("AQUENDO_CLICK_SOAK_SEED", 20240611);
    std::printf("click soak: %s for %lu s, seed %lu (AQUENDO_CLICK_SOAK_SECONDS, AQUENDO_CLICK_SOAK_SEED)\n",
                built.c_str(), seconds, seed);
    std::fflush(stdout);

    try {
        Sandbox sandbox;
        const std::string program = sandbox.Reachable(built).string();
        XSession screen;
        std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
        auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };

        std::map<std::string, int> clicksOn;           // by kind of window
        std::map<std::string, std::set<Window>> seen;  // distinct windows by kind
        int clicks = 0, closeButtons = 0, escapes = 0, starts = 0, restarts = 0;
        std::array<int, 4> buttons{};
        Clock::duration slowest{};
        std::string failure;

        const auto deadline = Clock::now() + std::chrono::seconds(seconds);
        auto game = std::make_unique<GameProcess>(sandbox, program, sandbox.root / "game-1.log");
        ++starts;
        auto noWindowSince = Clock::now();
        while (failure.empty() && Clock::now() < deadline && !g_stop) {
            if (const auto status = game->Poll()) {
                if (const auto report = game->SanitizerLines(); !report.empty()) {
                    failure = "sanitizer report: " + report.front();
                } else if (WIFEXITED(*status) && WEXITSTATUS(*status) == 0 && !game->ClosedInOrder()) {
                    failure = "the game ended without its close order (no settings written)";
                } else if (WIFEXITED(*status) && WEXITSTATUS(*status) == 0) {
                    ++restarts;
                    game = std::make_unique<GameProcess>(
                        sandbox, program, sandbox.root / ("game-" + std::to_string(++starts) + ".log"));
                    noWindowSince = Clock::now();
                } else {
                    failure = "the game ended with " + Describe(*status);
                }
                continue;
            }
            const std::vector<TopWindow> windows = screen.WindowsOf(game->pid());
            if (windows.empty()) {
                if (Clock::now() - noWindowSince > kHangLimit) failure = "no window of the game for 20 s";
                std::this_thread::sleep_for(20ms);
                continue;
            }
            noWindowSince = Clock::now();
            for (const auto& w : windows) seen[Kind(w)].insert(w.id);
            const TopWindow& target = Choose(windows, rng);
            if (!sandbox.ownUser && IsFileDialog(windows.back().title)) {
                screen.PressEscape();
                ++escapes;
            } else if (!target.popup && pick(0, 99) < 2) {
                screen.CloseButton(target.id);
                ++closeButtons;
                ++clicksOn[Kind(target)];
            } else {
                screen.Raise(windows, target);
                const int b = pick(0, 19);
                const unsigned button = b < 11 ? 1 : b < 19 ? 3 : 2;
                // The main window's tool bar gets a fair share: exit, save, load and the rest.
                const bool toolBar = Kind(target) == "main window" && pick(0, 4) == 0;
                screen.Click(target.x + pick(0, target.width - 1),
                             target.y + (toolBar ? pick(4, 28) : pick(0, target.height - 1)), button);
                ++clicks;
                ++buttons[button];
                ++clicksOn[Kind(target)];
            }
            const auto sent = Clock::now();
            const int resentBefore = screen.resent;
            if (!screen.Ping(*game, kHangLimit) && !game->Poll())
                failure = "the game answered no ping for 20 s";
            if (screen.resent == resentBefore) slowest = std::max(slowest, Clock::now() - sent);
        }
        if (g_stop) failure = "stopped by a signal";
        if (failure.empty() && !game->Poll() && !screen.Ping(*game, kHangLimit) && !game->Poll())
            failure = "the game answered no ping at the end";
        const bool endedByItself = game->Poll().has_value();
        const int status = game->Stop();
        if (failure.empty() && endedByItself && !(WIFEXITED(status) && WEXITSTATUS(status) == 0))
            failure = "the game ended with " + Describe(status);
        if (const auto report = game->SanitizerLines(); failure.empty() && !report.empty())
            failure = "sanitizer report: " + report.front();
        if (!failure.empty()) {
            const fs::path log = sandbox.root / ("game-" + std::to_string(starts) + ".log");
            std::printf("--- output of the last game run:\n");
            std::ifstream in(log);
            std::printf("%s---\n", std::string(std::istreambuf_iterator<char>(in), {}).c_str());
        }

        int windowCount = 0;
        for (const auto& [kind, ids] : seen) windowCount += static_cast<int>(ids.size());
        std::printf(
            "clicks %d (left %d, right %d, middle %d), close buttons %d, Escape %d, games started %d, "
            "restarts %d, "
            "addresses opened %d, slowest answer to a click %.0f ms, pings lost with a closing window %d\n",
            clicks, buttons[1], buttons[3], buttons[2], closeButtons, escapes, starts, restarts,
            sandbox.UrlsOpened(), std::chrono::duration<double, std::milli>(slowest).count(), screen.resent);
        std::printf("windows seen %d:\n", windowCount);
        for (const auto& [kind, ids] : seen)
            std::printf("  %4zu x %-40s clicked %d times\n", ids.size(), kind.c_str(), clicksOn[kind]);
        for (const fs::path& shared : kShared) {
            std::error_code error;
            const auto made =
                std::distance(fs::directory_iterator(sandbox.root / "shared" / shared.filename(), error),
                              fs::directory_iterator());
            // The sandbox's own path in the stand-in /tmp is no file of the game's.
            const fs::path below = sandbox.root.lexically_relative(shared);
            const long own = !below.empty() && *below.begin() != ".." ? 1 : 0;
            if (made > own)
                std::printf("made in the sandbox's stand-in for %s: %ld\n", shared.c_str(),
                            static_cast<long>(made - own));
        }
        for (const auto& path : sandbox.RemoveLitter())
            std::printf("left outside the scratch folder: %s\n", path.c_str());
        if (!failure.empty()) {
            std::printf("FAILED: %s\n", failure.c_str());
            return 1;
        }
        std::printf("passed\n");
        return 0;
    } catch (const std::exception& e) {
        std::printf("FAILED: %s\n", e.what());
        return 1;
    }
}
