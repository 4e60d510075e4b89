#pragma once

#include "game/Shell.h"

// A shell with no screen and no sound: the game runs its rules alone. Every
// message is answered OK, every file dialog cancelled.
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
    void ApplyTexts() override {}
    void PaintTime() override {}
    void PaintLevel() override {}
    void UpdateStatus() override {}
    void SetScrollMaximum(int) override {}
    void SetScrollPosition(int) override {}
    void PlaceWindow(int, int) override {}
    void SetSoundOn(bool) override {}
    bool SoundOn() const override { return false; }
    void OpenHelp(const std::string&, const std::string&) override {}
    void CloseHelp() override {}
    void ShowAbout() override {}
    bool OpenUrl(const std::string&) override { return false; }
    void ShowSplash() override {}
    std::optional<int> AskLanguage() override { return {}; }
    std::optional<std::string> AskSaveFileName(const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> AskOpenFileName(const std::string&) override { return {}; }
    bool AskYesNo(const std::string&) override { return false; }
};
