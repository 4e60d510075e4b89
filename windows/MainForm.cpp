#include "windows/MainForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QToolButton>
#include <QUrl>
#include <QWindow>
#include <chrono>
#include <thread>

#include "game/Program.h"
#include "game/UiTexts.h"
#include "store/SavedGameName.h"
#include "store/WindowPlacement.h"
#include "view/BoardBox.h"
#include "view/DigitDisplay.h"
#include "view/DisplayBox.h"
#include "view/FlatScrollBar.h"
#include "view/Gauge.h"
#include "view/Glyphs.h"
#include "view/OpeningEffect.h"
#include "view/WindowFrame.h"
#include "windows/AboutBox.h"
#include "windows/HelpWindow.h"
#include "windows/MainFormLayout.h"
#include "windows/Placing.h"
#include "windows/Splash.h"
#include "windows/TongueDlg.h"
#include "windows/YesNoDlg.h"

namespace {

// The program's own file dialog: the same on every desktop, and one that asks
// nothing about an existing file (the save flow asks its own question).
QFileDialog* FileDialog(QWidget* parent, QFileDialog::AcceptMode mode) {
    auto* dialog = new QFileDialog(parent);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setAcceptMode(mode);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(QString::fromLatin1(kSavedGameFilter));
    dialog->setDefaultSuffix(QString::fromLatin1(kSavedGameExtension));
    return dialog;
}

}  // namespace

std::string ProgramFolderOfExecutable() {
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    const QString canonical = exe.canonicalFilePath();
    return (QFileInfo(canonical.isEmpty() ? exe.filePath() : canonical).absolutePath() + '/').toStdString();
}

TMainForm::TMainForm(const std::string& programFolder, SpriteSheets sheets, SettingsStore& settings,
                     const WaveImages& waves, QWidget* parent)
    : QWidget(parent),
      m_sheets(std::move(sheets)),
      m_settings(settings),
      m_waves(waves, [programFolder] { return LoadSoundModule(programFolder); }) {
    setObjectName("MainForm");
    setWindowTitle(QStringLiteral(AQUENDO_TITLE));
    setWindowIcon(WindowIcon());
    setFixedSize(BoardSurface::kWidth, kToolBarHeight + BoardSurface::kHeight);
    CreateControls();

    m_Timer.setInterval(1000);
    m_Timer.setTimerType(Qt::PreciseTimer);  // a game clock: whole seconds, not roughly
    // A tick is counted only once no press waits: presses queued behind a
    // move were made before the tick could be handled, and each one counts as
    // if handled when it was made (a tick that comes due meanwhile waits, and
    // at most one waits). Without this, a stream of presses faster than the
    // moves let the clock run out with presses made in time still queued.
    m_tickWaits.setSingleShot(true);
    m_tickWaits.setInterval(0);
    connect(&m_Timer, &QTimer::timeout, this, [this] {
        if (m_tickWaits.isActive()) return;
        m_pressesSeen = m_presses;
        m_tickWaits.start();
    });
    connect(&m_tickWaits, &QTimer::timeout, this, [this] {
        if (m_presses != m_pressesSeen) {
            m_pressesSeen = m_presses;
            m_tickWaits.start();
            return;
        }
        m_game.TimerTimer();
    });

    m_Splash = new TSplash(this);

    m_game.FormCreate(programFolder);
}

// A window closed by the player has stored its placement already, while a box
// about it still had a window to stand on.
TMainForm::~TMainForm() {
    if (!m_closing) m_game.FormDestroy(PlacementText());
}

