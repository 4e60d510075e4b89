// Times a program from its exec to the mapping of its first top-level window
// of a given size on the X display, for scripts/perf/run.sh.
//   aquendo-map-watch WIDTH HEIGHT TIMEOUT_MS COMMAND [ARG...]
// Prints the milliseconds and ends the program (SIGTERM); exit 1 when no such
// window was mapped in time.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <xcb/xcb.h>

#include <sys/select.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

bool HasSize(xcb_connection_t* x, xcb_window_t window, int width, int height) {
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
        xcb_get_geometry_reply(x, xcb_get_geometry(x, window), nullptr), &std::free);
    return geometry && geometry->width == width && geometry->height == height;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: aquendo-map-watch WIDTH HEIGHT TIMEOUT_MS COMMAND [ARG...]\n");
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    const auto timeout = std::chrono::milliseconds(std::atoi(argv[3]));

    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "aquendo-map-watch: no X display\n");
        return 2;
    }
    // Top-level windows are the root's children: their mapping reaches a
    // client that listens to the root's substructure.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &events);
    xcb_get_input_focus_reply_t* sync = xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr);
    std::free(sync);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[4], argv + 4);
        std::perror("aquendo-map-watch: exec");
        _exit(127);
    }

    int result = 1;
    const int fd = xcb_get_file_descriptor(x);
    while (Clock::now() - start < timeout) {
        xcb_generic_event_t* event = xcb_poll_for_event(x);
        if (!event) {
            int status = 0;
            if (waitpid(child, &status, WNOHANG) == child) {
                std::fprintf(stderr, "aquendo-map-watch: the program ended before its window was mapped\n");
                return 1;
            }
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(fd, &readable);
            timeval pause{0, 1000};
            select(fd + 1, &readable, nullptr, nullptr, &pause);
            continue;
        }
        const auto type = event->response_type & 0x7f;
        if (type == XCB_MAP_NOTIFY) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            const Clock::time_point mapped = Clock::now();
            if (HasSize(x, map->window, width, height)) {
                std::printf("%.1f\n", std::chrono::duration<double, std::milli>(mapped - start).count());
                result = 0;
                std::free(event);
                break;
            }
        }
        std::free(event);
    }
    if (result != 0)
        std::fprintf(stderr, "aquendo-map-watch: no %dx%d window mapped in time\n", width, height);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(x);
    return result;
}
