#include "game/MainForm.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QMessageBox>
#include <chrono>
#include <thread>

#include "game/MessageTexts.h"
#include "view/BoardBox.h"

std::string ProgramFolderOfExecutable() {
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    const QString canonical = exe.canonicalFilePath();
    return (QFileInfo(canonical.isEmpty() ? exe.filePath() : canonical).absolutePath() + '/').toStdString();
}

TMainForm::TMainForm(const std::string& programFolder, QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Aquendo 2.3"));
    setFixedSize(BoardSurface::kWidth, kToolBarHeight + BoardSurface::kHeight);

    m_ToolPanel = new QFrame(this);
    m_ToolPanel->setObjectName("ToolPanel");
    m_ToolPanel->setGeometry(0, 0, BoardSurface::kWidth, kToolBarHeight);
    m_ToolPanel->setFrameShape(QFrame::Panel);
    m_ToolPanel->setFrameShadow(QFrame::Raised);
    m_ToolPanel->setAutoFillBackground(true);

    m_box = new BoardBox(m_surface, this);
    m_box->setObjectName("box");
    m_box->move(0, kToolBarHeight);
    connect(m_box, &BoardBox::pressed, this, &TMainForm::boxMouseDown);
    connect(m_box, &BoardBox::clicked, this, [this] { m_game.boxClick(); });

    m_Timer.setInterval(1000);
    connect(&m_Timer, &QTimer::timeout, this, [this] { m_game.TimerTimer(); });

    m_game.FormCreate(programFolder);
}

void TMainForm::boxMouseDown(Qt::MouseButton button, QPoint position) {
    const MouseButton which = button == Qt::LeftButton    ? MouseButton::Left
                              : button == Qt::RightButton ? MouseButton::Right
                                                          : MouseButton::Middle;
    m_game.boxMouseDown(which, position.x(), position.y());
}

void TMainForm::DrawBackground() {
    m_surface.DrawBackground();
    m_box->update();
}

void TMainForm::DrawCell(int c, int r) {
    m_surface.DrawCell(m_game.board(), c, r);
    m_box->update(QRect(BoardSurface::CellCorner(c, r), QSize(kCellSize, kCellSize)));
}

void TMainForm::DrawTurnFrame(int c, int r, int frame) {
    m_surface.DrawTurnFrame(m_game.board(), c, r, frame);
    m_box->update(QRect(BoardSurface::CellCorner(c, r), QSize(kCellSize, kCellSize)));
}

void TMainForm::DrawWaterTile(int c, int r, int tile) {
    m_surface.DrawWaterTile(c, r, tile);
    m_box->update(QRect(BoardSurface::CellCorner(c, r), QSize(kCellSize, kCellSize)));
}

// The frame drawn so far goes to the screen now; input waits in the queue.
void TMainForm::Delay(int ms) {
    if (isVisible()) m_box->repaint();
    std::this_thread::sleep_for(std::chrono::milliseconds(ms) + std::chrono::microseconds(100));
}

void TMainForm::PlaySound(Sound) {}

void TMainForm::SetTimerEnabled(bool on) {
    if (on && !m_Timer.isActive()) m_Timer.start();
    if (!on) m_Timer.stop();
}

int TMainForm::ShowMessage(int page) {
    const PageTexts texts = MessageTexts(page, m_game.UiLanguage());
    const QString label = QString::fromUtf8(texts.label ? texts.label : "");
    if (texts.confirm) {
        const auto answer = QMessageBox::question(this, "Aquendo", label);
        return answer == QMessageBox::Yes ? mrYes : mrNo;
    }
    QMessageBox::information(this, "Aquendo", label);
    return mrOk;
}

void TMainForm::ShowError(const std::string& text) {
    QMessageBox::critical(isVisible() ? this : nullptr, "Aquendo", QString::fromStdString(text));
}

void TMainForm::PlayStateChanged() {}
void TMainForm::PaintTime() {}
void TMainForm::PaintLevel() {}
void TMainForm::UpdateStatus() {}
