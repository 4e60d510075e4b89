#pragma once

#include <gtest/gtest.h>

#include "store/MemorySettings.h"
#include "tests/support/Levels.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/NoiseSheets.h"
#include "tests/support/WindowPoint.h"
#include "windows/MainForm.h"

// The main window's tests: a folder of their own for the program's files,
// settings in memory, and a player who answers every modal window.
class WindowFixture : public ::testing::Test {
protected:
    // Shows the window and waits until the splash and the language are behind it.
    void Show(TMainForm& form) { answerer.ShowAndSettle(form); }

    testlevels::TempFolder folder;
    MemorySettings settings;
    ModalAnswerer answerer;
};
