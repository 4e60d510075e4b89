// A long random game: every player operation, timer ticks (also inside the
// dialogs, as the event loop delivers them there), saves, loads and restarts
// of the program, with the rules of play checked after every step.
//
// AQUENDO_SOAK_SEED and AQUENDO_SOAK_STEPS replace the fixed seed and the
// step count; a failure names the seed, the step and the steps before it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "game/Game.h"
#include "store/MemorySettings.h"
#include "store/ProgressFile.h"
#include "tests/support/CellPoints.h"
#include "tests/support/Levels.h"

namespace {

namespace fs = std::filesystem;
using testlevels::ReadAll;

constexpr unsigned kDefaultSeed = 20240611;
constexpr int kDefaultSteps = 10000;

// The results a file gives: its first 2000 bytes, little-endian, an entry
// covered in part taking the bytes there as its low-order bytes.
ProgressTable ResultsOf(const std::vector<std::uint8_t>& bytes) {
    std::array<std::uint32_t, ProgressTable::kEntries> raw{};
    for (std::size_t i = 0; i < std::min<std::size_t>(bytes.size(), kProgressFileSize); ++i)
        raw[i / 4] |= std::uint32_t{bytes[i]} << (8 * (i % 4));
    ProgressTable table;
    for (int n = 1; n <= ProgressTable::kEntries; ++n) table[n] = static_cast<std::int32_t>(raw[n - 1]);
    return table;
}

bool Same(const ProgressTable& a, const ProgressTable& b) {
    for (int n = 1; n <= ProgressTable::kEntries; ++n)
        if (a[n] != b[n]) return false;
    return true;
}

unsigned EnvNumber(const char* name, unsigned fallback) {
    const char* text = std::getenv(name);
    return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

// The shell of the soak: a player who answers every dialog at random, and an
// event loop that ticks the game's timer inside every modal dialog while the
// timer is on. It keeps what the displays show and notes every fault it sees
// while the game is inside a step.
class SoakShell : public Shell {
public:
    SoakShell(std::mt19937& rng, fs::path folder) : m_rng(rng), m_folder(std::move(folder)) {}

    Game* game = nullptr;
    // Checks the state a tick inside a dialog may see.
    std::function<void(const char*)> checkInside;
    std::vector<std::string> faults;

    // What the displays and controls show.
    int shownTime = -1;
    int shownLevel = -1;
    bool shownSolved = false;
    std::string caption;
    int gaugeMaximum = -1;
    int gaugeProgress = -1;
    int scrollMaximum = -1;
    int scrollPosition = -1;
    int stateShown = -1;
    bool timerOn = false;
    bool soundOn = true;

    // What happened during the current step.
    std::vector<int> pages;    // message pages shown, in order
    std::vector<int> answers;  // their answers
    int depth = 0;             // message dialogs open now
    // Each showing of the save dialog in this step: its answer, the overwrite
    // answer after it, and the errors told before it.
    struct SaveRound {
        std::optional<std::string> name;
        std::optional<bool> question;
        int errorsBefore = 0;
    };
    std::vector<SaveRound> saveRounds;
    std::optional<std::string> openName;  // the open dialog's answer
    int errors = 0;
    int ticksInside = 0;
    int splashes = 0;        // in this run of the program
    bool urlFailed = false;  // in this run of the program

    void BeginStep() {
        pages.clear();
        answers.clear();
        saveRounds.clear();
        openName.reset();
        errors = 0;
    }
    void NewRun() {
        splashes = 0;
        urlFailed = false;
    }
    bool Chance(double p) { return std::bernoulli_distribution(p)(m_rng); }
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
    fs::path Path(const std::string& name) const { return m_folder / name; }

    void DrawBackground() override {}
    void DrawCell(int c, int r) override {
        if (!IsOnBoard(c, r)) Fault("cell drawn off the board");
    }
    void DrawTurnFrame(int c, int r, int frame) override {
        if (!IsOnBoard(c, r) || frame < 0 || frame > 11)
            Fault("turn frame out of range");
        else if (game->board().Piece(c, r) == 0)
            Fault("turn frame on an empty cell");
    }
    void DrawWaterTile(int c, int r, int tile) override {
        if (!IsOnBoard(c, r) || tile < 0 || tile > 5) Fault("water tile out of range");
    }
    void Delay(int) override {}
    void PlaySound(Sound) override {}
    void SetTimerEnabled(bool on) override { timerOn = on; }

    int ShowMessage(int page) override {
        if (++depth > 1) Fault("message dialog opened while it is open");
        pages.push_back(page);
        ModalLoop("message dialog");
        int answer = mrOk;
        switch (page) {
            case PageRestart:
            case PageGiveup:
                answer = std::array{mrYes, mrNo, mrNo, mrCancel}[Pick(0, 3)];
                break;
            case PageEndgame:
                answer = Chance(0.5) ? mrYes : mrCancel;
                break;
            default:
                answer = Chance(0.8) ? mrOk : mrCancel;
                break;
        }
        answers.push_back(answer);
        --depth;
        return answer;
    }
    void ShowError(const std::string&) override {
        ++errors;
        ModalLoop("error box");
    }

    void PlayStateChanged() override { stateShown = static_cast<int>(game->State()); }
    void ApplyTexts() override {}
    void PaintTime() override { shownTime = game->TimeLeft(); }
    void PaintLevel() override {
        shownLevel = game->CurrentLevel();
        shownSolved = game->CurrentLevelSolved();
    }
    void UpdateStatus() override {
        caption = game->Caption();
        PaintLevel();
        gaugeMaximum = game->LevelCount();
        gaugeProgress = game->SolvedCount();
    }
    void SetScrollMaximum(int maximum) override { scrollMaximum = maximum; }
    void SetScrollPosition(int position) override {
        if (position < 1 || position > scrollMaximum) Fault("scroll position out of range");
        scrollPosition = position;
    }
    void PlaceWindow(int, int) override {}
    void SetSoundOn(bool on) override { soundOn = on; }
    bool SoundOn() const override { return soundOn; }
    void OpenHelp(const std::string&, const std::string&) override {}
    void CloseHelp() override {}
    void ShowAbout() override { ModalLoop("about box"); }
    bool OpenUrl(const std::string&) override {
        if (urlFailed) Fault("the maker's link was used after it failed");
        urlFailed = Chance(0.3);
        return !urlFailed;
    }
    void ShowSplash() override {
        if (++splashes > 1) Fault("splash shown twice in one run");
        ModalLoop("splash");
    }
    std::optional<int> AskLanguage() override {
        ModalLoop("language dialog");
        const int answer = Pick(-1, 1);
        return answer < 0 ? std::nullopt : std::optional<int>(answer);
    }

    // Names the player types into the save dialog, and what the game must
    // make of each: a missing folder and a folder in the way both fail.
    static constexpr std::array<std::pair<const char*, const char*>, 7> kSaveNames{{
        {"a.aqd", "a.aqd"},
        {"b.txt", "b.aqd"},
        {"c", "c.aqd"},
        {"my.game.old", "my.game.aqd"},
        {"damaged.aqd", "damaged.aqd"},
        {"missing/x.aqd", "missing/x.aqd"},
        {"dir", "dir.aqd"},
    }};
    std::optional<std::string> AskSaveFileName(const std::string&, const std::string&) override {
        ModalLoop("save dialog");
        SaveRound& round = saveRounds.emplace_back();
        round.errorsBefore = errors;
        if (Chance(0.2)) return std::nullopt;
        round.name =
            Path(kSaveNames[static_cast<std::size_t>(Pick(0, static_cast<int>(kSaveNames.size()) - 1))].first)
                .string();
        return round.name;
    }
    std::optional<std::string> AskOpenFileName(const std::string&) override {
        ModalLoop("open dialog");
        if (Chance(0.15)) return std::nullopt;
        static constexpr std::array<const char*, 8> kNames{
            "a.aqd", "b.aqd", "my.game.aqd", "damaged.aqd", "damaged.aqd", "nothere.aqd", "dir.aqd", "c.aqd"};
        const std::string name =
            kNames[static_cast<std::size_t>(Pick(0, static_cast<int>(kNames.size()) - 1))];
        if (name == "damaged.aqd") WriteDamagedFile(Path(name));
        openName = Path(name).string();
        return openName;
    }
    bool AskYesNo(const std::string&) override {
        ModalLoop("overwrite question");
        const bool yes = Chance(0.6);
        if (!saveRounds.empty()) saveRounds.back().question = yes;
        return yes;
    }

private:
    void Fault(const std::string& what) { faults.push_back(what); }

    // The event loop of a modal dialog: the game timer keeps ticking in it.
    void ModalLoop(const char* where) {
        if (checkInside) checkInside(where);
        if (!timerOn || !Chance(0.5)) return;
        // Mostly a few seconds; now and then long enough for the time to run out.
        const int ticks = Chance(0.15) ? Pick(10, 120) : Pick(1, 3);
        for (int i = 0; i < ticks && timerOn; ++i) {
            ++ticksInside;
            game->TimerTimer();
        }
        if (checkInside) checkInside(where);
    }

    // A results file as a damaged disk or another program might leave it: any
    // length, small results, huge and negative ones; or one that leaves only
    // a level or two of the first ten unsolved.
    void WriteDamagedFile(const fs::path& path) {
        std::vector<std::uint8_t> bytes;
        if (Chance(0.5)) {
            ProgressTable table;
            for (int n = 1; n <= ProgressTable::kEntries; ++n)
                table[n] = Chance(0.05) ? -Pick(1, 9) : Pick(1, 320);
            // Unsolved only where random presses solve now and then; level 1
            // falls to a middle press on any of its pieces.
            table[1] = 0;
            if (Chance(0.3)) table[Pick(2, 6)] = 0;
            for (int n = 1; n <= ProgressTable::kEntries; ++n)
                for (int b = 0; b < 4; ++b)
                    bytes.push_back(
                        static_cast<std::uint8_t>(static_cast<std::uint32_t>(table[n]) >> (8 * b)));
        } else {
            bytes.resize(static_cast<std::size_t>(Chance(0.3) ? Pick(0, 12) : Pick(0, 2600)));
            // Mostly low bytes set, so entries come out small, zero or now and then huge.
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                const bool low = i % 4 == 0;
                const bool set = low ? Chance(0.75) : Chance(0.1);
                bytes[i] = static_cast<std::uint8_t>(set ? Pick(0, 255) : 0);
            }
        }
        testlevels::WriteFile(path, bytes);
    }

    std::mt19937& m_rng;
    fs::path m_folder;
};

// Levels random presses solve now and then, and the odd ones: no piece at
// all (the time runs out at the first tick), a source on an empty cell, a
// crowded board.
std::vector<LevelRecord> SoakLevels(std::mt19937& rng) {
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    std::vector<LevelRecord> levels;
    levels.push_back(testlevels::kJoinedRow);
    for (int i = 0; i < 5; ++i) {
        LevelRecord record = testlevels::Make({}, 1, 1);
        const int c0 = pick(1, 8);
        const int r0 = pick(1, 6);
        const int pieces = pick(2, 5);
        for (int k = 0; k < pieces; ++k)
            record.PieceLayer[CellIndex(c0 + pick(0, 2), r0 + pick(0, 2))] =
                static_cast<std::uint8_t>(8 * pick(0, 3) + pick(1, 5));
        // The source on one of the pieces.
        for (;;) {
            const int c = c0 + pick(0, 2);
            const int r = r0 + pick(0, 2);
            if (record.PieceLayer[CellIndex(c, r)] == 0) continue;
            record.SourceColumn = static_cast<std::uint8_t>(c);
            record.SourceRow = static_cast<std::uint8_t>(r);
            break;
        }
        levels.push_back(record);
    }
    levels.push_back(testlevels::Make({}, 5, 5));
    levels.push_back(testlevels::Make({{2, 2, 3}, {3, 2, 3}}, 6, 6));
    LevelRecord crowded = testlevels::Make({}, 5, 4);
    for (auto& code : crowded.PieceLayer) code = static_cast<std::uint8_t>(8 * pick(0, 3) + pick(1, 5));
    levels.push_back(crowded);
    return levels;
}

enum class Op {
    Press,
    Tick,
    Pause,
    PauseTextClick,
    NextUnsolved,
    PreviousUnsolved,
    Scroll,
    First,
    Last,
    Restart,
    NewGame,
    Save,
    Load,
    Language,
    Rules,
    Info,
    Maker,
    Paint,
    Activate,
    Close,
};

struct Weighted {
    Op op;
    const char* name;
    int weight;
    void (Game::*handler)() = nullptr;  // an operation that is only the game's handler
};

constexpr std::array<Weighted, 20> kOps{{
    {Op::Press, "press", 360},
    {Op::Tick, "tick", 300},
    {Op::Pause, "pause", 30},
    {Op::PauseTextClick, "pause text click", 15},
    {Op::NextUnsolved, "next unsolved", 30, &Game::sUpBtnClick},
    {Op::PreviousUnsolved, "previous unsolved", 30, &Game::sDownBtnClick},
    {Op::Scroll, "scroll", 30},
    {Op::First, "first level", 8},
    {Op::Last, "last level", 8},
    {Op::Restart, "restart", 30, &Game::RestartBtnClick},
    {Op::NewGame, "new game", 10, &Game::NewGameBtnClick},
    {Op::Save, "save", 25},
    {Op::Load, "load", 25, &Game::LoadBtnClick},
    {Op::Language, "language", 10, &Game::TongueBtnClick},
    {Op::Rules, "rules", 8, &Game::rules},
    {Op::Info, "info", 8, &Game::info},
    {Op::Maker, "maker", 6, &Game::MoxelBtnClick},
    {Op::Paint, "paint", 10, &Game::boxPaint},
    {Op::Activate, "activate", 5, &Game::FormActivate},
    {Op::Close, "close request", 12},
}};

class Soak {
public:
    Soak(unsigned seed) : m_rng(seed), m_shell(m_rng, m_folder.path()) {
        m_folder.WriteLevels(SoakLevels(m_rng));
        fs::create_directory(m_folder.path() / "dir.aqd");
        m_shell.checkInside = [this](const char* where) { CheckInside(where); };
        StartProgram();
    }

