#include <gtest/gtest.h>

#include <string>

#include "core/Language.h"

namespace {

TEST(Language, PickFallsBackToEnglishAndFrenchOnlyWhereWritten) {
    constexpr Text pair{"de", "en"};
    constexpr Text three{"de", "en", "fr"};
    constexpr Text unset{"de", "en", nullptr};
    struct Case {
        int language;
        const char* pair;
        const char* three;
        const char* unset;
    };
    for (const Case& c : {Case{LanguageUnchosen, "en", "en", "en"}, Case{LanguageEnglish, "en", "en", "en"},
                          Case{LanguageGerman, "de", "de", "de"}, Case{LanguageFrench, "en", "fr", nullptr},
                          Case{7, "en", "en", "en"}, Case{-2, "en", "en", "en"}}) {
        EXPECT_STREQ(pair.Pick(c.language), c.pair) << c.language;
        EXPECT_STREQ(three.Pick(c.language), c.three) << c.language;
        EXPECT_STREQ(unset.Pick(c.language), c.unset) << c.language;
    }
}

TEST(Language, FillPutsEachArgumentInItsPlaceOnce) {
    struct Case {
        const char* text;
        std::string expected;
    };
    for (const Case& c : {
             Case{"Datei %1 (%2)", "Datei /a%2b/%1 (-5)"},  // an argument is not read again
             Case{"%2 von %1", "-5 von /a%2b/%1"},
             Case{"100% %3 %", "100% %3 %"},  // no such argument: the text stays
             Case{"%1%1", "/a%2b/%1/a%2b/%1"},
             Case{"", ""},
         }) {
        EXPECT_EQ(Fill(c.text, {"/a%2b/%1", "-5"}), c.expected) << c.text;
    }
}

}  // namespace