// The controls come from the layout table; here they are wired to the game.
void TMainForm::CreateControls() {
    using layout::RowOf;
    const std::vector<QWidget*> made = layout::BuildMainForm(this, m_surface);
    const auto take = [&made]<typename T>(T*& member, std::size_t row) {
        member = static_cast<T*>(made[row]);
    };
    take(m_PauseBtn, RowOf("PauseBtn"));
    take(m_SoundBtn, RowOf("SoundBtn"));
    take(m_levelbox, RowOf("levelbox"));
    take(m_timbox, RowOf("timbox"));
    take(m_box, RowOf("box"));
    take(m_gsol, RowOf("gsol"));
    take(m_LevelScroll, RowOf("LevelScroll"));
    take(m_PauseText, RowOf("PauseText"));

    for (std::size_t i = 0; i < made.size(); ++i)
        if (const auto click = layout::kMainForm[i].click)
            connect(static_cast<QToolButton*>(made[i]), &QToolButton::clicked, this,
                    [this, click] { (m_game.*click)(); });
    connect(static_cast<QToolButton*>(made[RowOf("ExitBtn")]), &QToolButton::clicked, this, &QWidget::close);
    connect(m_SoundBtn, &QToolButton::toggled, this, [this](bool down) { m_waves.SetEnabled(down); });
    connect(m_box, &BoardBox::pressed, this, &TMainForm::boxMouseDown);
    connect(m_box, &BoardBox::clicked, this, [this] { m_game.boxClick(); });
    connect(m_LevelScroll, &TFlatScrollBar::Scroll, this,
            [this](int position) { m_game.LevelScrollScroll(position); });
    m_PauseText->installEventFilter(this);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_PauseText && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        m_game.boxClick();
    return QWidget::eventFilter(watched, event);
}

void TMainForm::boxMouseDown(Qt::MouseButton button, QPoint position) {
    const MouseButton which = button == Qt::LeftButton    ? MouseButton::Left
                              : button == Qt::RightButton ? MouseButton::Right
                                                          : MouseButton::Middle;
    ++m_presses;
    m_game.boxMouseDown(which, position.x(), position.y());
}

// The first show restores the placement and plays the opening effect before
// the window appears.
void TMainForm::setVisible(bool visible) {
    if (visible && !m_shown) {
        m_shown = true;
        // Wayland places every top-level window itself and lets no program
        // draw outside its own windows.
        if (CanPlaceWindows()) PlayOpeningEffect(RestorePlacement());
    }
    QWidget::setVisible(visible);
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_game.boxPaint();
    // Some window systems never activate a window on their own; the first
    // activation's work must come all the same.
    QTimer::singleShot(0, this, [this] { m_game.FormActivate(); });
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) m_game.FormActivate();
    return QWidget::event(event);
}

// Measured as the platform places the window: its frame included, which the
// window manager tells before the window is first shown.
QRect TMainForm::RestorePlacement() {
    const QRect screen = this->screen()->geometry();
    const OuterWindow outer = OuterOf(this);
    const WindowPosition at =
        RestoredPosition(m_settings.Read(settings::MainForm), outer, screen.width(), screen.height());
    const QRect placed(screen.topLeft() + QPoint(at.left, at.top), QSize(outer.width, outer.height));
    MoveFrameTo(this, placed.topLeft());
    return placed;
}

// The normal frame rectangle, also for a window that is maximised or minimised.
// Where the platform cannot tell the window's position (Wayland), the stored
// placement is kept for the next start where it can.
std::string TMainForm::PlacementText() const {
    if (!CanPlaceWindows()) return m_settings.Read(settings::MainForm);
    const QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(),
                         frameGeometry().bottom() - geometry().bottom());
    const QRect normal = (isMaximized() || isMinimized() ? normalGeometry() : geometry()) + frame;
    return ::PlacementText(PlacementOf(normal.left(), normal.top(), normal.width(), normal.height(),
                                       isMinimized(), isMaximized()));
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (m_closing || !m_game.FormCloseQuery()) {
        event->ignore();
        return;
    }
    m_closing = true;
    m_game.FormClose();
    m_game.FormDestroy(PlacementText());
    event->accept();
}

void TMainForm::ApplyTexts() {
    const int language = m_game.UiLanguage();
    for (const UiText& text : MainFormTexts()) {
        auto* widget = findChild<QWidget*>(QString::fromLatin1(text.control));
        if (!widget) continue;
        const QString value = QString::fromUtf8(text.text.Pick(language));
        if (!text.caption)
            widget->setToolTip(value);
        else if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(value);
    }
}