    // Runs the steps; the first broken rule ends the run with its story.
    void Run(int steps) {
        std::vector<int> weights;
        for (const auto& w : kOps) weights.push_back(w.weight);
        std::discrete_distribution<int> choose(weights.begin(), weights.end());
        for (m_step = 1; m_step <= steps; ++m_step) {
            const Weighted& op = kOps[static_cast<std::size_t>(choose(m_rng))];
            Do(op);
            if (!m_broken.empty()) {
                std::string story;
                for (const auto& line : m_history) story += "  " + line + "\n";
                FAIL() << "step " << m_step << " (" << m_history.back() << "): " << m_broken
                       << "\nthe last steps:\n"
                       << story;
            }
        }
    }

    std::map<std::string, int> counts;
    int TicksInsideDialogs() const { return m_shell.ticksInside; }

private:
    Game& game() { return *m_game; }
    int FullTime(int level) { return kSecondsPerPiece * game().Catalogue().Level(level).PieceCount(); }

    void StartProgram() {
        m_game = std::make_unique<Game>(m_shell, m_settings);
        m_shell.game = m_game.get();
        m_shell.NewRun();
        m_game->FormCreate(m_folder.Folder());
        m_languageAtStart = m_game->UiLanguage();
        m_game->FormActivate();
    }

