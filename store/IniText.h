#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Whether a settings file is text that Qt's INI reader takes in full and
// writes back as it was: UTF-8 with no control characters but tabs and line
// ends (LF or CR LF), and every line blank, a comment (;, not #), a [section],
// a name=value pair, or the continuation of a value whose line ended in a
// backslash. Names and sections hold no '/' or '\\' (Qt's group notation),
// names no '"', and a quoted part of a value closes on its line. Anything else
// would be dropped or mangled by a reader that writes the file back.
bool IsPlainIniText(std::string_view bytes);

// A value whose text in the file is longer is refused when read: the game
// never writes one, and a file of such values is no settings file any more.
inline constexpr std::size_t kLongestIniValue = std::size_t{1} << 20;
// Larger than any file of the game's values by far (and than a file with a
// few values of the game refused): not read at all, and set aside at the
// first write.
inline constexpr std::size_t kLargestIniFile = std::size_t{16} << 20;

// A text value as it is written to the file, in the notation of Qt's INI
// writer: a backslash before '"' and '\\', control characters as \n, \t,
// \xhh and the like (so are bytes that are no UTF-8), a leading '@' doubled,
// and the whole in quotes when it holds ';', ',' or '=' or such an escaped
// character, or starts or ends with a blank. IniDocument reads it back
// exactly.
std::string EscapedIniValue(std::string_view value);

// A settings file's text, read as its author plainly meant it. A value in
// the notation above (the game's own, or Qt's) reads as that notation says;
// a value in quotes as the text inside, its escapes undone; any other as
// written, a ';' ',' '"' or '\\' in it included, blanks at its ends left
// out. Where the meaning is in doubt (an escape unknown in quotes, a ';'
// after a blank that may start a comment, a value continued on the next
// line, a line that is no INI) the reading is the INI one and ReadsAsMeant is
// false: the file is to be kept aside before the first write changes it.
class IniDocument {
public:
    // longestValue is kLongestIniValue but for checks of the limit itself.
    explicit IniDocument(std::string_view bytes, std::size_t longestValue = kLongestIniValue);

    bool ReadsAsMeant() const { return m_asMeant; }
    // The value's text; nothing when it is absent or refused (kLongestIniValue).
    std::optional<std::string> Value(std::string_view section, std::string_view name) const;
    // The whole text with the value set: every other line kept as it was, a
    // new value placed among the section's values in order of names, a new
    // section appended.
    std::string WithValue(std::string_view section, std::string_view name, std::string_view value) const;

private:
    struct Entry {
        std::string section;
        std::string name;
        std::size_t begin;  // its line or lines, with their line ends
        std::size_t end;
        std::optional<std::string> value;
    };
    struct Section {
        std::string name;
        std::size_t start;  // after its header
        std::size_t end;    // after its header or its last value
    };

    std::string m_text;
    std::vector<Entry> m_entries;
    std::vector<Section> m_sections;
    std::string m_lineEnd = "\n";
    bool m_asMeant = true;
};
