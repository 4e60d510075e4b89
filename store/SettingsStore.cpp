#include "store/SettingsStore.h"

#include <algorithm>
#include <charconv>

std::optional<std::int32_t> ParseSettingInt(std::string_view text) {
    text = TrimBlanks(text);
    // from_chars takes a minus but no plus.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

bool SettingsStore::ReadBool(const std::string& section, const std::string& name, bool fallback) {
    return ReadInt(section, name, fallback ? 1 : 0) != 0;
}

std::optional<std::string> SettingsStore::StoredText(const std::string& section, const std::string& name) {
    std::optional<std::string> text = ReadValue(section, name);
    // A text ends at its first zero byte, as a registry string does.
    if (text) text->erase(std::min(text->find('\0'), text->size()));
    return text;
}

std::int32_t SettingsStore::ReadInt(const std::string& section, const std::string& name,
                                    std::int32_t fallback) {
    const std::optional<std::string> text = StoredText(section, name);
    if (!text) return fallback;
    return ParseSettingInt(*text).value_or(fallback);
}

std::string SettingsStore::ReadText(const std::string& section, const std::string& name,
                                    const std::string& fallback) {
    return StoredText(section, name).value_or(fallback);
}

std::optional<std::string> SettingsStore::WriteBool(const std::string& section, const std::string& name,
                                                    bool value) {
    return WriteValue(section, name, value ? "1" : "0");
}

std::optional<std::string> SettingsStore::WriteInt(const std::string& section, const std::string& name,
                                                   std::int32_t value) {
    return WriteValue(section, name, std::to_string(value));
}

std::optional<std::string> SettingsStore::WriteText(const std::string& section, const std::string& name,
                                                    const std::string& value) {
    return WriteValue(section, name, value);
}
