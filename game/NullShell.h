#pragma once

#include "game/Shell.h"

// A shell with no screen and no sound: the game runs its rules alone. Every
// dialog is answered OK.
class NullShell : public Shell {
public:
    void DrawBackground() override {}
    void DrawCell(int, int) override {}
    void DrawTurnFrame(int, int, int) override {}
    void DrawWaterTile(int, int, int) override {}
    void Delay(int) override {}
    void PlaySound(Sound) override {}
    void SetTimerEnabled(bool) override {}
    int ShowMessage(int) override { return mrOk; }
    void ShowError(const std::string&) override {}
    void PlayStateChanged() override {}
    void PaintTime() override {}
    void PaintLevel() override {}
    void UpdateStatus() override {}
    void SetScrollPosition(int) override {}
};
