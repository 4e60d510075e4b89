#pragma once

#include <gtest/gtest.h>

#include <memory>

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
    // The main window on the folder's files and the settings, shown; it lives until the test ends.
    TMainForm& Open() {
        m_form = std::make_unique<TMainForm>(folder.Folder(), NoiseSheets(), settings);
        Show(*m_form);
        return *m_form;
    }

    testlevels::TempFolder folder;
    MemorySettings settings;
    ModalAnswerer answerer;

private:
    std::unique_ptr<TMainForm> m_form;
};
