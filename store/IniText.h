#pragma once

#include <string_view>

// Whether a settings file is text that an INI reader takes in full: UTF-8
// with no control characters but tabs and line ends, and every line blank, a
// comment (; or #), a [section], a name=value pair with a name, or the
// continuation of a value whose line ended in a backslash. Anything else would
// be dropped or mangled by a reader that writes the file back.
bool IsPlainIniText(std::string_view bytes);
