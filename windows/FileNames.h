#pragma once

#include <QString>
#include <string>

// The game keeps file names as bytes, Qt as text, which cannot hold a name
// that is no UTF-8: such a name shows with U+FFFD in place of its bytes.

// The name as the file dialogs show it.
QString ShownFileName(const std::string& path);

// The bytes of the file a dialog chose. A folder or file name holding U+FFFD
// is taken back to the one entry of its folder that shows as it does, so that
// a file shown from its bytes (the preset of the save dialog, a folder that is
// no UTF-8) is the file written or read.
std::string ChosenFileName(const QString& chosen);

// The program's folder, ending with '/', as bytes.
std::string ProgramFolderOfExecutable();