    void Break(const std::string& what) {
        if (m_broken.empty()) m_broken = what;
    }
    void Expect(bool ok, const char* what) {
        if (!ok) Break(what);
    }

    // What a tick inside a dialog may see: the level and the water as they
    // stand between two handlers.
    void CheckInside(const char* where) {
        if (game().LevelCount() == 0) return;  // the level file is still being read
        const int state = static_cast<int>(game().State());
        if (state < 0 || state > 3) Break(std::string("play state out of range inside the ") + where);
        if (game().board().ShownWet != game().board().WetMap)
            Break(std::string("shown water differs from the water inside the ") + where);
        if (game().TimeLeft() < 0 || game().TimeLeft() > FullTime(game().CurrentLevel()))
            Break(std::string("time left out of range inside the ") + where);
    }

    void Press() {
        const Board& board = game().board();
        int x, y;
        std::vector<std::pair<int, int>> wet;
        for (int c = 1; c <= kColumns; ++c)
            for (int r = 1; r <= kRows; ++r)
                if (board.Piece(c, r) != 0 && board.IsShownWet(c, r)) wet.emplace_back(c, r);
        const int where = m_shell.Pick(0, 99);
        if (where < 60 && !wet.empty()) {
            const auto [c, r] =
                wet[static_cast<std::size_t>(m_shell.Pick(0, static_cast<int>(wet.size()) - 1))];
            x = cellpoints::BoardX(c, m_shell.Pick(0, kCellSize - 1));
            y = cellpoints::BoardY(r, m_shell.Pick(0, kCellSize - 1));
        } else if (where < 85) {
            x = kGridLeft + m_shell.Pick(0, kColumns * kCellSize - 1);
            y = kGridTop + m_shell.Pick(0, kRows * kCellSize - 1);
        } else {
            x = m_shell.Pick(-5, 505);
            y = m_shell.Pick(-5, 340);
        }
        const int b = m_shell.Pick(0, 9);
        const MouseButton button = b < 5   ? MouseButton::Left
                                   : b < 9 ? MouseButton::Right
                                           : MouseButton::Middle;
        Detail("press %s at %d,%d",
               button == MouseButton::Left    ? "left"
               : button == MouseButton::Right ? "right"
                                              : "middle",
               x, y);

        const Board before = board;
        const PlayState stateBefore = game().State();
        const MoveResult result = game().boxMouseDown(button, x, y);
        ++counts[std::array{"ignored", "refused", "moved", "solved"}[static_cast<int>(result)]];
        if (result == MoveResult::Ignored || result == MoveResult::Refused) {
            Expect(board.PieceLayer == before.PieceLayer && board.SourceColumn == before.SourceColumn &&
                       board.SourceRow == before.SourceRow,
                   "a press that did not move changed the board");
        } else {
            Expect(stateBefore == PlayState::Running, "a move outside Running");
            const int c = (x - kGridLeft) / kCellSize + 1;
            const int r = (y - kGridTop) / kCellSize + 1;
            Expect(board.SourceColumn == c && board.SourceRow == r, "the turned piece is not the source");
            const std::uint8_t old = before.Piece(c, r);
            const int turn = button == MouseButton::Left ? 1 : button == MouseButton::Right ? 3 : 0;
            Expect(board.Piece(c, r) == 8 * ((OrientationOf(old) + turn) % 4) + PieceTypeOf(old),
                   "the piece did not turn as its button says");
            CellLayer others = board.PieceLayer;
            others[CellIndex(c, r)] = old;
            Expect(others == before.PieceLayer, "a move changed another piece");
            Expect((result == MoveResult::Solved) == (game().State() == PlayState::Solved),
                   "a solved level and the Solved state disagree");
            if (result == MoveResult::Solved) {
                Expect(!m_shell.pages.empty() && m_shell.pages.front() == PageWon,
                       "a solved level without \"won\"");
                m_solvedBy = true;
            }
        }
        // The release of the press: it resumes a paused game.
        game().boxClick();
        if (stateBefore == PlayState::Paused)
            Expect(game().State() == PlayState::Running, "a click did not resume");
    }