void TMainForm::UpdateCell(int c, int r) {
    const QRect cell(BoardSurface::CellCorner(c, r), QSize(kCellSize, kCellSize));
    m_box->update(cell);
    m_changed += cell;
}

void TMainForm::DrawBackground() {
    m_surface.DrawBackground();
    m_box->update();
    m_gsol->update();
}

void TMainForm::DrawCell(int c, int r) {
    m_surface.DrawCell(m_game.board(), c, r);
    UpdateCell(c, r);
}

void TMainForm::DrawTurnFrame(int c, int r, int frame) {
    m_surface.DrawTurnFrame(m_game.board(), c, r, frame);
    UpdateCell(c, r);
}

void TMainForm::DrawWaterTile(int c, int r, int tile) {
    m_surface.DrawWaterTile(c, r, tile);
    UpdateCell(c, r);
}

// The frame drawn so far goes to the screen now; input, ticks and paint
// requests wait in the queue until the animation is over.
void TMainForm::Delay(int ms) {
    // Frames of a window not shown yet (the level started at creation) are
    // seen by nobody: no reason to wait for them.
    if (!isVisible()) return;
    if (!m_changed.isEmpty()) m_box->repaint(m_changed);
    m_changed = QRegion();
    std::this_thread::sleep_for(std::chrono::milliseconds(ms) + std::chrono::microseconds(200));
}

void TMainForm::PlaySound(Sound sound) {
    m_waves.Play(static_cast<int>(sound));
}

void TMainForm::SetTimerEnabled(bool on) {
    if (!on) {
        m_Timer.stop();
        m_tickWaits.stop();
    } else if (!m_Timer.isActive()) {
        m_Timer.start();
    }
}

TYesNoDlg* TMainForm::YesNoDlg() {
    if (!m_YesNoDlg) m_YesNoDlg = new TYesNoDlg(this, [this] { return m_game.UiLanguage(); });
    return m_YesNoDlg;
}

TTongueDlg* TMainForm::TongueDlg() {
    if (!m_TongueDlg) m_TongueDlg = new TTongueDlg(this);
    return m_TongueDlg;
}

int TMainForm::ShowMessage(int page) {
    return YesNoDlg()->ShowModal(page);
}

void TMainForm::ShowError(const std::string& text) {
    QMessageBox::critical(isVisible() ? this : nullptr, QStringLiteral(AQUENDO_NAME),
                          QString::fromStdString(text));
}

void TMainForm::PlayStateChanged() {
    m_PauseBtn->setEnabled(m_game.State() == PlayState::Running);
    m_PauseText->setVisible(m_game.State() == PlayState::Paused);
}

void TMainForm::UseLargerSheets(LargerSheets larger) {
    m_larger = larger;
    m_surface.SetLargerSheets(std::move(larger));
    PaintTime();
    PaintLevel();
    m_box->update();
}

void TMainForm::PaintTime() {
    const int time = m_game.TimeLeft();
    m_timbox->SetImage(PaintTimeDisplay(m_sheets.TimeDigits, time), [this, time](int scale) {
        const SpriteSheets* sheets = m_larger ? m_larger(scale) : nullptr;
        return sheets ? PaintTimeDisplay(sheets->TimeDigits, time, scale) : QImage();
    });
}

void TMainForm::PaintLevel() {
    const int level = m_game.CurrentLevel();
    const bool solved = m_game.CurrentLevelSolved();
    m_levelbox->SetImage(
        PaintLevelDisplay(m_sheets.LevelDigits, level, solved), [this, level, solved](int scale) {
            const SpriteSheets* sheets = m_larger ? m_larger(scale) : nullptr;
            return sheets ? PaintLevelDisplay(sheets->LevelDigits, level, solved, scale) : QImage();
        });
    m_levelbox->setToolTip(QString::fromStdString(m_game.LevelHint()));
}

