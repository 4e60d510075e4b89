#include "windows/MainForm.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QCompleter>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cmath>
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
#include "windows/FileNames.h"
#include "windows/HelpWindow.h"
#include "windows/MainFormLayout.h"
#include "windows/ModalFront.h"
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
    // A Return typed while the completion list is up ends the dialog through
    // the list, which stays: a window of its own, it would be left over the board.
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog] {
        for (QCompleter* completer : dialog->findChildren<QCompleter*>()) completer->popup()->hide();
    });
    return dialog;
}

}  // namespace

TMainForm::TMainForm(const std::string& programFolder, SpriteSheets sheets, SettingsStore& settings,
                     const WaveImages& waves, QWidget* parent, const std::string& playTestFile)
    : QWidget(parent),
      m_sheets(std::move(sheets)),
      m_settings(settings),
      m_soundModuleFolder(programFolder),
      m_waves(waves, [this] { return LoadSoundModule(m_soundModuleFolder); }) {
    // Answered while the window is built, not when it is placed.
    AskFrameQuestionsAhead();
    setObjectName("MainForm");
    setWindowTitle(QStringLiteral(AQUENDO_TITLE));
    setWindowIcon(WindowIcon());
    setFixedSize(BoardSurface::kWidth, kToolBarHeight + BoardSurface::kHeight);
    CreateControls();
    KeepModalInFront(this);

    // The clock counts every second, in the order of the events: a tick is
    // handled after the presses made before it came due and before those
    // made after, also when a move's waits hold them all in the queue. A
    // press counts the ticks due before it was made (by its window-system
    // time), so a press made in time is a move even if handled after the
    // tick that ends the level came due. A tick whose wake-up finds presses
    // being handled waits until a round handles none: presses made before it
    // may still be queued behind them.
    m_Timer.setSingleShot(true);
    m_Timer.setTimerType(Qt::PreciseTimer);  // a game clock: whole seconds, not roughly
    m_tickWaits.setSingleShot(true);
    m_tickWaits.setInterval(0);
    connect(&m_Timer, &QTimer::timeout, this, [this] {
        m_pressesSeen = m_presses;
        m_tickWaits.start();
    });
    connect(&m_tickWaits, &QTimer::timeout, this, [this] {
        if (m_presses != m_pressesSeen) {
            m_pressesSeen = m_presses;
            m_tickWaits.start();
            return;
        }
        CountTicksDueBy(std::chrono::steady_clock::now());
    });

    m_Splash = new TSplash(this);

    m_game.PlayTest(playTestFile);
    m_game.FormCreate(programFolder);
}

// Nothing is written here: a box about a failure would run its own event
// loop with no window to stand on. The close and KeepUnattended write.
TMainForm::~TMainForm() = default;

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

void TMainForm::boxMouseDown(Qt::MouseButton button, QPoint position, quint64 timestamp) {
    const MouseButton which = button == Qt::LeftButton    ? MouseButton::Left
                              : button == Qt::RightButton ? MouseButton::Right
                                                          : MouseButton::Middle;
    CountTicksDueBy(MadeAt(timestamp));
    ++m_presses;
    m_game.boxMouseDown(which, position.x(), position.y());
}

// Event times are the window system's milliseconds, on a clock of its own. A
// press handled at once shows the two clocks' difference; one that waited
// shows more, so the least difference seen is the nearest.
std::chrono::steady_clock::time_point TMainForm::MadeAt(quint64 timestamp) {
    using namespace std::chrono;
    const auto now = steady_clock::now();
    const qint64 offset = duration_cast<milliseconds>(now.time_since_epoch()).count() - qint64(timestamp);
    if (!m_inputOffset || offset < *m_inputOffset) m_inputOffset = offset;
    return std::min(now, steady_clock::time_point(milliseconds(qint64(timestamp) + *m_inputOffset)));
}

