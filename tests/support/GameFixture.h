#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/Game.h"
#include "store/MemorySettings.h"
#include "tests/support/CellPoints.h"
#include "tests/support/Levels.h"
#include "tests/support/RecordingShell.h"

// The game in a fresh folder of its own, with settings in memory and a shell
// that writes down what the game asks of it.
template <typename ShellType = RecordingShell>
class GameFixture : public ::testing::Test {
protected:
    using Log = std::vector<std::string>;

    // The levels as the level file, the program started on them, the log cleared.
    void Load(const std::vector<LevelRecord>& levels) {
        folder.WriteLevels(levels);
        Create();
    }
    void Create() {
        game.FormCreate(folder.Folder());
        shell.Clear();
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) game.TimerTimer();
    }
    // A press in the middle of cell (c, r).
    MoveResult Press(MouseButton button, int c, int r) {
        return game.boxMouseDown(button, cellpoints::BoardX(c), cellpoints::BoardY(r));
    }
    // Solves a level that is a joined row.
    void Solve(int level) {
        game.StartLevel(level);
        Press(MouseButton::Middle, 4, 4);
    }
    std::string Path(const std::string& name) const { return (folder.path() / name).string(); }

    testlevels::TempFolder folder;
    ShellType shell;
    MemorySettings settings;
    Game game{shell, settings};
};
