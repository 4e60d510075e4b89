#include "windows/PlatformChoice.h"

#include <string_view>

namespace {

bool Set(const char* value) {
    return value && *value;
}

// XDG_CURRENT_DESKTOP is a list, "ubuntu:GNOME" for one.
bool NamesGnome(std::string_view desktops) {
    while (!desktops.empty()) {
        const std::size_t end = desktops.find(':');
        const std::string_view name = desktops.substr(0, end);
        if (name == "GNOME" || name.starts_with("GNOME-")) return true;
        if (end == std::string_view::npos) break;
        desktops.remove_prefix(end + 1);
    }
    return false;
}

}  // namespace

const char* ChosenPlatform(const char* chosen, const char* desktop, const char* waylandDisplay,
                           const char* x11Display) {
    if (Set(chosen) || !Set(desktop) || !Set(waylandDisplay) || !Set(x11Display)) return nullptr;
    return NamesGnome(desktop) ? "xcb" : nullptr;
}
