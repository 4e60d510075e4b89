#pragma once

#include <optional>
#include <string>

// Everything the game asks of the screen, the speakers and the clock. The main
// window implements it; tests and tools use a scripted or silent one.
enum class Sound { Flow = 1, Solved = 2, Refuse = 3, TimeUp = 4 };

// Pages of the message dialog and its answers.
enum MessagePage {
    PageWon = 1,
    PageRestart,
    PageEndgame,
    PageGiveup,
    PageTooSlow,
    PageAllSolved,
    PageGameOver,
    PageNextLevel,
    PageLost
};
inline constexpr int kMessagePages = PageLost;
enum ModalResult { mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

class Shell {
public:
    virtual ~Shell() = default;

    // Board drawing; the shell reads the board state from the game.
    virtual void DrawBackground() = 0;  // the background, then the solved gauge over it
    virtual void DrawCell(int c, int r) = 0;
    virtual void DrawTurnFrame(int c, int r, int frame) = 0;
    virtual void DrawWaterTile(int c, int r, int tile) = 0;  // mask AND, then tile OR
    // Blocks for more than ms milliseconds without handling input; what was
    // drawn before it is on the screen.
    virtual void Delay(int ms) = 0;

    virtual void PlaySound(Sound sound) = 0;
    virtual void SetTimerEnabled(bool on) = 0;

    // Shows the message dialog modally on a page; returns its modal result.
    virtual int ShowMessage(int page) = 0;
    virtual void ShowError(const std::string& text) = 0;

    // The play state changed: the pause button and the pause text follow it.
    virtual void PlayStateChanged() = 0;
    // Puts the window's hints and captions into the current language.
    virtual void ApplyTexts() = 0;
    virtual void PaintTime() = 0;     // the time display
    virtual void PaintLevel() = 0;    // the level display
    virtual void UpdateStatus() = 0;  // caption, level display, solved gauge
    // The level scroll bar; setting it raises no scroll notification.
    virtual void SetScrollMaximum(int maximum) = 0;
    virtual void SetScrollPosition(int position) = 0;

    // Where the window stands before it is first shown.
    virtual void PlaceWindow(int left, int top) = 0;
    // The sound button: down means sound on.
    virtual void SetSoundOn(bool on) = 0;
    virtual bool SoundOn() const = 0;
    // The help file at a topic, in a window beside the game; returns at once.
    virtual void OpenHelp(const std::string& file, const std::string& topic) = 0;
    // Tells the help viewer to quit.
    virtual void CloseHelp() = 0;
    virtual void ShowAbout() = 0;
    // Hands the address to the desktop; false when that failed.
    virtual bool OpenUrl(const std::string& url) = 0;
    // The splash picture, until a click or its timer's next tick.
    virtual void ShowSplash() = 0;
    // The language dialog: 0 English, 1 German, nothing when it was closed.
    virtual std::optional<int> AskLanguage() = 0;

    // The save dialog, preset with folder and file name unless they are
    // empty; the chosen path, nothing when cancelled.
    virtual std::optional<std::string> AskSaveFileName(const std::string& folder,
                                                       const std::string& name) = 0;
    // The open dialog, starting in folder (the usual one when empty).
    virtual std::optional<std::string> AskOpenFileName(const std::string& folder) = 0;
    // A warning with the buttons Yes and No; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
};
