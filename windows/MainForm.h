#pragma once

#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "game/Game.h"
#include "game/Shell.h"
#include "view/BoardSurface.h"
#include "view/SoundPlayer.h"
#include "view/SpriteSheets.h"
#include "windows/FileNames.h"

class BoardBox;
class DisplayBox;
class QFileDialog;
class QLabel;
class TFlatScrollBar;
class QToolButton;
class TGauge;
class THelpWindow;
class TSplash;
class TTongueDlg;
class TYesNoDlg;

// The main window: forwards its events to the game and does what the game asks.
class TMainForm : public QWidget, public Shell {
    Q_OBJECT
public:
    static constexpr int kToolBarHeight = 33;

    // Reads the level file from programFolder, which ends with a '/', or
    // play-tests playTestFile when it is not empty (Game::PlayTest); the
    // settings must outlive the window. Without waves the game is silent.
    // With empty sheets the window may be shown before its pictures are
    // unpacked; MediaArrived brings them before the first paint.
    TMainForm(const std::string& programFolder, SpriteSheets sheets, SettingsStore& settings,
              const WaveImages& waves = {}, QWidget* parent = nullptr, const std::string& playTestFile = {});
    ~TMainForm() override;

    // The folder of the sound module, when it is not the program folder (an
    // installed game keeps its machine code apart from its level file).
    void SetSoundModuleFolder(std::string folder) { m_soundModuleFolder = std::move(folder); }

    Game& game() { return m_game; }
    const BoardSurface& surface() const { return m_surface; }
    // Sheets at 2x and 3x for dense screens: the board and the displays are
    // then drawn from them there.
    void UseLargerSheets(LargerSheets larger);
    // The pictures and sounds for a window made with empty sheets, before
    // the event loop paints it.
    void MediaArrived(SpriteSheets sheets, const WaveImages& waves);
    // The two dialogs are built at their first use: building them took a
    // tenth of the start-up time, and most sessions never open the language one.
    TYesNoDlg* YesNoDlg();
    TTongueDlg* TongueDlg();
    TSplash* Splash() const { return m_Splash; }
    THelpWindow* HelpWindow() const { return m_help.get(); }
    bool TimerActive() const { return m_counting; }
    // How soon the clock wakes the game next; nothing while it is stopped.
    std::optional<std::chrono::milliseconds> NextWakeUp() const;
    const SoundPlayer& Player() const { return m_waves; }

    void setVisible(bool visible) override;

    // The run ends without the player's close: keeps, without asking, what
    // the close would have kept; what failed.
    std::vector<std::string> KeepUnattended();

    // Shell
    void DrawBackground() override;
    void DrawCell(int c, int r) override;
    void DrawTurnFrame(int c, int r, int frame) override;
    void DrawWaterTile(int c, int r, int tile) override;
    void Delay(int ms) override;
    void PlaySound(Sound sound) override;
    void SetTimerEnabled(bool on) override;
    int ShowMessage(int page) override;
    void ShowError(const std::string& text) override;
    void PlayStateChanged() override;
    void ApplyTexts() override;
    void PaintTime() override;
    void PaintLevel() override;
    void UpdateStatus() override;
    void SetScrollMaximum(int maximum) override;
    void SetScrollPosition(int position) override;
    void PlaceWindow(int left, int top) override;
    void SetSoundOn(bool on) override;
    bool SoundOn() const override;
    void OpenHelp(const std::string& file, const std::string& topic) override;
    void CloseHelp() override;
    void ShowAbout() override;
    bool OpenUrl(const std::string& url) override;
    void ShowSplash() override;
    std::optional<int> AskLanguage() override;
    std::optional<std::string> AskSaveFileName(const std::string& folder, const std::string& name) override;
    std::optional<std::string> AskOpenFileName(const std::string& folder) override;
    bool AskYesNo(const std::string& text) override;

    // The file dialogs, kept for the whole run so each shows its last choice.
    QFileDialog* SaveDlg();
    QFileDialog* OpenDlg();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The displays and the board again, after their pictures changed.
    void RepaintPictures();
    void CreateControls();
    void UpdateCell(int c, int r);
    void boxMouseDown(Qt::MouseButton button, QPoint position, quint64 timestamp);
    // The game's clock: every tick that came due up to `until`, in order.
    void CountTicksDueBy(std::chrono::steady_clock::time_point until);
    // When a press of the window system's time `timestamp` was made, on our clock.
    std::chrono::steady_clock::time_point MadeAt(quint64 timestamp);
    QRect RestorePlacement();  // the window's outer rectangle where it goes
    std::string PlacementText() const;

    SpriteSheets m_sheets;
    BoardSurface m_surface{m_sheets};
    LargerSheets m_larger;
    SettingsStore& m_settings;
    std::string m_soundModuleFolder;
    SoundPlayer m_waves;
    Game m_game{*this, m_settings};
    QTimer m_Timer;         // wakes the clock when its next tick comes due
    QTimer m_tickWaits;     // a tick held back while presses are handled
    int m_presses = 0;      // presses on the board so far
    int m_pressesSeen = 0;  // ... when the held tick last looked
    bool m_counting = false;
    bool m_inTicks = false;
    std::chrono::steady_clock::time_point m_nextDue;
    std::optional<qint64> m_inputOffset;  // our clock's ms less the window system's, at most

    QToolButton* m_PauseBtn = nullptr;
    QToolButton* m_SoundBtn = nullptr;
    DisplayBox* m_levelbox = nullptr;
    DisplayBox* m_timbox = nullptr;
    BoardBox* m_box = nullptr;
    TGauge* m_gsol = nullptr;
    TFlatScrollBar* m_LevelScroll = nullptr;
    QLabel* m_PauseText = nullptr;
    TSplash* m_Splash = nullptr;
    TYesNoDlg* m_YesNoDlg = nullptr;
    TTongueDlg* m_TongueDlg = nullptr;
    std::unique_ptr<THelpWindow> m_help;
    QFileDialog* m_SaveDlg = nullptr;
    QFileDialog* m_OpenDlg = nullptr;
    QRegion m_changed;  // cells drawn since the last wait
    bool m_closing = false;
    bool m_shown = false;
};
