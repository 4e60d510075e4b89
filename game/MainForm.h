#pragma once

#include <QTimer>
#include <QWidget>

#include "game/Game.h"
#include "game/Shell.h"
#include "view/BoardSurface.h"

class BoardBox;
class QFrame;

// The main window: forwards its events to the game and does what the game asks.
class TMainForm : public QWidget, public Shell {
    Q_OBJECT
public:
    static constexpr int kToolBarHeight = 33;

    // Reads the level file from programFolder, which ends with a '/'.
    explicit TMainForm(const std::string& programFolder, QWidget* parent = nullptr);

    Game& game() { return m_game; }
    const BoardSurface& surface() const { return m_surface; }

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
    void PaintTime() override;
    void PaintLevel() override;
    void UpdateStatus() override;

private:
    void boxMouseDown(Qt::MouseButton button, QPoint position);

    Game m_game{*this};
    BoardSurface m_surface;
    QFrame* m_ToolPanel = nullptr;
    BoardBox* m_box = nullptr;
    QTimer m_Timer;
};

// The folder of the running program, symlinks resolved, with a trailing '/'.
std::string ProgramFolderOfExecutable();
