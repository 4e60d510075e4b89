// A real X server, real X mouse input: a press on a wet piece turns it, and
// the screen shows the turn's in-between frames while the game waits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <atomic>
#include <chrono>
#include <cstdlib>
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

// Every press of a stream of real presses is a move of its own, in order,
// whether they come at once or paced slower or faster than a move lasts; the
// board ends as the level tool's replay of the same presses says.
class PressBurst : public ::testing::TestWithParam<int> {
protected:
    // Five pieces: 20 seconds on the clock, more than the presses take to
    // make at any pace here, less than they may take to handle. The End at
    // (9,7) stays dry, so the level is never solved under the presses.
    static LevelRecord Level() {
        return testlevels::Make({{3, 4, 4}, {4, 4, 5}, {5, 4, 20}, {4, 5, 28}, {9, 7, 1}}, 4, 4);
    }

    static std::string FinalBoard(const std::vector<Move>& moves) {
        HeadlessGame headless(std::vector<LevelRecord>{Level()});
        headless.Replay(1, moves);
        return Picture(headless.game().board());
    }
    static std::string Picture(const Board& board) {
        std::string text;
        for (int i = 0; i < kCells; ++i)
            text += std::to_string(board.PieceLayer[i]) + (board.ShownWet[i] ? "w " : " ");
        return text;
    }

    // 40 presses, each on a piece that holds water at its turn, such that
    // leaving out any one of them gives another final board.
    static std::vector<Move> Presses() {
        for (std::uint32_t seed = 1;; ++seed) {
            std::mt19937 random(seed);
            HeadlessGame headless(std::vector<LevelRecord>{Level()});
            headless.game().StartLevel(1);
            std::vector<Move> moves;
            while (moves.size() < 40) {
                std::vector<Move> wet;
                for (int c = 1; c <= kColumns; ++c)
                    for (int r = 1; r <= kRows; ++r)
                        if (headless.game().board().Piece(c, r) && headless.game().board().IsShownWet(c, r))
                            wet.push_back({random() % 2 ? MouseButton::Left : MouseButton::Right, c, r});
                // Every other press or so on the piece just turned, with the
                // same button: most of those come as double clicks.
                moves.push_back(!moves.empty() && random() % 2 ? moves.back() : wet[random() % wet.size()]);
                if (Press(headless.game(), moves.back()) != MoveResult::Moved) break;
            }
            if (moves.size() < 40) continue;
            const std::string full = FinalBoard(moves);
            bool everyPressCounts = true;
            for (std::size_t i = 0; i < moves.size() && everyPressCounts; ++i) {
                std::vector<Move> without = moves;
                without.erase(without.begin() + static_cast<std::ptrdiff_t>(i));
                everyPressCounts = FinalBoard(without) != full;
            }
            if (everyPressCounts) return moves;
        }
    }
};

TEST_P(PressBurst, EveryPressIsAMoveInOrder) {
    const int pause = GetParam();
    const std::vector<Move> moves = Presses();
    RecordProperty("presses", FormatMoves(moves));

    // The level tool's word on the presses: the water after the last one.
    testlevels::TempFolder folder;
    folder.WriteLevels({Level()});
    std::vector<std::string> args{"replay", (folder.path() / "aqnd.dat").string(), "1"};
    for (const Move& move : moves) args.push_back(FormatMove(move));
    std::ostringstream out, err;
    ASSERT_EQ(RunLevelsTool(args, out, err), 0) << err.str();
    const std::string replay = out.str();
    const std::string lastLine = replay.substr(replay.rfind('\n', replay.size() - 2) + 1);
    std::size_t moved = 0;
    for (auto at = replay.find(" moved "); at != std::string::npos; at = replay.find(" moved ", at + 1))
        ++moved;
    ASSERT_EQ(moved, moves.size()) << replay;
    const std::string replayWet = lastLine.substr(lastLine.rfind(' ') + 1, kCells);
    const std::string expected = FinalBoard(moves);

    const char* runsText = std::getenv("AQUENDO_PRESS_BURST_RUNS");
    const int runs = runsText && *runsText ? std::atoi(runsText) : 1;
    int passed = 0;
    for (int run = 0; run < runs; ++run) {
        MemorySettings settings;
        settings.Set("tongue", "0");
        ModalAnswerer answerer;
        TMainForm form(folder.Folder(), NoiseSheets(), settings);
        answerer.ShowAndSettle(form);
        QTest::qWait(200);
        int handled = 0;
        QObject::connect(form.findChild<BoardBox*>(), &BoardBox::pressed, [&] { ++handled; });

        const int timeBefore = form.game().TimeLeft();
        const auto start = Clock::now();
        Clock::time_point lastSent;
        std::thread sender([&] {
            Display* own = XOpenDisplay(nullptr);
            for (const Move& move : moves) {
                const QPoint cell = form.mapToGlobal(WindowPoint(move.column, move.row));
                XTestFakeMotionEvent(own, -1, cell.x(), cell.y(), CurrentTime);
                const unsigned button = move.button == MouseButton::Left ? 1 : 3;
                XTestFakeButtonEvent(own, button, True, CurrentTime);
                XTestFakeButtonEvent(own, button, False, CurrentTime);
                XSync(own, False);
                lastSent = Clock::now();
                if (pause) std::this_thread::sleep_for(std::chrono::milliseconds(pause));
            }
            XCloseDisplay(own);
        });
        // A move lasts up to 400 ms: at the faster paces the presses queue up.
        while (handled < static_cast<int>(moves.size()) && Clock::now() - start < std::chrono::seconds(30))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        sender.join();
        QTest::qWait(300);

        const Board& board = form.game().board();
        std::string wet(kCells, '0');
        for (int i = 0; i < kCells; ++i) wet[i] = board.ShownWet[i] ? '1' : '0';
        EXPECT_EQ(handled, static_cast<int>(moves.size())) << "presses handled, run " << run + 1;
        EXPECT_EQ(wet, replayWet) << "run " << run + 1;
        EXPECT_EQ(Picture(board), expected) << "run " << run + 1;
        EXPECT_EQ(form.game().State(), PlayState::Running);
        // The clock runs while the game waits for presses, not while presses
        // wait for the game. Presses faster than the moves leave it no wait
        // until the last is handled: a tick or two go by, however long the
        // handling takes. At 250 ms about every other move is quicker than
        // the pace; still the clock must not run while presses queue.
        const double making = std::chrono::duration<double>(lastSent - start).count();
        const int timeLeast = timeBefore - (pause <= 150 ? 3 : static_cast<int>(making / 2) + 2);
        EXPECT_GE(form.game().TimeLeft(), timeLeast)
            << "run " << run + 1 << ": presses made in " << making << " s";
        if (handled == static_cast<int>(moves.size()) && wet == replayWet && Picture(board) == expected &&
            form.game().TimeLeft() >= timeLeast)
            ++passed;
        std::printf("run %d: made in %.1f s, handled in %.1f s, %d of %d s left\n", run + 1, making,
                    std::chrono::duration<double>(Clock::now() - start).count(), form.game().TimeLeft(),
                    timeBefore);
        answerer.messageKeys = {Qt::Key_Escape};
    }
    RecordProperty("runs_passed", std::to_string(passed) + " of " + std::to_string(runs));
    std::printf("pause %d ms: %d of %d runs right\n", pause, passed, runs);
}

// 0: all at once; 100 and 150 come faster than a move lasts, 250 in between.
INSTANTIATE_TEST_SUITE_P(Paces, PressBurst, ::testing::Values(0, 100, 150, 250),
                         [](const auto& info) { return "pause" + std::to_string(info.param) + "ms"; });

}  // namespace
