#pragma once

#include <string>

// The message dialog's texts. German for language 1, French for 2 (where the
// dialog has it), English otherwise. Page is 1..kMessagePages.
struct PageTexts {
    const char* label;    // nullptr: the label keeps its previous text
    const char* confirm;  // Yes button of the two-button pages, else nullptr
    const char* refuse;   // No button of the two-button pages, else nullptr
};

PageTexts MessageTexts(int page, int uiLanguage);

// The page names the dialog selects its pages by.
const char* PageName(int page);
