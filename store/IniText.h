#pragma once

#include <string_view>

// Whether a settings file is text that Qt's INI reader takes in full and
// writes back as it was: UTF-8 with no control characters but tabs and line
// ends (LF or CR LF), and every line blank, a comment (;, not #), a [section],
// a name=value pair, or the continuation of a value whose line ended in a
// backslash. Names and sections hold no '/' or '\\' (Qt's group notation),
// names no '"', and a quoted part of a value closes on its line. Anything else
// would be dropped or mangled by a reader that writes the file back.
bool IsPlainIniText(std::string_view bytes);
