#include "store/IniText.h"

#include "store/SettingsStore.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Starts the journal of an in-place write, at the start of a line.
constexpr std::string_view kJournalMark = "\n;aquendo in-place write: old ";

std::size_t ByteOrderMarkLength(std::string_view text) {
    return text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
}

// The length of the strict UTF-8 sequence at i (no overlong forms, no
// surrogates, nothing above U+10FFFF); 0 when there is none.
std::size_t Utf8Length(std::string_view bytes, std::size_t i) {
    const auto lead = static_cast<std::uint8_t>(bytes[i]);
    std::size_t length = 0;
    std::uint32_t code = 0;
    std::uint32_t least = 0;
    if (lead < 0x80) {
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() - i < length) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<std::uint8_t>(bytes[i + k]);
        if ((next & 0xC0) != 0x80) return 0;
        code = code << 6 | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

bool IsUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8Length(bytes, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string_view Trim(std::string_view line) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

bool IsPlainIniText(std::string_view bytes) {
    bytes.remove_prefix(ByteOrderMarkLength(bytes));
    if (!IsUtf8(bytes)) return false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n') return false;
        // Qt ends a line at a lone CR as well; only CR LF is one line end here.
        if (c == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) return false;
    }

    // As Qt reads a line: a '"' opens or closes a quoted part, in which a line
    // end is text; a backslash takes the next character, a line end included.
    bool quoted = false;
    bool continued = false;
    const auto scan = [&](std::string_view raw) {
        continued = false;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\\') {
                if (++i == raw.size()) continued = true;
            } else if (raw[i] == '"') {
                quoted = !quoted;
            }
        }
    };
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        std::string_view raw = bytes.substr(0, end);
        if (raw.ends_with('\r')) raw.remove_suffix(1);
        const std::string_view line = Trim(raw);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);

        if (continued) {
            scan(raw);
        } else if (line.empty() || line.front() == ';') {
            // Only ';' starts a comment for Qt; a '#' line is a name or nothing it can read.
        } else if (line.front() == '[') {
            // Qt takes a '/' or '\\' in a name for a group and writes some back mangled.
            if (line.back() != ']' || line.find_first_of("/\\") != std::string_view::npos) return false;
        } else {
            const auto equals = line.find('=');
            if (equals == std::string_view::npos) return false;
            const std::string_view name = Trim(line.substr(0, equals));
            if (name.empty() || name.find_first_of("/\\\"") != std::string_view::npos) return false;
            scan(raw);
        }
        // A quoted part left open would swallow the lines after it.
        if (quoted && !continued) return false;
    }
    return !quoted;
}

namespace {

// The control characters the notation names by a letter after a backslash.
constexpr char kEscapeLetters[] = "abfnrtv0";
constexpr char kEscaped[] = {'\a', '\b', '\f', '\n', '\r', '\t', '\v', '\0'};

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    return (c | 0x20) - 'a' + 10;
}