    void Do(const Weighted& op) {
        m_shell.BeginStep();
        m_solvedBy = false;
        const ProgressTable before = game().Progress();
        const bool allSolvedBefore = game().AllSolved();
        const int levelBefore = game().CurrentLevel();
        const std::string savePathBefore = game().SavePath();
        const PlayState stateBefore = game().State();
        ++counts[op.name];
        Note(op.name);
        switch (op.op) {
            case Op::Press:
                Press();
                break;
            case Op::Tick:
                // Only a running timer ticks.
                if (m_shell.timerOn) {
                    game().TimerTimer();
                    if (game().State() == PlayState::TimeUp && stateBefore != PlayState::TimeUp)
                        ++counts["time up"];
                }
                break;
            case Op::Pause:
                game().Pause();
                Expect(
                    game().State() == (stateBefore == PlayState::Running ? PlayState::Paused : stateBefore),
                    "pause changed a state it may not");
                break;
            case Op::PauseTextClick:
                game().boxClick();
                Expect(
                    game().State() == (stateBefore == PlayState::Paused ? PlayState::Running : stateBefore),
                    "a click on the pause text changed a state it may not");
                break;
            case Op::Scroll:
                ScrollTo(m_shell.Pick(1, game().LevelCount()));
                break;
            case Op::First:
                ScrollTo(game().LevelCount());
                break;
            case Op::Last:
                ScrollTo(1);
                break;
            case Op::Save:
                Save();
                break;
            case Op::Close:
                Close();
                break;
            default:
                (game().*op.handler)();
                break;
        }
        for (const auto& fault : m_shell.faults) Break(fault);
        m_shell.faults.clear();
        CheckResults(op.op, before, allSolvedBefore, levelBefore, savePathBefore);
        CheckAlways();
    }

