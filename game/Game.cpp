#include "game/Game.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

#include "core/Language.h"
#include "game/KeptResults.h"
#include "game/Program.h"
#include "store/ProgressFile.h"
#include "store/SavedGameName.h"
#include "store/StoreTexts.h"

namespace {

constexpr int kFramePause = 50;

constexpr Text kLevelFileMissing{"Datei %1 konnte nicht gefunden werden. (%2)", "Can't find file %1. (%2)"};
constexpr Text kLevelFileShort{"Datei %1 enthält keine vollständige Stufe.",
                               "File %1 holds no complete level."};
constexpr Text kCaptionGame{" - Spiel ", " - Game "};
constexpr Text kLevelHint{"Stufe %1: %2", "Level %1: %2"};
constexpr Text kSolved{"gelöst", "solved"};
constexpr Text kUnsolved{"ungelöst", "unsolved"};
constexpr Text kGaugeHint{"%1 von %2 Stufen gelöst", "%1 of %2 levels solved"};
constexpr Text kHelpTopic{"Das_Spiel", "The_game"};

}  // namespace

void Game::FormCreate(const std::string& programFolder) {
    m_ProgramFolder = programFolder;
    m_UiLanguage = m_settings.Read(settings::tongue);
    m_Progress.Clear();
    if (PlayTesting()) {
        // The player's place and results belong to the other level file.
        m_CurrentLevel = 1;
        m_SavePath.clear();
        LoadLevelFileAt(m_playTestFile);
    } else {
        m_CurrentLevel = m_settings.Read(settings::level);
        m_SavePath = m_settings.Read(settings::save);
        if (FileExistsAt(m_SavePath) && !ReadProgressFile(m_SavePath, m_Progress))
            m_shell.ShowError(LoadFailedMessage(m_SavePath, m_UiLanguage));
        LoadLevelFile();
    }
    m_shell.SetScrollMaximum(LevelCount());
    m_AllSolved = m_Progress.AllSolved(LevelCount());
    const int left = m_settings.Read(settings::left);
    const int top = m_settings.Read(settings::top);
    m_shell.PlaceWindow(left, top);
    m_shell.SetSoundOn(m_settings.Read(settings::sound));
    // A stored level below 1 starts level 1, as one above the last starts the last.
    m_CurrentLevel = std::clamp(m_CurrentLevel, 1, LevelCount());
    StartLevel(m_CurrentLevel);
    m_shell.SetScrollPosition(LevelCount() - m_CurrentLevel + 1);
}

void Game::LoadLevelFile() {
    LoadLevelFileAt(m_ProgramFolder + kLevelFileName);
}

void Game::UseLevels(LevelCatalogue catalogue) {
    assert(catalogue.LevelCount() > 0);
    m_catalogue = std::move(catalogue);
    m_CurrentLevel = std::clamp(m_CurrentLevel, 1, LevelCount());
}

void Game::LoadLevelFileAt(const std::string& path) {
    LevelFileReport report = ReadLevelFile(path);
    m_playingFallback = report.status != LevelFileStatus::Read;
    if (report.status == LevelFileStatus::Read) {
        UseLevels(std::move(report.catalogue));
        return;
    }
    const std::string& shown = path;
    if (report.status == LevelFileStatus::CannotOpen) {
        m_shell.ShowError(Fill(kLevelFileMissing.Pick(m_UiLanguage), {shown, std::to_string(report.error)}));
    } else {
        m_shell.ShowError(Fill(kLevelFileShort.Pick(m_UiLanguage), {shown}));
    }
    LevelCatalogue fallback;
    fallback.Add(FallbackLevel());
    UseLevels(std::move(fallback));
    m_CurrentLevel = 1;
}

void Game::StartLevel(int n) {
    assert(n >= 1 && n <= LevelCount());
    m_shell.DrawBackground();
    m_CurrentLevel = n;
    m_TimeLeft = PlaceLevel(m_board, m_catalogue.Level(n));
    m_board.ShownWet[CellIndex(m_board.SourceColumn, m_board.SourceRow)] = 1;
    ComputeWater(m_board);
    for (int c = 1; c <= kColumns; ++c)
        for (int r = 1; r <= kRows; ++r) m_shell.DrawCell(c, r);
    AnimateWater();
    SetPlayState(PlayState::Running);
    m_shell.UpdateStatus();
    m_shell.SetTimerEnabled(true);
}

