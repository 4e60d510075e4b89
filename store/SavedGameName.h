#pragma once

#include <string>

// The file dialogs' single filter and their default extension.
inline constexpr const char* kSavedGameFilter = "Aquendo-Dateien (*.aqd)";
inline constexpr const char* kSavedGameExtension = "aqd";

// The name the save flow writes to: the file name's extension, from its last
// dot on, becomes ".aqd", and a name without one gets ".aqd" appended
// (level.txt -> level.aqd, my.game.old -> my.game.aqd, results ->
// results.aqd). Only the file name counts, not a dot in a folder's name; a dot
// that starts the name marks a hidden file and is kept (.results ->
// .results.aqd).
std::string WithSavedGameExtension(const std::string& chosen);

// The name of the file without its folder: what the messages of the save flow show.
std::string FileNameOf(const std::string& path);

// The folder of the file, without a trailing separator except for the root;
// empty for a bare file name. The dialogs start there.
std::string FolderOf(const std::string& path);