void AppendHex(std::string& out, unsigned value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out += "\\x";
    if (value >= 16) out += kDigits[value >> 4];
    out += kDigits[value & 15];
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The escapes of the notation undone; nothing for a '"' not escaped, an
// escape the notation does not know, or a character above U+10FFFF. \xhh
// below 0x80 is that character, up to 0xFF that byte (one that is no UTF-8),
// above that the character in UTF-8.
std::optional<std::string> Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') return std::nullopt;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        if (const char* named = std::strchr(kEscapeLetters, text[i]); named && *named) {
            out += kEscaped[named - kEscapeLetters];
            continue;
        }
        switch (text[i]) {
            case '"':
            case '\\':
            case '\'':
            case '?':
                out += text[i];
                break;
            case 'x': {
                std::uint32_t code = 0;
                std::size_t digits = 0;
                while (i + 1 < text.size() && IsHexDigit(text[i + 1])) {
                    if (++digits > 6) return std::nullopt;
                    code = code << 4 | static_cast<std::uint32_t>(HexValue(text[++i]));
                }
                if (digits == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
                if (code >= 0x80 && code <= 0xFF)
                    out += static_cast<char>(code);
                else
                    AppendUtf8(out, code);
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return out;
}

bool Quoted(std::string_view text) {
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

// The value when text is exactly what EscapedIniValue writes for it.
std::optional<std::string> InNotation(std::string_view text) {
    std::optional<std::string> value = Unescape(Quoted(text) ? text.substr(1, text.size() - 2) : text);
    if (!value) return std::nullopt;
    if (value->starts_with('@')) {
        // A single '@' starts one of Qt's notations for other types: no text of the game's.
        if (!value->starts_with("@@")) return std::nullopt;
        value->erase(0, 1);
    }
    if (EscapedIniValue(*value) != text) return std::nullopt;
    return value;
}

// What a value's text (after the '=') means, and whether that is beyond doubt.
std::optional<std::string> Interpret(std::string_view raw, std::size_t longest, bool& asMeant) {
    const std::string_view text = TrimBlanks(raw);
    if (text.size() > longest) return std::nullopt;
    if (auto value = InNotation(text)) return value;
    if (Quoted(text)) {
        // Quotes are INI notation, and so are the escapes inside them.
        if (auto value = Unescape(text.substr(1, text.size() - 2))) return value;
        asMeant = false;
    }
    // A ';' after a blank may start a comment, as in many INI files.
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == ';' && (text[i - 1] == ' ' || text[i - 1] == '\t')) {
            asMeant = false;
            return std::string(TrimBlanks(text.substr(0, i)));
        }
    }
    return std::string(text);
}

// Whether a line's text ends in a backslash that takes the line end, as an
// INI reader scans it: a backslash takes the character after it, so an odd
// run of them at the end leaves the last for the line end.
bool Continued(std::string_view raw) {
    const auto last = raw.find_last_not_of('\\');
    return (raw.size() - (last == std::string_view::npos ? 0 : last + 1)) % 2 == 1;
}

// One line from at: its text without the line end, and where the next starts.
std::size_t NextLine(std::string_view text, std::size_t at, std::string_view& raw) {
    const auto* end = static_cast<const char*>(std::memchr(text.data() + at, '\n', text.size() - at));
    const std::size_t stop = end ? static_cast<std::size_t>(end - text.data()) : text.size();
    raw = text.substr(at, stop - at);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    return end ? stop + 1 : text.size();
}

// One name=value of a settings text, as an INI reader splits it.
struct RawEntry {
    std::string_view section;
    std::string_view name;
    std::size_t begin;  // its line or lines, with their line ends
    std::size_t end;
    std::size_t value;  // where its text starts, after the '='
    bool continued;     // over several lines, or its last line would take the next
};

// The line of text at `at` as an INI reader takes it, with the lines it
// takes after it; gives where the next line starts. onSection(name, after)
// for a [section] header, onEntry(entry) for a name=value; plain turns false
// for a line that is neither (a header left open, a line with no name): the
// reading is in doubt. section is the one the line is in. A line is looked at
// only at its ends.
template <class OnSection, class OnEntry>
std::size_t WalkLine(std::string_view text, std::size_t at, std::string_view& section, bool& plain,
                     OnSection&& onSection, OnEntry&& onEntry) {
    const std::size_t begin = at;
    std::string_view raw;
    at = NextLine(text, at, raw);
    const std::string_view line = TrimBlanks(raw);
    if (line.empty() || line.front() == ';') return at;
    if (line.front() == '[') {
        if (line.back() != ']') {
            plain = false;
            return at;
        }
        section = TrimBlanks(line.substr(1, line.size() - 2));
        onSection(section, at);
        return at;
    }
    const auto* sign = static_cast<const char*>(std::memchr(raw.data(), '=', raw.size()));
    const auto equals = sign ? static_cast<std::size_t>(sign - raw.data()) : std::string_view::npos;
    const std::string_view name =
        equals == std::string_view::npos ? std::string_view() : TrimBlanks(raw.substr(0, equals));
    // A ';' in a name may have meant a comment.
    if (name.empty() || name.find(';') != std::string_view::npos) {
        plain = false;
        return at;
    }
    RawEntry entry{section, name, begin, at, begin + equals + 1, false};
    // A value over several lines (or one whose last line would take the
    // next): no INI writer writes one, and readers differ. Its lines are
    // taken whatever its length, so that none is read as a value of its own.
    for (std::string_view piece = raw.substr(equals + 1); Continued(piece);) {
        entry.continued = true;
        if (at == text.size()) break;
        at = NextLine(text, at, piece);
    }
    entry.end = at;
    onEntry(entry);
    return at;
}

// Every line of text, as WalkLine; false when the reading is in doubt.
template <class OnSection, class OnEntry>
bool WalkIni(std::string_view text, OnSection&& onSection, OnEntry&& onEntry) {
    bool plain = true;
    std::string_view section;
    for (std::size_t at = ByteOrderMarkLength(text); at < text.size();)
        at = WalkLine(text, at, section, plain, onSection, onEntry);
    return plain;
}

// An entry's text, its lines joined; nothing when it is longer than any value
// of at most longest could be written.
std::optional<std::string> ValueText(std::string_view text, const RawEntry& entry, std::size_t longest) {
    std::string out;
    for (std::size_t at = entry.value;;) {
        std::string_view piece;
        const std::size_t next = NextLine(text, at, piece);
        const bool more = entry.continued && next < entry.end;
        out += more ? piece.substr(0, piece.size() - 1) : piece;
        if (out.size() > longest + 2) return std::nullopt;
        if (!more) return out;
        at = next;
    }
}

std::optional<std::string> EntryValue(std::string_view text, const RawEntry& entry, std::size_t longest,
                                      bool& asMeant) {
    if (entry.continued) asMeant = false;
    const std::optional<std::string> valueText = ValueText(text, entry, longest);
    if (!valueText) return std::nullopt;
    return Interpret(*valueText, longest, asMeant);
}

}  // namespace

