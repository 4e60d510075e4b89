// A real X server, real X mouse input: a press on a wet piece turns it, and
// the screen shows the turn's in-between frames while the game waits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <thread>

#include "store/MemorySettings.h"
#include "tests/support/Levels.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/NoiseSheets.h"
#include "tests/support/WindowPoint.h"
#include "tools/levels/LevelsTool.h"
#include "tools/levels/Moves.h"
#include "view/BoardBox.h"
#include "view/BoardSurface.h"
#include "windows/MainForm.h"

// Last: Xlib's macros would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace {

using Clock = std::chrono::steady_clock;

// The cell's pixels as the screen shows them, read over a connection of its own.
QImage Grab(Display* display, QRect area) {
    XImage* shot = XGetImage(display, DefaultRootWindow(display), area.x(), area.y(), area.width(),
                             area.height(), AllPlanes, ZPixmap);
    QImage image(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            image.setPixel(x, y, 0xFF000000u | (XGetPixel(shot, x, y) & 0xFFFFFFu));
    XDestroyImage(shot);
    return image;
}

TEST(RealInput, TurnFramesReachTheScreenDuringTheWaits) {
    testlevels::TempFolder folder;
    // A Tee at (4,4) as the source, and a dry piece so the level stays unsolved.
    folder.WriteLevels({testlevels::Make({{4, 4, 4}, {9, 7, 5}}, 4, 4)});
    MemorySettings settings;
    settings.Set("tongue", "0");
    ModalAnswerer answerer;
    const SpriteSheets sheets = NoiseSheets();
    TMainForm form(folder.Folder(), sheets, settings);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ASSERT_TRUE(QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }));
    QTest::qWait(200);

    const QPoint cellOnScreen = form.mapToGlobal(WindowPoint(4, 4, 0, 0));
    const QRect cell(cellOnScreen, QSize(36, 36));
    // What the cell shows at turn frame k: the sheet's square with the water blob.
    Board board = form.game().board();
    auto frame = [&](int k) {
        BoardSurface surface(sheets);
        surface.DrawTurnFrame(board, 4, 4, k);
        return surface.Image().copy(QRect(BoardSurface::CellCorner(4, 4), QSize(36, 36)));
    };

    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    ASSERT_EQ(Grab(display, cell), frame(0)) << "the Tee at rest before the press";

    std::atomic<bool> done{false};
    std::vector<std::pair<Clock::time_point, QImage>> seen;
    Clock::time_point pressed;
    std::thread watcher([&] {
        Display* own = XOpenDisplay(nullptr);
        XTestFakeMotionEvent(own, -1, cell.center().x(), cell.center().y(), CurrentTime);
        XTestFakeButtonEvent(own, 1, True, CurrentTime);
        XTestFakeButtonEvent(own, 1, False, CurrentTime);
        XFlush(own);
        pressed = Clock::now();
        while (!done && Clock::now() - pressed < std::chrono::milliseconds(600)) {
            QImage now = Grab(own, cell);
            if (seen.empty() || seen.back().second != now) seen.emplace_back(Clock::now(), now);
        }
        XCloseDisplay(own);
    });
    // A plain event loop: QTest's waits sleep between rounds and would add
    // their own delay to the press.
    QEventLoop loop;
    QTimer::singleShot(500, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(form.game().board().Piece(4, 4), 12);
    done = true;
    watcher.join();
    XCloseDisplay(display);

    // A left turn from orientation 0 shows frames 1 and 2 on the way to 3.
    int found = 0;
    double firstFrameMs = -1;
    for (int k : {1, 2, 3}) {
        for (const auto& [when, image] : seen) {
            if (image != frame(k)) continue;
            ++found;
            if (k == 1) firstFrameMs = std::chrono::duration<double, std::milli>(when - pressed).count();
            break;
        }
    }
    EXPECT_EQ(found, 3) << "distinct pictures seen: " << seen.size();
    RecordProperty("press_to_first_frame_ms", std::to_string(firstFrameMs));
    std::printf("press to first frame on screen: %.2f ms\n", firstFrameMs);

    answerer.messageKeys = {Qt::Key_Escape};
}

// Streams of real presses: every press is a move of its own, in order,
// whether they come at once or paced slower or faster than a move lasts; the
// board ends as the level tool's replay of the same presses says. The clock
// counts every second meanwhile.
// The game's window over the level file in folder, English chosen, shown and
// past its first activation.
struct SettledWindow {
    explicit SettledWindow(const std::string& folder) {
        settings.Set("tongue", "0");
        form = std::make_unique<TMainForm>(folder, NoiseSheets(), settings);
        answerer.ShowAndSettle(*form);
        QTest::qWait(200);
    }
    MemorySettings settings;
    ModalAnswerer answerer;
    std::unique_ptr<TMainForm> form;
};

