#include "app/ProgramFolder.h"

#include <filesystem>
#include <system_error>

#include "game/Game.h"

std::string GameFilesFolder(const std::string& executableFolder, const std::string& dataFromProgram) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (dataFromProgram.empty() || fs::exists(fs::path(executableFolder) / kLevelFileName, error))
        return executableFolder;
    const fs::path data = (fs::path(executableFolder) / dataFromProgram).lexically_normal();
    if (!fs::is_directory(data, error)) return executableFolder;
    std::string folder = data.string();
    if (folder.back() != '/') folder += '/';
    return folder;
}
