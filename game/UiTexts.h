#pragma once

#include <span>

#include "core/Language.h"

// The main window's hints and captions by language.
struct UiText {
    const char* control;  // object name of the control
    bool caption;         // true: the visible text; false: the hint
    Text text;
};

std::span<const UiText> MainFormTexts();