std::string EscapedIniValue(std::string_view value) {
    std::string out;
    out.reserve(value.size() + 2);
    if (value.starts_with('@')) out += '@';
    // Qt leaves an escaped control character unquoted; quoted, it cannot be
    // taken for a backslash typed by hand (a\b, C:\new), which then reads
    // as typed.
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const auto byte = static_cast<unsigned char>(c);
        if (c == ';' || c == ',' || c == '=') needsQuotes = true;
        // \x takes every hex digit after it: such a digit is written as an escape too.
        if (escapeNextIfDigit && IsHexDigit(c)) {
            AppendHex(out, byte);
            continue;
        }
        escapeNextIfDigit = false;
        if (byte < 0x20) needsQuotes = true;
        if (const void* named = std::memchr(kEscaped, c, sizeof kEscaped)) {
            out += '\\';
            out += kEscapeLetters[static_cast<const char*>(named) - kEscaped];
            // \0 followed by a digit would read as one octal escape in other readers.
            escapeNextIfDigit = c == '\0';
            continue;
        }
        switch (c) {
            case '"':
            case '\\':
                out += '\\';
                out += c;
                break;
            default:
                if (byte < 0x20) {
                    AppendHex(out, byte);
                    escapeNextIfDigit = true;
                } else if (byte < 0x80) {
                    out += c;
                } else if (const std::size_t length = Utf8Length(value, i)) {
                    out.append(value.substr(i, length));
                    i += length - 1;
                } else {
                    AppendHex(out, byte);
                    escapeNextIfDigit = true;
                    needsQuotes = true;
                }
        }
    }
    if (needsQuotes || (!out.empty() && (out.front() == ' ' || out.back() == ' '))) out = '"' + out + '"';
    return out;
}

IniDocument::IniDocument(std::string_view bytes, std::size_t longestValue)
    : m_text(bytes), m_longest(longestValue) {
    const auto lineEnd = m_text.find('\n');
    if (lineEnd != std::string::npos && lineEnd > 0 && m_text[lineEnd - 1] == '\r') m_lineEnd = "\r\n";
    m_plain = WalkIni(
        m_text,
        [&](std::string_view section, std::size_t after) {
            m_sections.push_back({section, after, after});
        },
        [&](const RawEntry& entry) {
            m_entries.push_back(
                {entry.section, entry.name, entry.begin, entry.end, entry.value, entry.continued});
            if (!m_sections.empty() && m_sections.back().name == entry.section)
                m_sections.back().end = entry.end;
        });
}

bool IniDocument::ReadsAsMeant() const {
    bool asMeant = m_plain;
    for (const Entry& entry : m_entries)
        (void)EntryValue(m_text,
                         {entry.section, entry.name, entry.begin, entry.end, entry.value, entry.continued},
                         m_longest, asMeant);
    return asMeant;
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view name) const {
    // The last of several, as INI readers take it.
    for (auto entry = m_entries.rbegin(); entry != m_entries.rend(); ++entry) {
        if (entry->section != section || entry->name != name) continue;
        bool asMeant = true;
        return EntryValue(
            m_text, {entry->section, entry->name, entry->begin, entry->end, entry->value, entry->continued},
            m_longest, asMeant);
    }
    return std::nullopt;
}

