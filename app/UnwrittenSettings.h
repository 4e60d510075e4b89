#pragma once

#include "store/IniSettings.h"

// The player's settings, read as at every start, with every write dropped: an
// installation check leaves them as they were (an offscreen start would
// otherwise store the offscreen screen's window placement).
class UnwrittenSettings final : public IniSettings {
protected:
    std::optional<std::string> WriteValue(const std::string&, const std::string&,
                                          const std::string&) override {
        return std::nullopt;
    }
};