MoveResult Game::boxMouseDown(MouseButton button, int x, int y) {
    if (x < kGridLeft || y < kGridTop) return MoveResult::Ignored;
    const int c = (x - kGridLeft) / kCellSize + 1;
    const int r = (y - kGridTop) / kCellSize + 1;
    if (c > kColumns || r > kRows) return MoveResult::Ignored;
    if (m_PlayState != PlayState::Running) return MoveResult::Ignored;
    const std::uint8_t piece = m_board.Piece(c, r);
    if (piece == 0) return MoveResult::Ignored;
    if (!m_board.IsShownWet(c, r)) {
        m_shell.PlaySound(Sound::Refuse);
        return MoveResult::Refused;
    }
    if (button == MouseButton::Left) {
        TurnCounterClockwise(m_board, c, r);
        AnimateTurn(c, r, OrientationOf(piece), true);
    } else if (button == MouseButton::Right) {
        TurnClockwise(m_board, c, r);
        AnimateTurn(c, r, OrientationOf(piece), false);
    }
    m_board.SourceColumn = c;
    m_board.SourceRow = r;
    ComputeWater(m_board);
    AnimateWater();
    if (!IsSolved(m_board)) return MoveResult::Moved;
    LevelSolved();
    return MoveResult::Solved;
}

void Game::LevelSolved() {
    m_shell.SetTimerEnabled(false);
    m_shell.PlaySound(Sound::Solved);
    SetPlayState(PlayState::Solved);
    Ask(PageWon);
    if (m_Progress[m_CurrentLevel] == 0) m_Progress[m_CurrentLevel] = m_TimeLeft;
    m_shell.PaintLevel();
    m_shell.UpdateStatus();
    if (m_AllSolved) return;
    m_AllSolved = m_Progress.AllSolved(LevelCount());
    if (m_AllSolved) Ask(PageAllSolved);
}

void Game::boxPaint() {
    m_shell.DrawBackground();
    for (int c = 1; c <= kColumns; ++c)
        for (int r = 1; r <= kRows; ++r) m_shell.DrawCell(c, r);
    m_shell.PaintTime();
    m_shell.PaintLevel();
    m_shell.UpdateStatus();
}

int Game::NextUnsolved(int step) const {
    int a = m_CurrentLevel;
    for (int i = 1; i < LevelCount(); ++i) {
        a += step;
        if (a > LevelCount()) a = 1;
        if (a < 1) a = LevelCount();
        if (m_Progress[a] == 0) return a;
    }
    return 0;
}

void Game::GoToUnsolved(int step) {
    const int a = NextUnsolved(step);
    if (a == 0) return;
    StartLevel(a);
    m_shell.SetScrollPosition(LevelCount() - a + 1);
    m_shell.UpdateStatus();
}

void Game::sUpBtnClick() {
    GoToUnsolved(+1);
}

void Game::sDownBtnClick() {
    GoToUnsolved(-1);
}

void Game::LevelScrollScroll(int position) {
    StartLevel(std::clamp(LevelCount() - position + 1, 1, LevelCount()));
    m_shell.PaintTime();
    m_shell.UpdateStatus();
}

void Game::NewGameBtnClick() {
    if (Ask(PageGiveup) == mrNo) return;
    m_CurrentLevel = 1;
    m_shell.SetScrollPosition(LevelCount());
    for (int n = 1; n <= LevelCount(); ++n) m_Progress[n] = 0;
    // A new game starts the count afresh: solving every level again is
    // congratulated again.
    m_AllSolved = m_Progress.AllSolved(LevelCount());
    StartLevel(1);
    m_shell.UpdateStatus();
}

void Game::RestartBtnClick() {
    if (m_PlayState == PlayState::Running || m_PlayState == PlayState::Paused) {
        if (Ask(PageRestart) == mrNo) return;
    }
    StartLevel(m_CurrentLevel);
}

int Game::Ask(int page) {
    m_messageOpen = true;
    const int answer = m_shell.ShowMessage(page);
    m_messageOpen = false;
    return answer;
}

bool Game::FormCloseQuery() {
    m_shell.SetTimerEnabled(false);
    const bool mayClose = Ask(PageEndgame) == mrYes;
    m_shell.SetTimerEnabled(true);
    return mayClose;
}

void Game::FormClose() {
    m_shell.SetTimerEnabled(false);
    m_shell.CloseHelp();
    SaveGame();
    // A session that ended meanwhile took the save dialog away unanswered:
    // its end keeps the results.
    if (m_sessionEnding) return;
    m_closedByPlayer = true;
    if (PlayTesting()) return;
    // The player has decided on the results: what this run kept is not wanted again.
    DropKeptResults();
    // A write that fails is reported and ends the writing, but never keeps
    // the player from quitting.
    const auto failure = WriteSettings();
    if (failure) m_shell.ShowError(*failure);
    m_settingsRefused = failure.has_value();
}