std::string IniDocument::WithValue(std::string_view section, std::string_view name,
                                   std::string_view value) const {
    const std::string line = std::string(name) + '=' + EscapedIniValue(value) + m_lineEnd;
    std::string text = m_text;
    // The value's own lines: the last takes the new line, any before it go.
    bool placed = false;
    for (auto entry = m_entries.rbegin(); entry != m_entries.rend(); ++entry) {
        if (entry->section != section || entry->name != name) continue;
        const bool lastLine = entry->end == text.size() && !text.ends_with('\n');
        text.replace(entry->begin, entry->end - entry->begin, placed ? std::string() : line);
        if (!placed && lastLine) text.erase(text.size() - m_lineEnd.size());
        placed = true;
    }
    if (placed) return text;

    const auto block = std::find_if(m_sections.rbegin(), m_sections.rend(),
                                    [&](const Section& s) { return s.name == section; });
    if (block != m_sections.rend()) {
        std::size_t at = block->end;
        // Among the block's values in order of names, as Qt writes them.
        for (const Entry& entry : m_entries) {
            if (entry.begin >= block->start && entry.begin < block->end && entry.name > name)
                at = std::min(at, entry.begin);
        }
        // The section's last line may be the file's last, without a line end.
        const std::string prefix = at > 0 && text[at - 1] != '\n' ? m_lineEnd : std::string();
        text.insert(at, prefix + line);
        return text;
    }
    if (!text.empty() && !text.ends_with('\n')) text += m_lineEnd;
    const std::string_view body = std::string_view(text).substr(ByteOrderMarkLength(text));
    if (!body.empty() && !body.ends_with(m_lineEnd + m_lineEnd)) text += m_lineEnd;
    return text + '[' + std::string(section) + ']' + m_lineEnd + line;
}

IniValueScan::IniValueScan(std::string section, std::string name, std::size_t longestValue)
    : m_section(std::move(section)), m_name(std::move(name)), m_longest(longestValue) {}

std::size_t IniValueScan::Take(std::string_view lines, bool last) {
    if (!last) lines = lines.substr(0, lines.rfind('\n') + 1);
    // The journal of an in-place write starts a line, never the file.
    const std::string_view mark = kJournalMark.substr(1);
    for (const char* at = lines.data(); !m_journal;) {
        const auto left = static_cast<std::size_t>(lines.data() + lines.size() - at);
        const auto* hit = static_cast<const char*>(::memmem(at, left, mark.data(), mark.size()));
        if (!hit) break;
        m_journal = hit > lines.data() ? hit[-1] == '\n' : !m_fileStart;
        at = hit + 1;
    }
    std::optional<RawEntry> open;
    std::string_view section = m_current;
    bool plain = true;
    // Only a line holding a '[', a backslash or the name can change what is
    // found; the lines between are passed over at the speed of searching.
    struct Next {
        std::string_view what;
        std::size_t at = 0;
        bool known = false;
    };
    std::array<Next, 3> next{Next{"["}, Next{"\\"}, Next{m_name}};
    const auto nextHit = [&](std::size_t from) {
        std::size_t first = std::string_view::npos;
        for (Next& n : next) {
            if (!n.known || (n.at != std::string_view::npos && n.at < from)) {
                const char* base = lines.data() + from;
                const std::size_t left = lines.size() - from;
                const void* hit = n.what.empty()       ? nullptr
                                  : n.what.size() == 1 ? std::memchr(base, n.what[0], left)
                                                       : ::memmem(base, left, n.what.data(), n.what.size());
                n.at = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - lines.data())
                           : std::string_view::npos;
                n.known = true;
            }
            first = std::min(first, n.at);
        }
        return first;
    };
    for (std::size_t at = m_fileStart ? ByteOrderMarkLength(lines) : 0; at < lines.size();) {
        const std::size_t hit = nextHit(at);
        if (hit == std::string_view::npos) break;
        const void* lineEnd = hit > at ? ::memrchr(lines.data() + at, '\n', hit - at) : nullptr;
        const std::size_t begin =
            lineEnd ? static_cast<std::size_t>(static_cast<const char*>(lineEnd) - lines.data()) + 1 : at;
        at = WalkLine(
            lines, begin, section, plain, [](std::string_view, std::size_t) {},
            [&](const RawEntry& entry) {
                // An entry that reaches the end of these bytes and would take the next may go on.
                if (!last && entry.continued && entry.end == lines.size()) open = entry;
                if (entry.name != m_name || entry.section != m_section) return;
                bool asMeant = true;
                m_value = EntryValue(lines, entry, m_longest, asMeant);
            });
    }
    // The next bytes start in the section of the last header, or of the entry that goes on.
    m_current = std::string(open ? open->section : section);
    const std::size_t used = open ? open->begin : lines.size();
    if (used > 0) m_fileStart = false;
    return used;
}