    void ScrollTo(int position) {
        Detail("scroll to %d", position);
        m_shell.scrollPosition = position;  // the player moved the bar
        game().LevelScrollScroll(position);
        Expect(game().CurrentLevel() == game().LevelCount() - position + 1,
               "the scroll bar started another level");
    }

    std::set<std::string> ExistingFiles() {
        std::set<std::string> files;
        for (const auto& [typed, written] : SoakShell::kSaveNames)
            if (fs::is_regular_file(m_shell.Path(written))) files.insert(m_shell.Path(written).string());
        return files;
    }

    void Save() {
        m_existingBeforeSave = ExistingFiles();
        game().SaveBtnClick();
    }

    void Close() {
        if (!game().FormCloseQuery()) return;
        ++counts["program restarts"];
        m_existingBeforeSave = ExistingFiles();
        const std::string savePathBefore = game().SavePath();
        game().FormClose();
        CheckSaved(savePathBefore);
        m_closedSavePath = game().SavePath();
        m_closedLevel = game().CurrentLevel();
        m_closedLanguage = game().UiLanguage();
        StartProgram();
        m_restarted = true;
    }

    // The save flow's outcome, dialog by dialog: the name as the rules make
    // it, the overwrite question asked exactly when the file was there, No or
    // a failure told once bringing the dialog back, and the flow ending at a
    // cancel (SavePath as it was) or at a file written in full.
    void CheckSaved(const std::string& savePathBefore) {
        const auto& rounds = m_shell.saveRounds;
        Expect(!rounds.empty(), "the save flow showed no dialog");
        for (std::size_t i = 0; i < rounds.size(); ++i) {
            const auto& round = rounds[i];
            const bool last = i + 1 == rounds.size();
            const int errorsAfter = last ? m_shell.errors : rounds[i + 1].errorsBefore;
            if (!round.name) {
                Expect(last, "the save flow went on after a cancel");
                Expect(game().SavePath() == savePathBefore,
                       "a save that wrote nothing changed the results file");
                return;
            }
            std::string expected;
            for (const auto& [typed, written] : SoakShell::kSaveNames)
                if (m_shell.Path(typed).string() == *round.name) expected = m_shell.Path(written).string();
            const bool existed = m_existingBeforeSave.count(expected) != 0;
            Expect(existed == round.question.has_value(),
                   "overwrite question asked for a new file or not for an old one");
            if (round.question == false) {
                Expect(!last && errorsAfter == round.errorsBefore, "No did not bring the dialog back");
                continue;
            }
            if (errorsAfter != round.errorsBefore) {
                Expect(errorsAfter == round.errorsBefore + 1, "a failed save was told more than once");
                Expect(!fs::is_regular_file(expected), "a failed save left a file");
                Expect(!last, "a failed save did not bring the dialog back");
                ++counts["save failed"];
                continue;
            }
            Expect(last, "the dialog came again after a save");
            Expect(game().SavePath() == expected, "the save flow chose the wrong name");
            const auto bytes = ReadAll(expected);
            Expect(bytes.size() == kProgressFileSize && Same(ResultsOf(bytes), game().Progress()),
                   "the saved file does not hold the results");
            ++counts["saved"];
        }
    }