std::optional<std::string> Game::WriteSettings() {
    auto failure = m_settings.Write(settings::sound, m_shell.SoundOn());
    // The stand-in level is no place of the player's: the stored one stays.
    if (!failure && !m_playingFallback) failure = m_settings.Write(settings::level, m_CurrentLevel);
    if (!failure) failure = m_settings.Write(settings::tongue, m_UiLanguage);
    if (!failure) failure = m_settings.Write(settings::save, m_SavePath);
    return failure;
}

void Game::FormDestroy(const std::string& placementText) {
    if (PlayTesting()) return;
    const auto failure = m_settings.Write(settings::MainForm, placementText);
    // The store that refused the close's values has been reported once already.
    if (failure && !m_settingsRefused) m_shell.ShowError(*failure);
}

std::vector<std::string> Game::KeepUnattended(const std::string& placementText) {
    std::vector<std::string> failures;
    // A trial of a level file keeps nothing of the player's.
    if (m_closedByPlayer || PlayTesting()) return failures;
    const auto note = [&failures](const std::optional<std::string>& failure) {
        if (failure && std::find(failures.begin(), failures.end(), *failure) == failures.end())
            failures.push_back(*failure);
    };
    note(WriteSettings());
    note(m_settings.Write(settings::MainForm, placementText));
    // Never the results file itself: only the player decides what goes there.
    if (ResultsOnDisk(m_SavePath) == m_Progress) {
        DropKeptResults();
    } else if (!m_keptPath.empty()) {
        const auto failure = KeepResults(m_keptPath, m_Progress, m_UiLanguage);
        m_keptThisRun = m_keptThisRun || !failure;
        note(failure);
    }
    return failures;
}

void Game::DropKeptResults() {
    if (!m_keptThisRun) return;
    std::remove(m_keptPath.c_str());
    m_keptThisRun = false;
}

void Game::OfferKeptResults() {
    // Left for the player's own game, not a trial's.
    if (PlayTesting() || !FileExistsAt(m_keptPath)) return;
    ProgressTable kept;
    if (ReadProgressFile(m_keptPath, kept) && kept != m_Progress) {
        m_shell.SetTimerEnabled(false);
        const bool load =
            m_shell.AskYesNo(KeptResultsQuestion(kept.CountSolved(LevelCount()), LevelCount(), m_UiLanguage));
        m_shell.SetTimerEnabled(true);
        // Taken away by the end of the session: asked again at the next start.
        if (m_sessionEnding) return;
        // As the load flow takes a file, but the results file in use stays.
        if (load) {
            m_Progress = kept;
            m_AllSolved = m_Progress.AllSolved(LevelCount());
            m_shell.UpdateStatus();
        }
    }
    std::remove(m_keptPath.c_str());
}

void Game::SaveBtnClick() {
    m_shell.SetTimerEnabled(false);
    SaveGame();
    m_shell.SetTimerEnabled(true);
}

void Game::LoadBtnClick() {
    m_shell.SetTimerEnabled(false);
    LoadGame();
    m_shell.SetTimerEnabled(true);
}

void Game::SaveGame() {
    const bool preset = FileExistsAt(m_SavePath);
    std::string folder = preset ? FolderOf(m_SavePath) : std::string();
    std::string name = preset ? FileNameOf(m_SavePath) : std::string();
    for (;;) {
        const auto chosen = m_shell.AskSaveFileName(folder, name);
        if (!chosen) return;
        const std::string path = WithSavedGameExtension(*chosen);
        // Back to the dialog, as the player left it, on anything but Yes.
        folder.clear();
        name.clear();
        if (FileExistsAt(path) && !m_shell.AskYesNo(OverwriteQuestion(FileNameOf(path), m_UiLanguage)))
            continue;
        // A save that failed leaves SavePath on the file that still holds the
        // last saved results, and offers the dialog again: at the close, the
        // results of the run would be lost otherwise.
        if (!WriteProgressFile(path, m_Progress)) {
            m_shell.ShowError(SaveFailedMessage(FileNameOf(path), m_UiLanguage));
            continue;
        }
        m_SavePath = path;
        m_shell.UpdateStatus();
        return;
    }
}

void Game::LoadGame() {
    const auto chosen = m_shell.AskOpenFileName(FolderOf(m_SavePath));
    if (!chosen) return;
    if (FileExistsAt(*chosen)) {
        // Read into a table of its own: a file that fails halfway must not
        // cost the player the results in play.
        ProgressTable loaded;
        if (ReadProgressFile(*chosen, loaded)) {
            m_Progress = loaded;
            m_SavePath = *chosen;
            m_AllSolved = m_Progress.AllSolved(LevelCount());
        } else {
            m_shell.ShowError(LoadFailedMessage(*chosen, m_UiLanguage));
        }
    }
    m_shell.UpdateStatus();
}

