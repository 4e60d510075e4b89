#pragma once

// The main window's hints and captions by language: German for 1, English
// otherwise.
struct UiText {
    const char* control;  // object name of the control
    bool caption;         // true: the visible text; false: the hint
    const char* german;
    const char* english;
};

// Every row of the table, ending with a row whose control is nullptr.
const UiText* MainFormTexts();

inline const char* Pick(const UiText& text, int uiLanguage) { return uiLanguage == 1 ? text.german : text.english; }