    void CheckResults(Op op, const ProgressTable& before, bool allSolvedBefore, int levelBefore,
                      const std::string& savePathBefore) {
        const ProgressTable& after = game().Progress();
        const int count = game().LevelCount();
        if (m_restarted) {
            m_restarted = false;
            // A new run reads the file last saved or loaded, nothing else.
            Expect(game().SavePath() == m_closedSavePath, "a restart forgot the results file");
            Expect(game().CurrentLevel() == m_closedLevel, "a restart did not come back to the level");
            Expect(m_languageAtStart == m_closedLanguage, "a restart forgot the language");
            const ProgressTable expected =
                FileExistsAt(m_closedSavePath) ? ResultsOf(ReadAll(m_closedSavePath)) : ProgressTable{};
            Expect(Same(after, expected), "a restart did not read the results file");
            return;
        }
        if (op == Op::Load) {
            Expect(game().CurrentLevel() == levelBefore, "a load changed the level");
            const auto& name = m_shell.openName;
            if (name && fs::is_regular_file(*name)) {
                ++counts["loaded"];
                Expect(Same(after, ResultsOf(ReadAll(*name))), "a load did not take the file's results");
                Expect(game().SavePath() == *name, "a load did not take the file's name");
            } else {
                Expect(Same(after, before), "a load of nothing changed the results");
                Expect(game().SavePath() == savePathBefore, "a load of nothing changed the results file");
            }
            return;
        }
        if (op == Op::NewGame && !m_shell.answers.empty() && m_shell.answers.front() != mrNo) {
            ++counts["new games"];
            for (int n = 1; n <= ProgressTable::kEntries; ++n)
                Expect(after[n] == (n <= count ? 0 : before[n]),
                       "a new game did not clear exactly the loaded levels");
            Expect(game().CurrentLevel() == 1 && game().State() == PlayState::Running &&
                       game().TimeLeft() == FullTime(1),
                   "a new game did not start level 1 afresh");
            return;
        }
        if (op == Op::Save) CheckSaved(savePathBefore);
        // Play only ever adds a first result, the time left, to the level on the board.
        for (int n = 1; n <= ProgressTable::kEntries; ++n) {
            if (after[n] == before[n]) continue;
            Expect(before[n] == 0, "a result once set was changed");
            Expect(m_solvedBy && n == game().CurrentLevel() && after[n] == game().TimeLeft(),
                   "a result appeared without its level being solved");
        }
        if (m_solvedBy && before[game().CurrentLevel()] == 0)
            Expect(after[game().CurrentLevel()] == game().TimeLeft(), "a first solution was not recorded");
        if (m_solvedBy) {
            const bool announced = std::count(m_shell.pages.begin(), m_shell.pages.end(), PageAllSolved) != 0;
            Expect(announced == (!allSolvedBefore && game().AllSolved()),
                   "\"allsolved\" shown at the wrong time");
            if (announced) ++counts["all solved"];
        }
    }

