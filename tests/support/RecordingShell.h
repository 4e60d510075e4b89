#pragma once

#include <deque>
#include <string>
#include <vector>

#include "game/Shell.h"

// A shell that writes down what the game asked of it, in order, and answers
// dialogs from a script (OK when the script has run out).
class RecordingShell : public Shell {
public:
    void DrawBackground() override { log.push_back("background"); }
    void DrawCell(int, int) override { ++cellsDrawn; }
    void DrawTurnFrame(int c, int r, int frame) override {
        log.push_back("turn " + Cell(c, r) + " " + std::to_string(frame));
    }
    void DrawWaterTile(int c, int r, int tile) override {
        log.push_back("water " + Cell(c, r) + " " + std::to_string(tile));
    }
    void Delay(int ms) override { log.push_back("delay " + std::to_string(ms)); }
    void PlaySound(Sound sound) override {
        log.push_back("sound " + std::to_string(static_cast<int>(sound)));
    }
    void SetTimerEnabled(bool on) override {
        timerOn = on;
        log.push_back(on ? "timer on" : "timer off");
    }
    int ShowMessage(int page) override {
        log.push_back("message " + std::to_string(page));
        if (answers.empty()) return mrOk;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void PlayStateChanged() override { log.push_back("state"); }
    void ApplyTexts() override { log.push_back("texts"); }
    void PaintTime() override { log.push_back("time"); }
    void PaintLevel() override { log.push_back("level"); }
    void UpdateStatus() override { log.push_back("status"); }
    void SetScrollMaximum(int maximum) override { log.push_back("scroll max " + std::to_string(maximum)); }
    void SetScrollPosition(int position) override { log.push_back("scroll " + std::to_string(position)); }
    void PlaceWindow(int left, int top) override {
        log.push_back("place " + std::to_string(left) + "," + std::to_string(top));
    }
    void SetSoundOn(bool on) override {
        soundOn = on;
        log.push_back(on ? "sound button down" : "sound button up");
    }
    bool SoundOn() const override { return soundOn; }
    void OpenHelp(const std::string& file, const std::string& topic) override {
        log.push_back("help " + file + "#" + topic);
    }
    void CloseHelp() override { log.push_back("help closed"); }
    void ShowAbout() override { log.push_back("about"); }
    bool OpenUrl(const std::string& url) override {
        log.push_back("url " + url);
        return urlOpens;
    }
    void ShowSplash() override { log.push_back("splash"); }
    std::optional<int> AskLanguage() override {
        log.push_back("language dialog");
        return language;
    }
    std::optional<std::string> AskSaveFileName(const std::string& folder, const std::string& name) override {
        log.push_back("save dialog " + folder + "|" + name);
        return NextFileName();
    }
    std::optional<std::string> AskOpenFileName(const std::string& folder) override {
        log.push_back("open dialog " + folder);
        return NextFileName();
    }
    bool AskYesNo(const std::string& text) override {
        log.push_back("question " + text);
        const bool yes = !yesNo.empty() && yesNo.front();
        if (!yesNo.empty()) yesNo.pop_front();
        return yes;
    }

    // The entries of the log that start with prefix.
    std::vector<std::string> Only(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const auto& entry : log)
            if (entry.rfind(prefix, 0) == 0) found.push_back(entry);
        return found;
    }
    void Clear() {
        log.clear();
        cellsDrawn = 0;
    }

    // Answers of the file dialogs in turn; an empty string cancels.
    std::deque<std::string> fileNames;
    std::deque<bool> yesNo;
    bool soundOn = true;
    bool urlOpens = true;
    std::optional<int> language;  // the language dialog's answer

    std::vector<std::string> log;
    std::vector<std::string> errors;
    std::deque<int> answers;
    int cellsDrawn = 0;
    bool timerOn = false;

private:
    std::optional<std::string> NextFileName() {
        if (fileNames.empty()) return std::nullopt;
        std::string name = fileNames.front();
        fileNames.pop_front();
        if (name.empty()) return std::nullopt;
        return name;
    }
    static std::string Cell(int c, int r) { return std::to_string(c) + "," + std::to_string(r); }
};
