#include <gtest/gtest.h>

#include <string>

#include "core/Language.h"

namespace {

TEST(Language, PickFallsBackToEnglishAndFrenchOnlyWhereWritten) {
    constexpr Text pair{"de", "en"}, three{"de", "en", "fr"}, unset{"de", "en", nullptr};
    struct Case {
        int language;
        const char *pair, *three, *unset;
    };
    for (const Case& c : {Case{LanguageUnchosen, "en", "en", "en"}, Case{LanguageEnglish, "en", "en", "en"},
                          Case{LanguageGerman, "de", "de", "de"}, Case{LanguageFrench, "en", "fr", nullptr},
                          Case{7, "en", "en", "en"}}) {
        EXPECT_STREQ(pair.Pick(c.language), c.pair) << c.language;
        EXPECT_STREQ(three.Pick(c.language), c.three) << c.language;
        EXPECT_STREQ(unset.Pick(c.language), c.unset) << c.language;
    }
}

TEST(Language, FillPutsEachArgumentInItsPlaceAndReadsItNoFurther) {
    for (const auto& [text, filled] : std::initializer_list<std::pair<const char*, std::string>>{
             {"Datei %1 (%2)", "Datei /a%2b/%1 (-5)"},
             {"%2 von %1%1", "-5 von /a%2b/%1/a%2b/%1"},
             {"100% %3 %", "100% %3 %"},  // no such argument: the text stays
         }) {
        EXPECT_EQ(Fill(text, {"/a%2b/%1", "-5"}), filled) << text;
    }
}

}  // namespace
