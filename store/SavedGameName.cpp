#include "store/SavedGameName.h"

namespace {

std::string::size_type NameStart(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

std::string WithSavedGameExtension(const std::string& chosen) {
    const auto start = NameStart(chosen);
    const auto dot = chosen.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot > start;
    return (hasExtension ? chosen.substr(0, dot) : chosen) + "." + kSavedGameExtension;
}

std::string FileNameOf(const std::string& path) {
    return path.substr(NameStart(path));
}

std::string FolderOf(const std::string& path) {
    const auto start = NameStart(path);
    if (start == 0) return {};
    if (start == 1) return "/";
    return path.substr(0, start - 1);
}