std::optional<std::string> IniValue(std::string_view bytes, std::string_view section, std::string_view name,
                                    std::size_t longestValue) {
    IniValueScan scan{std::string(section), std::string(name), longestValue};
    scan.Take(bytes, true);
    return scan.Value();
}

namespace {

std::uint64_t Checksum(std::string_view text) {
    std::uint64_t sum = 14695981039346656037ull;  // FNV-1a
    for (const char c : text) sum = (sum ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return sum;
}

std::size_t LastJournalMark(std::string_view bytes) {
    std::size_t found = std::string_view::npos;
    for (const char* at = bytes.data();;) {
        const auto left = static_cast<std::size_t>(bytes.data() + bytes.size() - at);
        const void* hit = ::memmem(at, left, kJournalMark.data(), kJournalMark.size());
        if (!hit) return found;
        found = static_cast<std::size_t>(static_cast<const char*>(hit) - bytes.data());
        at = static_cast<const char*>(hit) + 1;
    }
}

// A number at `at` followed by `then`; moves at past both.
std::optional<std::uint64_t> Field(std::string_view bytes, std::size_t& at, std::string_view then, int base) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(bytes.data() + at, bytes.data() + bytes.size(), value, base);
    const auto after = static_cast<std::size_t>(end - bytes.data());
    if (error != std::errc() || bytes.substr(after, then.size()) != then) return std::nullopt;
    at = after + then.size();
    return value;
}

// The journal's copy of the new text, when it is there whole.
bool DecodeJournal(std::string_view bytes, std::size_t at, std::uint64_t size, std::uint64_t sum,
                   std::string& text) {
    text.clear();
    while (at < bytes.size() && bytes[at] == ';') {
        const auto end = bytes.find('\n', at);
        if (end == std::string_view::npos) return false;
        text.append(bytes.substr(at + 1, end - at - 1));
        at = end + 1;
        if (text.size() >= size) return text.size() == size && Checksum(text) == sum;
        text += '\n';
    }
    return false;
}

}  // namespace

std::string IniInPlaceJournal(std::string_view newText, std::uint64_t oldSize) {
    // A comment line long enough that the overwrite, which ends where the new
    // text does, cannot reach the journal; then the journal's mark.
    std::string journal = "\n;";
    journal.append(newText.size() > oldSize + 2 ? newText.size() - oldSize - 2 : 0, ' ');
    journal += kJournalMark;
    char sum[17] = {};
    std::to_chars(sum, sum + 16, Checksum(newText), 16);
    journal += std::to_string(oldSize) + " new " + std::to_string(newText.size()) + " sum " + sum + '\n';
    for (std::size_t at = 0;;) {
        const auto end = newText.find('\n', at);
        journal += ';';
        journal.append(newText.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        journal += '\n';
        if (end == std::string_view::npos) return journal;
        at = end + 1;
    }
}

std::string_view SettledIniText(std::string_view bytes, std::string& decoded) {
    for (;;) {
        const std::size_t mark = LastJournalMark(bytes);
        if (mark == std::string_view::npos) {
            // Killed while the mark itself was written: a comment line, left out.
            const auto lineStart = bytes.rfind('\n') + 1;
            const std::string_view tail = bytes.substr(lineStart);
            if (tail.size() >= 2 && kJournalMark.substr(1).starts_with(tail))
                bytes = bytes.substr(0, lineStart);
            return bytes;
        }
        std::size_t at = mark + kJournalMark.size();
        const auto oldSize = Field(bytes, at, " new ", 10);
        const auto newSize = oldSize ? Field(bytes, at, " sum ", 10) : std::nullopt;
        const auto sum = newSize ? Field(bytes, at, "\n", 16) : std::nullopt;
        if (sum && *oldSize <= mark && DecodeJournal(bytes, at, *newSize, *sum, decoded)) return decoded;
        // Killed before the journal was whole: the old text is still as it was.
        bytes = bytes.substr(0, oldSize && *oldSize <= mark ? *oldSize : mark);
    }
}
