#include "game/KeptResults.h"

#include <sys/stat.h>

#include <cerrno>

#include "core/Language.h"
#include "store/ProgressFile.h"

namespace {

constexpr Text kQuestion{
    "Beim letzten Mal wurde Aquendo beendet, ohne Deine Ergebnisse zu speichern (%1 von %2 Stufen gelöst). "
    "Willst Du sie laden? In eine Datei kommen sie erst, wenn Du speicherst.",
    "Last time Aquendo was ended without saving your results (%1 of %2 levels solved). Do you want to load "
    "them? They go into a file only when you save."};
constexpr Text kNotKept{"Die ungespeicherten Ergebnisse konnten nicht in %1 aufbewahrt werden.",
                        "Could not keep the unsaved results in %1."};

bool IsAbsolute(const char* path) {
    return path && path[0] == '/';
}

// Each missing folder on the way, for the player alone, as the state folder should be.
bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1))
        if (::mkdir(folder.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace

std::string KeptResultsPath(const char* stateHome, const char* home) {
    std::string folder;
    if (IsAbsolute(stateHome))
        folder = stateHome;
    else if (IsAbsolute(home))
        folder = std::string(home) + "/.local/state";
    else
        return {};
    if (folder.back() != '/') folder += '/';
    return folder + "aquendo/unsaved.aqd";
}

ProgressTable ResultsOnDisk(const std::string& savePath) {
    ProgressTable table;
    // A file that fails halfway counts with what it gave: the start read no more of it either.
    if (FileExistsAt(savePath)) (void)ReadProgressFile(savePath, table);
    return table;
}

std::optional<std::string> KeepResults(const std::string& path, const ProgressTable& results,
                                       int uiLanguage) {
    const std::string folder = path.substr(0, path.find_last_of('/'));
    if (!path.empty() && MakeFolders(folder) && WriteProgressFile(path, results)) return std::nullopt;
    return Fill(kNotKept.Pick(uiLanguage), {path});
}

std::string KeptResultsQuestion(int solved, int levelCount, int uiLanguage) {
    return Fill(kQuestion.Pick(uiLanguage), {std::to_string(solved), std::to_string(levelCount)});
}
