#include "app/SessionBus.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <string_view>

bool NoSessionBusCanExist(const char* address, const char* runtimeFolder, const char* path) {
    if (address && *address) return false;
    struct stat info {};
    if (runtimeFolder && *runtimeFolder && stat((std::string(runtimeFolder) + "/bus").c_str(), &info) == 0 &&
        S_ISSOCK(info.st_mode))
        return false;
    // An empty entry of PATH is the current folder.
    std::string_view folders = path ? path : "";
    for (;;) {
        const std::size_t end = folders.find(':');
        const std::string_view folder = folders.substr(0, end);
        const std::string launcher =
            (folder.empty() ? std::string(".") : std::string(folder)) + "/dbus-launch";
        if (access(launcher.c_str(), X_OK) == 0) return false;
        if (end == std::string_view::npos) return true;
        folders.remove_prefix(end + 1);
    }
}