void TMainForm::UpdateStatus() {
    setWindowTitle(QString::fromStdString(m_game.Caption()));
    PaintLevel();
    m_gsol->SetMaximum(m_game.LevelCount());
    m_gsol->SetProgress(m_game.SolvedCount());
    m_gsol->setToolTip(QString::fromStdString(m_game.GaugeHint()));
}

void TMainForm::SetScrollMaximum(int maximum) {
    const QSignalBlocker quiet(m_LevelScroll);
    m_LevelScroll->setMaximum(maximum);
}

// Only the placement text decides where the window ends up; these are its
// position until then.
void TMainForm::PlaceWindow(int left, int top) {
    move(ClampedCoordinate(left), ClampedCoordinate(top));
}

void TMainForm::SetSoundOn(bool on) {
    m_SoundBtn->setChecked(on);
}

bool TMainForm::SoundOn() const {
    return m_SoundBtn->isChecked();
}

void TMainForm::OpenHelp(const std::string& file, const std::string& topic) {
    std::optional<QPoint> place;
    if (!m_help) {
        m_help = std::make_unique<THelpWindow>();
        // The clock runs while the help is open: the board stays in view.
        if (CanPlaceWindows()) {
            const OuterWindow outer = OuterOf(m_help.get());
            const QRect board(m_box->mapToGlobal(QPoint(0, 0)), m_box->size());
            const QRect beside = BesidePlace(QSize(outer.width, outer.height), THelpWindow::kNarrowest,
                                             OuterRect(this), board, screen()->availableGeometry());
            m_help->resize(m_help->size() - QSize(outer.width, outer.height) + beside.size());
            place = beside.topLeft();
        }
    }
    m_help->Open(QString::fromStdString(file), QString::fromStdString(topic), m_game.UiLanguage());
    // Shown with its new size, the window takes its frame's place only now.
    if (place) m_help->windowHandle()->setFramePosition(*place);
}

void TMainForm::CloseHelp() {
    if (m_help) m_help->close();
}

void TMainForm::ShowAbout() {
    TAboutBox about(this);
    about.adjustSize();
    CentreOver(&about, this);
    about.exec();
}

bool TMainForm::OpenUrl(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void TMainForm::ShowSplash() {
    m_Splash->ShowModal();
}

std::optional<int> TMainForm::AskLanguage() {
    return TongueDlg()->Ask();
}

// The file dialogs are made at their first use: they are slow to build and
// most runs need only the one save at the close.
QFileDialog* TMainForm::SaveDlg() {
    if (!m_SaveDlg) {
        m_SaveDlg = FileDialog(this, QFileDialog::AcceptSave);
        m_SaveDlg->setObjectName("SaveDlg");
    }
    return m_SaveDlg;
}

QFileDialog* TMainForm::OpenDlg() {
    if (!m_OpenDlg) {
        m_OpenDlg = FileDialog(this, QFileDialog::AcceptOpen);
        m_OpenDlg->setObjectName("OpenDlg");
    }
    return m_OpenDlg;
}

std::optional<std::string> TMainForm::AskSaveFileName(const std::string& folder, const std::string& name) {
    QFileDialog* dialog = SaveDlg();
    if (!folder.empty()) dialog->setDirectory(QString::fromStdString(folder));
    if (!name.empty()) dialog->selectFile(QString::fromStdString(name));
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
    return dialog->selectedFiles().constFirst().toStdString();
}

std::optional<std::string> TMainForm::AskOpenFileName(const std::string& folder) {
    QFileDialog* dialog = OpenDlg();
    if (!folder.empty()) dialog->setDirectory(QString::fromStdString(folder));
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
    return dialog->selectedFiles().constFirst().toStdString();
}

bool TMainForm::AskYesNo(const std::string& text) {
    return QMessageBox::warning(this, QStringLiteral(AQUENDO_NAME), QString::fromStdString(text),
                                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TMainForm::SetScrollPosition(int position) {
    const QSignalBlocker quiet(m_LevelScroll);
    m_LevelScroll->setValue(position);
}