    void CheckAlways() {
        const Game& g = game();
        const int state = static_cast<int>(g.State());
        Expect(state >= 0 && state <= 3, "play state out of range");
        Expect(g.CurrentLevel() >= 1 && g.CurrentLevel() <= g.LevelCount(), "current level out of range");
        if (!m_broken.empty()) return;  // the rest needs a level on the board
        Expect(g.TimeLeft() >= 0 && g.TimeLeft() <= FullTime(g.CurrentLevel()), "time left out of range");
        Expect(g.board().ShownWet == g.board().WetMap, "the shown water differs from the water");
        Expect(g.State() != PlayState::TimeUp || g.TimeLeft() == 0, "TimeUp with time left");
        Expect(g.State() != PlayState::Solved || IsSolved(g.board()), "Solved with a dry piece");
        Expect(g.AllSolved() == g.Progress().AllSolved(g.LevelCount()),
               "AllSolved disagrees with the results");
        Expect(!(g.State() == PlayState::Running || g.State() == PlayState::Paused) || m_shell.timerOn,
               "the game timer is off in play");
        // Turns change orientations only; the level's pieces stay where they are.
        const LevelRecord& level = g.Catalogue().Level(g.CurrentLevel());
        for (int i = 0; i < kCells; ++i)
            Expect(PieceTypeOf(g.board().PieceLayer[static_cast<std::size_t>(i)]) ==
                       PieceTypeOf(level.PieceLayer[static_cast<std::size_t>(i)]),
                   "a piece appeared, vanished or changed its type");
        // What the window shows follows the state.
        Expect(m_shell.stateShown == state, "pause button and pause text do not follow the play state");
        Expect(m_shell.shownTime == g.TimeLeft(), "the time display is behind");
        Expect(m_shell.shownLevel == g.CurrentLevel() && m_shell.shownSolved == g.CurrentLevelSolved(),
               "the level display is behind");
        Expect(m_shell.caption == g.Caption(), "the caption is behind");
        Expect(m_shell.gaugeMaximum == g.LevelCount() && m_shell.gaugeProgress == g.SolvedCount(),
               "the solved gauge is behind");
        Expect(m_shell.scrollMaximum == g.LevelCount() &&
                   m_shell.scrollPosition == g.LevelCount() - g.CurrentLevel() + 1,
               "the scroll bar does not stand at the level");
    }