class PressStreams : public ::testing::Test {
protected:
    // Five pieces: 20 seconds on the clock, more than the presses take to
    // make or to handle. The End at (9,7) stays dry, so the level is never
    // solved under the presses.
    static LevelRecord Level() {
        return testlevels::Make({{3, 4, 4}, {4, 4, 5}, {5, 4, 20}, {4, 5, 28}, {9, 7, 1}}, 4, 4);
    }

    static std::string FinalBoard(const LevelRecord& level, const std::vector<Move>& moves) {
        HeadlessGame headless(std::vector<LevelRecord>{level});
        headless.Replay(1, moves);
        return Picture(headless.game().board());
    }
    static std::string Picture(const Board& board) {
        std::string text;
        for (int i = 0; i < kCells; ++i)
            text += std::to_string(board.PieceLayer[i]) + (board.ShownWet[i] ? "w " : " ");
        return text;
    }

    // The press after `made` on a game where every wet piece is in `wet`.
    using NextPress =
        std::function<Move(std::mt19937&, const std::vector<Move>& made, const std::vector<Move>& wet)>;

    // count presses from the first seed that gives, each on a piece that
    // holds water at its turn, such that leaving out any one of them gives
    // another final board.
    static std::vector<Move> Presses(const LevelRecord& level, std::size_t count, std::uint32_t seed,
                                     const NextPress& next) {
        for (;; ++seed) {
            std::mt19937 random(seed);
            HeadlessGame headless(std::vector<LevelRecord>{level});
            headless.game().StartLevel(1);
            std::vector<Move> moves;
            while (moves.size() < count) {
                std::vector<Move> wet;
                for (int c = 1; c <= kColumns; ++c)
                    for (int r = 1; r <= kRows; ++r)
                        if (headless.game().board().Piece(c, r) && headless.game().board().IsShownWet(c, r))
                            wet.push_back({random() % 2 ? MouseButton::Left : MouseButton::Right, c, r});
                moves.push_back(next(random, moves, wet));
                if (Press(headless.game(), moves.back()) != MoveResult::Moved) break;
            }
            if (moves.size() < count) continue;
            const std::string full = FinalBoard(level, moves);
            bool everyPressCounts = true;
            for (std::size_t i = 0; i < moves.size() && everyPressCounts; ++i) {
                std::vector<Move> without = moves;
                without.erase(without.begin() + static_cast<std::ptrdiff_t>(i));
                everyPressCounts = FinalBoard(level, without) != full;
            }
            if (everyPressCounts) return moves;
        }
    }

    // What the window made of a stream.
    struct Outcome {
        int handled = 0;
        int timeBefore = 0;   // the clock as the first press went
        int timeAtLast = 0;   // ... just after the last press was handled
        int timeAtEnd = 0;    // ... once the window had nothing left to do
        double making = 0;    // seconds from the first press sent to the last
        double handling = 0;  // ... to the last press handled
        double ended = 0;     // ... to the end
        std::string wet;      // the shown water at the end, as replay prints it
        std::string picture;  // the board at the end
        std::string seen;     // the presses as the board got them
    };

    // Sends each move as a real press and release over its cell, then waits
    // pauses[i] ms, and lets the window handle them as they come.
    static Outcome Play(TMainForm& form, const std::vector<Move>& moves, const std::vector<int>& pauses) {
        Outcome outcome;
        PressLog log;
        auto* box = form.findChild<BoardBox*>();
        box->installEventFilter(&log);
        const auto start = Clock::now();
        auto lastHandled = start;
        const QMetaObject::Connection counting = QObject::connect(box, &BoardBox::pressed, [&] {
            if (++outcome.handled != static_cast<int>(moves.size())) return;
            outcome.timeAtLast = form.game().TimeLeft();
            lastHandled = Clock::now();
        });
        outcome.timeBefore = form.game().TimeLeft();
        Clock::time_point lastSent;
        std::thread sender([&] {
            Display* own = XOpenDisplay(nullptr);
            for (std::size_t i = 0; i < moves.size(); ++i) {
                const QPoint cell = form.mapToGlobal(WindowPoint(moves[i].column, moves[i].row));
                XTestFakeMotionEvent(own, -1, cell.x(), cell.y(), CurrentTime);
                const unsigned button = moves[i].button == MouseButton::Left ? 1 : 3;
                XTestFakeButtonEvent(own, button, True, CurrentTime);
                XTestFakeButtonEvent(own, button, False, CurrentTime);
                XSync(own, False);
                lastSent = Clock::now();
                if (pauses[i]) std::this_thread::sleep_for(std::chrono::milliseconds(pauses[i]));
            }
            XCloseDisplay(own);
        });
        // A move lasts up to 400 ms: at the faster paces the presses queue up.
        while (outcome.handled < static_cast<int>(moves.size()) &&
               Clock::now() - start < std::chrono::seconds(40))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        sender.join();
        QTest::qWait(300);
        QObject::disconnect(counting);
        box->removeEventFilter(&log);
        outcome.timeAtEnd = form.game().TimeLeft();
        outcome.ended = std::chrono::duration<double>(Clock::now() - start).count();

        const Board& board = form.game().board();
        outcome.wet.assign(kCells, '0');
        for (int i = 0; i < kCells; ++i) outcome.wet[i] = board.ShownWet[i] ? '1' : '0';
        outcome.picture = Picture(board);
        outcome.making = std::chrono::duration<double>(lastSent - start).count();
        outcome.handling = std::chrono::duration<double>(lastHandled - start).count();
        outcome.seen = log.text;
        return outcome;
    }

