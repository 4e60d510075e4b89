#pragma once

#include <optional>
#include <string>

#include "store/ProgressTable.h"

// Results of a run that ended without the player's close (a signal, the end
// of the desktop session, a lost display) wait in a file of their own until
// the next start offers them. The results file itself is only ever written
// by the player's save.

// Where such results wait: aquendo/unsaved.aqd in $XDG_STATE_HOME, or in
// $HOME/.local/state when that is unset, empty or relative; empty when there
// is no home either. The arguments are the two variables, nullptr when unset.
std::string KeptResultsPath(const char* stateHome, const char* home);

// What the results file at savePath holds as far as it reads: no file, or
// none of that name, counts as all unsolved.
ProgressTable ResultsOnDisk(const std::string& savePath);

// Writes the results to path, making its folder first; the message to show
// when that failed.
std::optional<std::string> KeepResults(const std::string& path, const ProgressTable& results, int uiLanguage);

// The question the next start asks: solved counts the kept results' solved
// levels out of levelCount.
std::string KeptResultsQuestion(int solved, int levelCount, int uiLanguage);