    // The story of the last steps, told when a rule breaks.
    void Note(const char* name) {
        if (m_history.size() == 12) m_history.erase(m_history.begin());
        m_history.emplace_back(name);
    }
    template <typename... Args>
    void Detail(const char* format, Args... args) {
        char line[96];
        std::snprintf(line, sizeof line, format, args...);
        m_history.back() = line;
    }

    testlevels::TempFolder m_folder;
    std::mt19937 m_rng;
    SoakShell m_shell;
    MemorySettings m_settings;
    std::unique_ptr<Game> m_game;
    int m_step = 0;
    std::vector<std::string> m_history;
    std::string m_broken;
    bool m_solvedBy = false;
    std::set<std::string> m_existingBeforeSave;
    bool m_restarted = false;
    std::string m_closedSavePath;
    int m_closedLevel = 0;
    int m_closedLanguage = 0;
    int m_languageAtStart = 0;
};

TEST(Soak, RandomPlayKeepsTheRules) {
    const unsigned seed = EnvNumber("AQUENDO_SOAK_SEED", kDefaultSeed);
    const int steps = static_cast<int>(EnvNumber("AQUENDO_SOAK_STEPS", kDefaultSteps));
    std::printf("soak seed %u, %d steps (AQUENDO_SOAK_SEED, AQUENDO_SOAK_STEPS)\n", seed, steps);
    const auto start = std::chrono::steady_clock::now();
    Soak soak(seed);
    soak.Run(steps);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    soak.counts["ticks inside dialogs"] = soak.TicksInsideDialogs();
    std::string tally;
    for (const auto& [what, n] : soak.counts) tally += " " + what + " " + std::to_string(n) + ",";
    std::printf("soak took %.2f s;%s\n", seconds, tally.c_str());
    if (HasFailure() || steps < kDefaultSteps) return;
    // A soak that never reached these proves little: the weights must keep them coming.
    for (const char* needed : {"solved", "time up", "all solved", "saved", "save failed", "loaded",
                               "new games", "program restarts", "refused", "ticks inside dialogs"})
        EXPECT_GT(soak.counts[needed], 0) << needed;
}

}  // namespace