void TMainForm::CountTicksDueBy(std::chrono::steady_clock::time_point until) {
    // A tick's "toslow" page runs a loop of its own, where the wake-up may come again.
    if (m_inTicks) return;
    m_inTicks = true;
    while (m_counting && m_nextDue <= until) {
        m_nextDue += std::chrono::seconds(1);
        m_game.TimerTimer();
    }
    m_inTicks = false;
    if (!m_counting) return;
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(m_nextDue - std::chrono::steady_clock::now());
    m_Timer.start(std::max<int>(0, static_cast<int>(wait.count())));
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
// window manager tells before the window is first shown, or once it has framed
// it. The stored placement is in screen pixels, whatever the scale.
QRect TMainForm::RestorePlacement() {
    auto placed = std::make_shared<QRect>();
    PlaceFramed(this, [this, placed](const OuterWindow& outer, QMargins frame) {
        const QScreen* screen = this->screen();
        const double scale = screen->devicePixelRatio();
        const QSize client = DeviceSize(size(), scale);
        const OuterWindow device{client.width() + frame.left() + frame.right(),
                                 client.height() + frame.top() + frame.bottom(), frame.top()};
        const QSize area = DeviceSize(screen->geometry().size(), scale);
        const WindowPosition at =
            RestoredPosition(m_settings.Read(settings::MainForm), device, area.width(), area.height());
        const QPoint origin = screen->geometry().topLeft();
        // Rounded towards the top left, so the frame stays inside the screen.
        const QPoint topLeft =
            origin + QPoint(int(std::floor(at.left / scale)), int(std::floor(at.top / scale)));
        *placed = QRect(topLeft, QSize(outer.width, outer.height));
        PutFrame(this, topLeft);
    });
    return *placed;
}

// The normal frame rectangle, also for a window that is maximised or minimised,
// in screen pixels. Where the platform cannot tell the window's position
// (Wayland), the stored placement is kept for the next start where it can.
std::string TMainForm::PlacementText() const {
    if (!CanPlaceWindows()) return m_settings.Read(settings::MainForm);
    auto* self = const_cast<TMainForm*>(this);
    const double scale = devicePixelRatioF();
    const QPoint origin = screen()->geometry().topLeft();
    const bool normal = !isMaximized() && !isMinimized();
    const QRect client = normal ? geometry() : normalGeometry();
    const std::optional<QPoint> exact = normal ? ScreenPosition(self) : std::nullopt;
    // The window manager's own frame where X11 tells it, else Qt's.
    const QMargins qtFrame(
        geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
        frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom());
    const QMargins frame =
        QGuiApplication::platformName() == QLatin1String("xcb") ? FrameMargins(self) : qtFrame * scale;
    const QRect device = QRect(exact.value_or(origin + DevicePoint(client.topLeft() - origin, scale)),
                               DeviceSize(client.size(), scale)) +
                         frame;
    return ::PlacementText(PlacementOf(device.left(), device.top(), device.width(), device.height(),
                                       isMinimized(), isMaximized()));
}

// Errors of the close are shown here, while the window stands and its clock
// is stopped.
void TMainForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_closing || m_game.SessionEnding() || !m_game.FormCloseQuery()) return;
    m_closing = true;
    m_game.FormClose();
    // The session ended meanwhile: its end keeps what the close did not.
    if (m_game.SessionEnding()) return;
    m_game.FormDestroy(PlacementText());
    event->accept();
}