    // The level tool's word on the presses: the water after the last one.
    static std::string ReplayWet(const testlevels::TempFolder& folder, const std::vector<Move>& moves) {
        std::vector<std::string> args{"replay", (folder.path() / "aqnd.dat").string(), "1"};
        for (const Move& move : moves) args.push_back(FormatMove(move));
        std::ostringstream out, err;
        EXPECT_EQ(RunLevelsTool(args, out, err), 0) << err.str();
        const std::string replay = out.str();
        std::size_t moved = 0;
        for (auto at = replay.find(" moved "); at != std::string::npos; at = replay.find(" moved ", at + 1))
            ++moved;
        EXPECT_EQ(moved, moves.size()) << replay;
        const std::string lastLine = replay.substr(replay.rfind('\n', replay.size() - 2) + 1);
        return lastLine.substr(lastLine.rfind(' ') + 1, kCells);
    }

    static int Runs() {
        const char* runsText = std::getenv("AQUENDO_PRESS_BURST_RUNS");
        return runsText && *runsText ? std::atoi(runsText) : 1;
    }

    // Every press, in the order the board got it, with its kind and X time.
    struct PressLog : QObject {
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                const QPoint at = mouse->position().toPoint();
                text += (mouse->button() == Qt::LeftButton    ? "L"
                         : mouse->button() == Qt::RightButton ? "R"
                                                              : "M") +
                        std::to_string((at.x() - kGridLeft) / kCellSize + 1) + "," +
                        std::to_string((at.y() - kGridTop) / kCellSize + 1) +
                        (event->type() == QEvent::MouseButtonDblClick ? "d" : "") + "@" +
                        std::to_string(mouse->timestamp() % 100000) + " ";
            }
            return false;
        }
        std::string text;
    };

    // The stream played runs times on fresh windows over the level; each run
    // ends on the board the replay gives, with every second counted in the
    // order of the events: the ticks that came due before the last press was
    // made are handled before it, the others after it.
    static void Expect(const LevelRecord& level, const std::function<std::vector<Move>(int run)>& moves,
                       const std::function<std::vector<int>(int run)>& pauses) {
        testlevels::TempFolder folder;
        folder.WriteLevels({level});
        const int runs = Runs();
        int passed = 0;
        for (int run = 0; run < runs; ++run) {
            const std::vector<Move> presses = moves(run);
            const std::string replayWet = ReplayWet(folder, presses);
            SettledWindow window(folder.Folder());
            TMainForm& form = *window.form;
            const Outcome outcome = Play(form, presses, pauses(run));
            const bool right = outcome.handled == static_cast<int>(presses.size()) &&
                               outcome.wet == replayWet && outcome.picture == FinalBoard(level, presses);
            EXPECT_TRUE(right) << "run " << run + 1 << ": " << outcome.handled << " of " << presses.size()
                               << " presses handled\n sent " << FormatMoves(presses) << "\n seen "
                               << outcome.seen << "\n water " << outcome.wet << "\n rules " << replayWet;
            EXPECT_EQ(form.game().State(), PlayState::Running) << "run " << run + 1;
            const double atLast = outcome.timeBefore - outcome.timeAtLast;
            const double atEnd = outcome.timeBefore - outcome.timeAtEnd;
            EXPECT_NEAR(atLast, outcome.making, 1.5) << "run " << run + 1 << ": the clock at the last press";
            EXPECT_NEAR(atEnd, outcome.ended, 1.5) << "run " << run + 1 << ": the clock at the end";
            if (right && std::abs(atLast - outcome.making) <= 1.5 && std::abs(atEnd - outcome.ended) <= 1.5)
                ++passed;
            std::printf(
                "run %d: made in %.1f s, handled in %.1f s, clock %d, %d at the last, %d after %.1f s\n",
                run + 1, outcome.making, outcome.handling, outcome.timeBefore, outcome.timeAtLast,
                outcome.timeAtEnd, outcome.ended);
            window.answerer.messageKeys = {Qt::Key_Escape};
        }
        RecordProperty("runs_passed", std::to_string(passed) + " of " + std::to_string(runs));
        std::printf("%d of %d runs right\n", passed, runs);
    }
};

