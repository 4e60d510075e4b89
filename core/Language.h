#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The interface languages, by the values the "tongue" setting stores. Any
// other value is shown as English.
enum Language { LanguageUnchosen = -1, LanguageEnglish = 0, LanguageGerman = 1, LanguageFrench = 2 };

// One text in the languages it is written in. A German/English pair shows
// English for every language but German; a text that has French too shows it
// for French, and has nothing (nullptr) where its French is left unset.
struct Text {
    constexpr Text(const char* inGerman, const char* inEnglish) : Text(inGerman, inEnglish, inEnglish) {}
    constexpr Text(const char* inGerman, const char* inEnglish, const char* inFrench)
        : german(inGerman), english(inEnglish), french(inFrench) {}

    constexpr const char* Pick(int language) const {
        if (language == LanguageGerman) return german;
        if (language == LanguageFrench) return french;
        return english;
    }

    const char* german;
    const char* english;
    const char* french;
};

// The text with %1 to %9 replaced by the arguments of that place; what an
// argument holds is taken as it is, a '%' in it included.
std::string Fill(std::string_view text, std::initializer_list<std::string_view> arguments);
