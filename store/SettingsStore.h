#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Language.h"

// Every value the game keeps between runs, declared once: its name, its kind
// (by the type), and what a read gives when the value is absent or does not
// parse.
struct IntSetting {
    const char* name;
    std::int32_t fallback;
};
struct BoolSetting {
    const char* name;
    bool fallback;
};
struct TextSetting {
    const char* name;
    const char* fallback;
};

namespace settings {

inline constexpr const char* kSection = "common";

inline constexpr IntSetting tongue{"tongue", LanguageUnchosen};  // UiLanguage; asked for at first activation
inline constexpr IntSetting level{"level", 1};                   // CurrentLevel
inline constexpr TextSetting save{"save", ""};                   // SavePath
inline constexpr BoolSetting sound{"sound", true};
inline constexpr IntSetting left{"left", 100};  // read before the first show, never written
inline constexpr IntSetting top{"top", 50};
inline constexpr TextSetting MainForm{"MainForm",
                                      ""};  // the placement text; empty or absent centres the window

}  // namespace settings

// The text without the blanks (spaces and tabs) at its ends, as a stored
// value's text is read. Inline: the settings reader runs it on every line.
inline std::string_view TrimBlanks(std::string_view text) {
    std::size_t first = 0;
    std::size_t end = text.size();
    while (first < end && (text[first] == ' ' || text[first] == '\t')) ++first;
    while (end > first && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.substr(first, end - first);
}

// The text of an integer value: optional blanks, an optional sign, decimal
// digits, optional blanks, within 32 bits. Anything else is no integer.
std::optional<std::int32_t> ParseSettingInt(std::string_view text);

// The settings component: six operations, each complete in itself (open,
// handle one value, flush), all values kept as text. A read gives its default
// when the value cannot be had; a write gives the message to show when it
// failed, nothing when it worked.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    bool ReadBool(const std::string& section, const std::string& name, bool fallback);
    std::int32_t ReadInt(const std::string& section, const std::string& name, std::int32_t fallback);
    std::string ReadText(const std::string& section, const std::string& name, const std::string& fallback);
    [[nodiscard]] std::optional<std::string> WriteBool(const std::string& section, const std::string& name,
                                                       bool value);
    [[nodiscard]] std::optional<std::string> WriteInt(const std::string& section, const std::string& name,
                                                      std::int32_t value);
    [[nodiscard]] std::optional<std::string> WriteText(const std::string& section, const std::string& name,
                                                       const std::string& value);

    // The declared values, in their section.
    bool Read(const BoolSetting& s) { return ReadBool(settings::kSection, s.name, s.fallback); }
    std::int32_t Read(const IntSetting& s) { return ReadInt(settings::kSection, s.name, s.fallback); }
    std::string Read(const TextSetting& s) { return ReadText(settings::kSection, s.name, s.fallback); }
    [[nodiscard]] std::optional<std::string> Write(const BoolSetting& s, bool value) {
        return WriteBool(settings::kSection, s.name, value);
    }
    [[nodiscard]] std::optional<std::string> Write(const IntSetting& s, std::int32_t value) {
        return WriteInt(settings::kSection, s.name, value);
    }
    [[nodiscard]] std::optional<std::string> Write(const TextSetting& s, const std::string& value) {
        return WriteText(settings::kSection, s.name, value);
    }

protected:
    // The stored text; nothing when the store, the section or the value is absent.
    virtual std::optional<std::string> ReadValue(const std::string& section, const std::string& name) = 0;
    // Stores the text, creating the section as needed; the message when that failed.
    virtual std::optional<std::string> WriteValue(const std::string& section, const std::string& name,
                                                  const std::string& text) = 0;

private:
    std::optional<std::string> StoredText(const std::string& section, const std::string& name);
};
