#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/Board.h"
#include "core/Language.h"
#include "core/LevelFile.h"
#include "game/Shell.h"
#include "store/ProgressTable.h"
#include "store/SettingsStore.h"

enum class PlayState : std::uint8_t { Running = 0, Solved = 1, TimeUp = 2, Paused = 3 };

enum class MouseButton { Left, Right, Middle };

// What one press on the board came to.
enum class MoveResult { Ignored, Refused, Moved, Solved };

inline constexpr const char* kLevelFileName = "aqnd.dat";
inline constexpr const char* kHelpFileName = "aqnd2.html";

// All game state and every rule of play. It reaches the screen, the sounds,
// the timer and the dialogs only through its Shell.
class Game {
public:
    Game(Shell& shell, SettingsStore& settings) : m_shell(shell), m_settings(settings) {}

    // The main window's creation: the stored settings, the results file, the
    // level file from programFolder (which ends with a path separator), and
    // the stored level started.
    void FormCreate(const std::string& programFolder);
    // Play-testing: the levels come from this file instead of the program
    // folder's, the game starts at level 1 with no results, and nothing is
    // written to the player's settings (the close still offers to save the
    // results). Set before FormCreate; empty for a normal game.
    void PlayTest(const std::string& levelFile) { m_playTestFile = levelFile; }
    bool PlayTesting() const { return !m_playTestFile.empty(); }

    // Reads the level file, or falls back to the built-in empty level after
    // telling the player why.
    void LoadLevelFile();
    void LoadLevelFileAt(const std::string& path);
    // Plays these levels instead; there must be at least one.
    void UseLevels(LevelCatalogue catalogue);

    void StartLevel(int n);
    // The window system asked for the board: background, every cell, displays.
    void boxPaint();
    MoveResult boxMouseDown(MouseButton button, int x, int y);
    void boxClick();
    void Pause();
    void TimerTimer();
    void SetPlayState(PlayState state);

    // The first activation of the main window: splash, the language dialog
    // while no language is chosen, the texts, and results a run that ended
    // without the close kept for this start. Later activations do nothing.
    void FormActivate();
    void ApplyLanguage();
    void TongueBtnClick();
    void rules();
    void info();
    void MoxelBtnClick();

    // Level navigation. The scroll position of level n is LevelCount - n + 1.
    void sUpBtnClick();
    void sDownBtnClick();
    void LevelScrollScroll(int position);
    void NewGameBtnClick();
    void RestartBtnClick();

    // The close request: asks "endgame"; true lets the window close.
    bool FormCloseQuery();
    // The close, once allowed: the save flow, then the settings.
    void FormClose();
    // The window is going after the close: its placement text is stored. A
    // failure is shown unless the close has shown one.
    void FormDestroy(const std::string& placementText);

    // The desktop ends the run (a signal, the end of the session): from now
    // on a question still open counts as unanswered, and a close under way is
    // no longer the player's.
    void SessionEnds() { m_sessionEnding = true; }
    bool SessionEnding() const { return m_sessionEnding; }
    // Where results are kept for the next start (game/KeptResults.h); empty,
    // as it starts, keeps none and offers none.
    void SetKeptResultsPath(std::string path) { m_keptPath = std::move(path); }
    // The run ends, or may be ended at any moment, without the player's close:
    // the settings as the close writes them, the placement, and the results
    // in play kept for the next start while they differ from the results
    // file. Asks nothing and shows nothing: returns what failed. Does nothing
    // once the player's own close has run.
    std::vector<std::string> KeepUnattended(const std::string& placementText);

    // Saved games: the results table to and from a file of the player's choice.
    void SaveBtnClick();
    void LoadBtnClick();
    void SaveGame();
    void LoadGame();

    // Texts of the status: the window caption, the level display's and the
    // solved gauge's hints, in the current language.
    std::string Caption() const;
    std::string LevelHint() const;
    std::string GaugeHint() const;
    int SolvedCount() const { return m_Progress.CountSolved(LevelCount()); }
    bool CurrentLevelSolved() const { return m_Progress[m_CurrentLevel] > 0; }

    const Board& board() const { return m_board; }
    const LevelCatalogue& Catalogue() const { return m_catalogue; }
    int LevelCount() const { return m_catalogue.LevelCount(); }
    int CurrentLevel() const { return m_CurrentLevel; }
    PlayState State() const { return m_PlayState; }
    int TimeLeft() const { return m_TimeLeft; }
    int UiLanguage() const { return m_UiLanguage; }
    bool AllSolved() const { return m_AllSolved; }
    const ProgressTable& Progress() const { return m_Progress; }
    const std::string& ProgramFolder() const { return m_ProgramFolder; }
    const std::string& SavePath() const { return m_SavePath; }

    void SetUiLanguage(int language) { m_UiLanguage = language; }

private:
    // Shows the message dialog. While it is open the timer may still tick, but
    // a time-out waits until it is closed: the dialog is never asked for a
    // second page while it shows one.
    int Ask(int page);
    // The nearest level with result 0 in the direction step (+1 or -1),
    // wrapping around and never the level on the board; 0 when there is none.
    int NextUnsolved(int step) const;
    void GoToUnsolved(int step);
    void LevelSolved();
    // The settings of the close, in its order, up to the first that fails.
    std::optional<std::string> WriteSettings();
    // Results kept by an earlier run: asked for once, then gone.
    void OfferKeptResults();
    void DropKeptResults();
    void AnimateTurn(int c, int r, int oldOrientation, bool counterClockwise);
    void AnimateWater();

    Shell& m_shell;
    SettingsStore& m_settings;
    LevelCatalogue m_catalogue;
    Board m_board;
    ProgressTable m_Progress;
    std::string m_ProgramFolder;
    std::string m_SavePath;
    int m_CurrentLevel = 1;
    int m_TimeLeft = 0;
    int m_UiLanguage = LanguageUnchosen;
    PlayState m_PlayState = PlayState::Running;
    bool m_AllSolved = false;
    bool m_messageOpen = false;
    bool m_FirstActivation = true;
    bool m_makerLinkWorks = true;
    bool m_playingFallback = false;  // the level file gave no level
    std::string m_playTestFile;
    bool m_settingsRefused = false;  // the close could not write the settings
    bool m_sessionEnding = false;
    bool m_closedByPlayer = false;
    std::string m_keptPath;
    bool m_keptThisRun = false;  // this run wrote the kept results
};