std::string Game::Caption() const {
    std::string caption = AQUENDO_TITLE;
    if (!m_SavePath.empty()) {
        const auto slash = m_SavePath.find_last_of('/');
        const std::string name = slash == std::string::npos ? m_SavePath : m_SavePath.substr(slash + 1);
        caption += kCaptionGame.Pick(m_UiLanguage) + name;
    }
    return caption;
}

std::string Game::LevelHint() const {
    const Text& state = CurrentLevelSolved() ? kSolved : kUnsolved;
    return Fill(kLevelHint.Pick(m_UiLanguage), {std::to_string(m_CurrentLevel), state.Pick(m_UiLanguage)});
}

std::string Game::GaugeHint() const {
    return Fill(kGaugeHint.Pick(m_UiLanguage), {std::to_string(SolvedCount()), std::to_string(LevelCount())});
}

void Game::boxClick() {
    if (m_PlayState == PlayState::Paused) SetPlayState(PlayState::Running);
}

void Game::Pause() {
    // The pause button is enabled only while running; a stray call changes nothing.
    if (m_PlayState == PlayState::Running) SetPlayState(PlayState::Paused);
}

void Game::TimerTimer() {
    if (m_PlayState != PlayState::Running) return;
    if (m_TimeLeft > 0) {
        --m_TimeLeft;
    } else {
        if (m_messageOpen) return;
        m_shell.SetTimerEnabled(false);
        SetPlayState(PlayState::TimeUp);
        m_shell.PlaySound(Sound::TimeUp);
        Ask(PageTooSlow);
    }
    m_shell.PaintTime();
}

void Game::SetPlayState(PlayState state) {
    m_PlayState = state;
    m_shell.PlayStateChanged();
    ApplyLanguage();
}

void Game::ApplyLanguage() {
    m_shell.ApplyTexts();
    m_shell.PaintTime();
    m_shell.UpdateStatus();
}

void Game::FormActivate() {
    if (!m_FirstActivation) return;
    m_FirstActivation = false;
    m_shell.ShowSplash();
    if (m_UiLanguage == LanguageUnchosen) {
        if (const auto chosen = m_shell.AskLanguage()) m_UiLanguage = *chosen;
    }
    ApplyLanguage();
    OfferKeptResults();
}

void Game::TongueBtnClick() {
    if (const auto chosen = m_shell.AskLanguage()) m_UiLanguage = *chosen;
    ApplyLanguage();
}

void Game::rules() {
    m_shell.SetTimerEnabled(false);
    m_shell.OpenHelp(m_ProgramFolder + kHelpFileName, kHelpTopic.Pick(m_UiLanguage));
    m_shell.SetTimerEnabled(true);
}

void Game::info() {
    m_shell.SetTimerEnabled(false);
    m_shell.ShowAbout();
    m_shell.SetTimerEnabled(true);
}

// A link the desktop could not open once stays off until the next start.
void Game::MoxelBtnClick() {
    if (m_makerLinkWorks) m_makerLinkWorks = m_shell.OpenUrl(AQUENDO_MAKER_URL);
}

void Game::AnimateTurn(int c, int r, int oldOrientation, bool counterClockwise) {
    // The frames after a rest frame lie on the way to the next orientation.
    const int rest = kFramesPerTurn * oldOrientation;
    int frames[kFramesPerTurn];
    if (counterClockwise) {
        for (int i = 0; i < kFramesPerTurn; ++i) frames[i] = (rest + 1 + i) % kTurnFrames;
    } else {
        const int first = oldOrientation == 0 ? kTurnFrames - 1 : rest - 1;
        for (int i = 0; i < kFramesPerTurn; ++i) frames[i] = first - i;
    }
    m_shell.DrawTurnFrame(c, r, frames[0]);
    m_shell.Delay(kFramePause);
    m_shell.DrawTurnFrame(c, r, frames[1]);
    m_shell.Delay(kFramePause);
    m_shell.DrawTurnFrame(c, r, frames[2]);
}

void Game::AnimateWater() {
    if (m_board.WetMap == m_board.ShownWet) return;
    m_shell.PlaySound(Sound::Flow);
    for (int f = 0; f <= kFullWaterTile; ++f) {
        for (int c = 1; c <= kColumns; ++c) {
            for (int r = 1; r <= kRows; ++r) {
                const int i = CellIndex(c, r);
                if (m_board.WetMap[i] == m_board.ShownWet[i]) continue;
                m_shell.DrawWaterTile(c, r, m_board.ShownWet[i] == 0 ? f : kFullWaterTile - f);
            }
        }
        m_shell.Delay(kFramePause);
    }
    m_board.ShownWet = m_board.WetMap;
}
