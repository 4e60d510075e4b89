#include "store/IniText.h"

#include <cstdint>

namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<std::uint8_t>(bytes[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        std::uint32_t least = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (bytes.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
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

