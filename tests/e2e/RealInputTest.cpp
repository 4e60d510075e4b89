// A real X server, real X mouse input: a press on a wet piece turns it, and
// the screen shows the turn's in-between frames while the game waits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "game/MainForm.h"
#include "store/MemorySettings.h"
#include "tests/support/Levels.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/NoiseSheets.h"
#include "view/BoardSurface.h"

// Last: Xlib's macros would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace {

using Clock = std::chrono::steady_clock;

// The cell's pixels as the screen shows them, read over a connection of its own.
QImage Grab(Display* display, QRect area) {
    XImage* shot = XGetImage(display, DefaultRootWindow(display), area.x(), area.y(), area.width(), area.height(),
                             AllPlanes, ZPixmap);
    QImage image(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x) image.setPixel(x, y, 0xFF000000u | (XGetPixel(shot, x, y) & 0xFFFFFFu));
    XDestroyImage(shot);
    return image;
}

TEST(RealInput, TurnFramesReachTheScreenDuringTheWaits) {
    testlevels::TempFolder folder;
    // A Tee at (4,4) as the source, and a dry piece so the level stays unsolved.
    testlevels::WriteFile(folder.path() / "aqnd.dat",
                          testlevels::Bytes({testlevels::Make({{4, 4, 4}, {9, 7, 5}}, 4, 4)}));
    MemorySettings settings;
    settings.Set("tongue", "0");
    ModalAnswerer answerer;
    const SpriteSheets sheets = NoiseSheets();
    TMainForm form(folder.Folder(), sheets, settings);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QTest::qWait(200);

    const QPoint cellOnScreen = form.mapToGlobal(QPoint(0, TMainForm::kToolBarHeight) + BoardSurface::CellCorner(4, 4));
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

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
