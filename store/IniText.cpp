#include "store/IniText.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

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
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
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

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

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

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
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
// INI reader scans it: a backslash takes the character after it.
bool Continued(std::string_view raw) {
    for (std::size_t i = 0; i < raw.size(); ++i)
        if (raw[i] == '\\' && ++i == raw.size()) return true;
    return false;
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

IniDocument::IniDocument(std::string_view bytes, std::size_t longestValue) : m_text(bytes) {
    std::string_view text = m_text;
    std::size_t at = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    const auto lineEnd = text.find('\n');
    if (lineEnd != std::string_view::npos && lineEnd > 0 && text[lineEnd - 1] == '\r') m_lineEnd = "\r\n";

    // One line from at: its text without the line end, and where the next starts.
    const auto nextLine = [&](std::size_t from, std::string_view& raw) {
        const auto end = text.find('\n', from);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        raw = text.substr(from, (end == std::string_view::npos ? text.size() : end) - from);
        if (raw.ends_with('\r')) raw.remove_suffix(1);
        return next;
    };
    std::string section;
    while (at < text.size()) {
        const std::size_t begin = at;
        std::string_view raw;
        at = nextLine(at, raw);
        const std::string_view line = TrimBlanks(raw);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']') {
                m_asMeant = false;
                continue;
            }
            section = std::string(TrimBlanks(line.substr(1, line.size() - 2)));
            m_sections.push_back({section, at, at});
            continue;
        }
        const auto equals = raw.find('=');
        const std::string_view name =
            equals == std::string_view::npos ? std::string_view() : TrimBlanks(raw.substr(0, equals));
        // A ';' in a name may have meant a comment.
        if (name.empty() || name.find(';') != std::string_view::npos) {
            m_asMeant = false;
            continue;
        }
        // A value over several lines (or one whose last line would take the
        // next): no INI writer writes one, and readers differ. Its lines are
        // taken whatever its length, so that none is read as a value of its own.
        std::string valueText;
        bool tooLong = false;
        for (std::string_view piece = raw.substr(equals + 1);;) {
            const bool continued = Continued(piece);
            if (continued) m_asMeant = false;
            const bool more = continued && at < text.size();
            if (!tooLong) {
                valueText += more ? piece.substr(0, piece.size() - 1) : piece;
                tooLong = valueText.size() > longestValue + 2;
            }
            if (!more) break;
            at = nextLine(at, piece);
        }
        std::optional<std::string> value;
        if (!tooLong) value = Interpret(valueText, longestValue, m_asMeant);
        m_entries.push_back({section, std::string(name), begin, at, std::move(value)});
        if (!m_sections.empty() && m_sections.back().name == section) m_sections.back().end = at;
    }
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view name) const {
    // The last of several, as INI readers take it.
    for (auto entry = m_entries.rbegin(); entry != m_entries.rend(); ++entry)
        if (entry->section == section && entry->name == name) return entry->value;
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
    const std::string_view body = std::string_view(text).substr(text.starts_with(kByteOrderMark) ? 3 : 0);
    if (!body.empty() && !body.ends_with(m_lineEnd + m_lineEnd)) text += m_lineEnd;
    return text + '[' + std::string(section) + ']' + m_lineEnd + line;
}