class PressBurst : public PressStreams, public ::testing::WithParamInterface<int> {};

TEST_P(PressBurst, EveryPressIsAMoveInOrder) {
    const int pause = GetParam();
    // Every other press or so on the piece just turned, with the same button:
    // most of those come as double clicks.
    const std::vector<Move> moves =
        Presses(Level(), 40, 1,
                [](std::mt19937& random, const std::vector<Move>& made, const std::vector<Move>& wet) {
                    return !made.empty() && random() % 2 ? made.back() : wet[random() % wet.size()];
                });
    RecordProperty("presses", FormatMoves(moves));
    Expect(
        Level(), [&](int) { return moves; }, [&](int) { return std::vector<int>(moves.size(), pause); });
}

// 0: all at once; 100 and 150 come faster than a move lasts, 250 in between.
INSTANTIATE_TEST_SUITE_P(Paces, PressBurst, ::testing::Values(0, 100, 150, 250),
                         [](const auto& info) { return "pause" + std::to_string(info.param) + "ms"; });

// Runs of one to four presses on one cell, each with either button, 120 to
// 200 ms apart: presses and double clicks that straddle the moves' waits.
// Each run its own pattern and paces (AQUENDO_PRESS_BURST_SEED picks the first).
TEST_F(PressStreams, RunsOnOneCellAtVariedPaces) {
    const char* seedText = std::getenv("AQUENDO_PRESS_BURST_SEED");
    const std::uint32_t first = seedText && *seedText ? static_cast<std::uint32_t>(std::atol(seedText))
                                                      : static_cast<std::uint32_t>(std::random_device()());
    std::printf("first seed %u\n", first);
    RecordProperty("first_seed", std::to_string(first));
    Expect(
        Level(),
        [&](int run) {
            int left = 0;  // presses still to come on the cell of the last
            return Presses(
                Level(), 40, first + static_cast<std::uint32_t>(run) * 1000,
                [&left](std::mt19937& random, const std::vector<Move>& made, const std::vector<Move>& wet) {
                    Move next = made.empty() ? wet[0] : made.back();
                    if (made.empty() || left == 0) {
                        next = wet[random() % wet.size()];
                        left = static_cast<int>(random() % 4);
                    } else {
                        --left;
                    }
                    next.button = random() % 2 ? MouseButton::Left : MouseButton::Right;
                    return next;
                });
        },
        [&](int run) {
            std::mt19937 random(first + static_cast<std::uint32_t>(run));
            std::vector<int> pauses(40);
            for (int& pause : pauses) pause = 120 + static_cast<int>(random() % 81);
            return pauses;
        });
}

// Presses a little faster than the moves, 300 ms apart for 10 s: they queue,
// and still the clock goes down by the seconds that passed, not by one or
// two as when a tick waited until no press did.
TEST_F(PressStreams, TheClockRunsWhilePressesQueue) {
    // Ten pieces, 40 s; the five Ends in the corners and at (9,7) stay dry.
    const LevelRecord level = testlevels::Make({{3, 4, 4},
                                                {4, 4, 5},
                                                {5, 4, 20},
                                                {4, 5, 28},
                                                {9, 7, 1},
                                                {1, 1, 1},
                                                {10, 1, 1},
                                                {1, 8, 1},
                                                {10, 8, 1},
                                                {7, 1, 1}},
                                               4, 4);
    const std::vector<Move> moves = Presses(
        level, 34, 1, [](std::mt19937& random, const std::vector<Move>&, const std::vector<Move>& wet) {
            return wet[random() % wet.size()];
        });
    testlevels::TempFolder folder;
    folder.WriteLevels({level});
    SettledWindow window(folder.Folder());
    TMainForm& form = *window.form;
    ASSERT_EQ(form.game().TimeLeft(), 40);
    const Outcome outcome = Play(form, moves, std::vector<int>(moves.size(), 300));
    std::printf("made in %.1f s, handled in %.1f s, clock %d, %d at the last press, %d after %.1f s\n",
                outcome.making, outcome.handling, outcome.timeBefore, outcome.timeAtLast, outcome.timeAtEnd,
                outcome.ended);
    EXPECT_EQ(outcome.handled, static_cast<int>(moves.size()));
    EXPECT_GE(outcome.timeBefore - outcome.timeAtLast, 9);
    EXPECT_LE(outcome.timeBefore - outcome.timeAtLast, 11);
    window.answerer.messageKeys = {Qt::Key_Escape};
}

}  // namespace
