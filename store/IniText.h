#pragma once

#include <cstddef>
#include <cstdint>
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

    IniDocument(const IniDocument&) = delete;
    IniDocument& operator=(const IniDocument&) = delete;

    bool ReadsAsMeant() const;
    // The value's text; nothing when it is absent or refused (kLongestIniValue).
    std::optional<std::string> Value(std::string_view section, std::string_view name) const;
    // The whole text with the value set: every other line kept as it was, a
    // new value placed among the section's values in order of names, a new
    // section appended.
    std::string WithValue(std::string_view section, std::string_view name, std::string_view value) const;

private:
    // Views into m_text, which is why a document is not copied.
    struct Entry {
        std::string_view section;
        std::string_view name;
        std::size_t begin;  // its line or lines, with their line ends
        std::size_t end;
        std::size_t value;  // where its text starts
        bool continued;
    };
    struct Section {
        std::string_view name;
        std::size_t start;  // after its header
        std::size_t end;    // after its header or its last value
    };

    std::string m_text;
    std::vector<Entry> m_entries;
    std::vector<Section> m_sections;
    std::size_t m_longest;
    std::string m_lineEnd = "\n";
    bool m_plain = true;
};

// One value of a settings text, found in one quick walk over its lines
// without taking the text apart, while the text comes in pieces: what
// IniDocument(text, longestValue).Value(section, name) gives. A file of the
// largest size is read through a small buffer.
class IniValueScan {
public:
    IniValueScan(std::string section, std::string name, std::size_t longestValue = kLongestIniValue);

    // Takes the next lines of the text, and gives how many bytes it used: whole
    // lines, but for the last lines of a value that may go on in the next
    // bytes. Those come again with the next bytes. last: the text ends here.
    std::size_t Take(std::string_view lines, bool last);
    const std::optional<std::string>& Value() const { return m_value; }
    // The text holds the journal of an in-place write (SettledIniText).
    bool SawJournal() const { return m_journal; }

private:
    std::string m_section;
    std::string m_name;
    std::size_t m_longest;
    std::string m_current;  // the section the next bytes start in
    bool m_fileStart = true;
    bool m_journal = false;
    std::optional<std::string> m_value;
};

std::optional<std::string> IniValue(std::string_view bytes, std::string_view section, std::string_view name,
                                    std::size_t longestValue = kLongestIniValue);

// A settings file that has to be written in place (a hard link, another
// owner) gets the journal of IniInPlaceJournal after its old text first, then
// the new text over the old, then its end cut. The journal is comment lines:
// a mark with the old and new sizes and a checksum, then the new text, a ';'
// before each line. SettledIniText gives what such a file reads as in every
// state a kill can leave: with the journal whole, the new text; before that,
// the old text, which nothing has touched yet.
std::string IniInPlaceJournal(std::string_view newText, std::uint64_t oldSize);
// The bytes themselves when they hold no journal; else the old or the new
// text, the new one in decoded.
std::string_view SettledIniText(std::string_view bytes, std::string& decoded);
