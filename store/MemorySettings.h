#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "store/SettingsStore.h"
#include "store/StoreTexts.h"

// Settings held in memory, for tests and tools that must leave the player's
// settings alone. Writes can be made to fail the way the file store fails.
class MemorySettings : public SettingsStore {
public:
    enum class Fault { None, SectionNotCreated, ValueNotSet };

    // Stored text by section and name; set it directly to play a hand-edited file.
    std::map<std::pair<std::string, std::string>, std::string> values;
    // "name=text" for every write that worked, in order.
    std::vector<std::string> writes;
    Fault fault = Fault::None;

    void Set(const std::string& name, const std::string& text) { values[{settings::kSection, name}] = text; }

protected:
    std::optional<std::string> ReadValue(const std::string& section, const std::string& name) override {
        const auto found = values.find({section, name});
        if (found == values.end()) return std::nullopt;
        return found->second;
    }
    std::optional<std::string> WriteValue(const std::string& section, const std::string& name,
                                          const std::string& text) override {
        if (fault == Fault::SectionNotCreated) return SectionNotCreatedMessage(section);
        if (fault == Fault::ValueNotSet) return ValueNotSetMessage(name);
        values[{section, name}] = text;
        writes.push_back(name + "=" + text);
        return std::nullopt;
    }
};