std::vector<std::string> TMainForm::KeepUnattended() {
    return m_game.KeepUnattended(PlacementText());
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

// Started while on, the clock keeps its rhythm; stopped and started, it
// begins a fresh second.
void TMainForm::SetTimerEnabled(bool on) {
    if (!on) {
        m_counting = false;
        m_Timer.stop();
        m_tickWaits.stop();
    } else if (!m_counting) {
        m_counting = true;
        m_nextDue = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        m_Timer.start(1000);
    }
}

std::optional<std::chrono::milliseconds> TMainForm::NextWakeUp() const {
    using namespace std::chrono;
    if (m_tickWaits.isActive()) return milliseconds(0);
    if (!m_Timer.isActive()) return std::nullopt;
    return std::min(milliseconds(m_Timer.remainingTime()),
                    ceil<milliseconds>(m_nextDue - steady_clock::now()));
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

namespace {

// A message box with the game's own glyphs, not the desktop's round icons.
QMessageBox* GameBox(QWidget* parent, const char* glyph, const std::string& text) {
    auto* box = new QMessageBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(QStringLiteral(AQUENDO_NAME));
    box->setText(QString::fromStdString(text));
    box->setIconPixmap(Glyph(QString::fromLatin1(glyph)).pixmap(32, 32));
    return box;
}

}  // namespace

void TMainForm::ShowError(const std::string& text) {
    QMessageBox* box = GameBox(isVisible() ? this : nullptr, "error", text);
    box->addButton(QMessageBox::Ok)->setIcon(Glyph("ok"));
    box->exec();
}

void TMainForm::PlayStateChanged() {
    m_PauseBtn->setEnabled(m_game.State() == PlayState::Running);
    m_PauseText->setVisible(m_game.State() == PlayState::Paused);
}

void TMainForm::UseLargerSheets(LargerSheets larger) {
    m_larger = larger;
    m_surface.SetLargerSheets(std::move(larger));
    RepaintPictures();
}

void TMainForm::MediaArrived(SpriteSheets sheets, const WaveImages& waves) {
    m_sheets = std::move(sheets);
    m_waves.SetWaves(waves);
    m_surface.SheetsArrived();
    RepaintPictures();
}

void TMainForm::RepaintPictures() {
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
    // The clock runs while the help is open: the board stays in view.
    std::shared_ptr<QPoint> place;
    if (!m_help) {
        m_help = std::make_unique<THelpWindow>(m_sheets.PieceSheet);
        if (CanPlaceWindows()) {
            place = std::make_shared<QPoint>();
            THelpWindow* help = m_help.get();
            const QSize wanted = help->size();
            PlaceFramed(help, [this, help, wanted, place](const OuterWindow& outer, QMargins /*frame*/) {
                const QSize frame = QSize(outer.width, outer.height) - help->size();
                const QRect board(m_box->mapToGlobal(QPoint(0, 0)), m_box->size());
                const QRect beside = BesidePlace(wanted + frame, THelpWindow::kNarrowest, OuterRect(this),
                                                 board, screen()->availableGeometry());
                help->resize(beside.size() - frame);
                *place = beside.topLeft();
                PutFrame(help, *place);
            });
        }
    }
    m_help->Open(file, QString::fromStdString(topic), m_game.UiLanguage());
    // Shown with its new size, the window takes its frame's place only now.
    if (place) PutFrame(m_help.get(), *place);
}

void TMainForm::CloseHelp() {
    if (m_help) m_help->close();
}

// Where the background picture has its title lettering.
constexpr QRect kAboutLogo(381, 16, 114, 34);

void TMainForm::ShowAbout() {
    // The title as the board shows it, gold on its plate, from the same picture.
    TAboutBox about(this, m_sheets.BackgroundImage.copy(kAboutLogo));
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
    if (!folder.empty()) dialog->setDirectory(ShownFileName(folder));
    if (!name.empty()) dialog->selectFile(ShownFileName(name));
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
    return ChosenFileName(dialog->selectedFiles().constFirst());
}

std::optional<std::string> TMainForm::AskOpenFileName(const std::string& folder) {
    QFileDialog* dialog = OpenDlg();
    if (!folder.empty()) dialog->setDirectory(ShownFileName(folder));
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
    return ChosenFileName(dialog->selectedFiles().constFirst());
}

bool TMainForm::AskYesNo(const std::string& text) {
    QMessageBox* box = GameBox(this, "warning", text);
    box->addButton(QMessageBox::Yes)->setIcon(Glyph("ok"));
    box->addButton(QMessageBox::No)->setIcon(Glyph("no"));
    return box->exec() == QMessageBox::Yes;
}

void TMainForm::SetScrollPosition(int position) {
    const QSignalBlocker quiet(m_LevelScroll);
    m_LevelScroll->setValue(position);
}
