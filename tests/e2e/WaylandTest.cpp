// The game as a native Wayland client of weston: every window appears with the
// main window as its transient parent, the frames of a move reach the
// compositor while the game waits, and the stored placement is kept. Under
// sway: a dialog keeps the keyboard and the top after a click on the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <map>
#include <thread>

#include "store/MemorySettings.h"
#include "tests/support/Levels.h"
#include "tests/support/ModalWatcher.h"
#include "tests/support/NoiseSheets.h"
#include "tests/support/WindowPoint.h"
#include "view/BoardSurface.h"
#include "windows/MainForm.h"
#include "windows/Splash.h"

namespace {

constexpr const char* kPlacement = "200,0,1,312,184,818,583";

// A Tee with a cross on each side, and a dry cross so the level stays unsolved:
// each turn wets one neighbour and dries another.
const LevelRecord kLevel =
    testlevels::Make({{4, 4, 4}, {3, 4, 5}, {5, 4, 5}, {4, 3, 5}, {4, 5, 5}, {9, 7, 5}}, 4, 4);

class Wayland : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QGuiApplication::platformName().startsWith("wayland")) << "runs under WestonRun.sh";
        folder.WriteLevels({kLevel});
        settings.Set("MainForm", kPlacement);
    }
    testlevels::TempFolder folder;
    MemorySettings settings;
};

// Each modal window is written down with its transient parent once the
// compositor shows it.
TEST_F(Wayland, EveryWindowAppearsOverTheMainWindowAndThePlacementIsKept) {
    std::map<std::string, const QWindow*> parents;
    ModalWatcher watcher([&](QWidget* modal) {
        if (!modal->windowHandle() || !modal->windowHandle()->isExposed()) return false;
        parents[modal->objectName().toStdString()] = modal->windowHandle()->transientParent();
        return true;
    });
    {
        TMainForm form(folder.Folder(), NoiseSheets(), settings);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return parents.count("TongueDlg") && !QApplication::activeModalWidget(); }, 8000));
        form.ShowMessage(2);
        form.ShowAbout();
        for (const char* name : {"Splash", "TongueDlg", "YesNoDlg", "AboutBox"}) {
            ASSERT_TRUE(parents.count(name)) << name << " never appeared";
            EXPECT_EQ(parents[name], form.windowHandle()) << name;
        }
    }
    EXPECT_EQ(settings.Read(settings::MainForm), kPlacement);
}

// Where the board's picture lies in a screenshot: found by a cell the move
// leaves alone.
std::optional<QPoint> FindBoard(const QImage& shot, const QImage& board) {
    const QPoint cell = BoardSurface::CellCorner(1, 1);
    const QRgb first = board.pixel(cell) & 0xFFFFFF;
    for (int y = cell.y(); y + board.height() - cell.y() <= shot.height(); ++y)
        for (int x = cell.x(); x + board.width() - cell.x() <= shot.width(); ++x) {
            if ((shot.pixel(x, y) & 0xFFFFFF) != first) continue;
            const QRect square(x, y, kCellSize, kCellSize);
            if (shot.copy(square).convertToFormat(QImage::Format_RGB32) ==
                board.copy(QRect(cell, square.size())).convertToFormat(QImage::Format_RGB32))
                return QPoint(x - cell.x(), y - cell.y());
        }
    return {};
}

TEST_F(Wayland, FramesOfAMoveReachTheCompositorWhileTheGameWaits) {
    settings.Set("tongue", "0");
    TMainForm form(folder.Folder(), NoiseSheets(), settings);
    ModalWatcher splash(
        [](QWidget* modal) { return modal->windowHandle() && modal->windowHandle()->isExposed(); });
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !QApplication::activeModalWidget() && !form.Splash()->isVisible(); }));
    QTest::qWait(200);
    const QImage before = form.surface().Image().copy();

    // The screenshot is taken while the press is being handled: 400 ms of
    // frames, the water's from 100 ms on.
    QTemporaryDir shots;
    std::thread shooter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(220));
        const std::string command = "cd '" + shots.path().toStdString() + "' && weston-screenshooter";
        EXPECT_EQ(std::system(command.c_str()), 0);
    });
    const QPoint tee = WindowPoint(4, 4);
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, tee);
    shooter.join();
    const QImage after = form.surface().Image().copy();
    ASSERT_NE(before, after);

    const QStringList files = QDir(shots.path()).entryList({"*.png"});
    ASSERT_EQ(files.size(), 1);
    const QImage shot(shots.filePath(files.first()));
    const auto origin = FindBoard(shot, before);
    ASSERT_TRUE(origin) << "the board is not in the screenshot";
    // The Tee and its neighbours, which the move draws anew.
    const QRect moved(BoardSurface::CellCorner(3, 3), QSize(3 * kCellSize, 3 * kCellSize));
    const QImage seen = shot.copy(moved.translated(*origin)).convertToFormat(QImage::Format_RGB32);
    EXPECT_NE(seen, before.copy(moved).convertToFormat(QImage::Format_RGB32))
        << "no frame of the move reached the compositor";
    EXPECT_NE(seen, after.copy(moved).convertToFormat(QImage::Format_RGB32))
        << "the screenshot came after the move";
}

// sway's floating windows, bottom first, from its tree.
struct SwayWindow {
    std::string name;
    QRect rect;
    bool focused;
};
std::vector<SwayWindow> SwayWindows() {
    QProcess tree;
    tree.start("swaymsg", {"-t", "get_tree"});
    tree.waitForFinished();
    std::vector<SwayWindow> found;
    std::function<void(const QJsonObject&)> walk = [&](const QJsonObject& node) {
        for (const auto& child : node["nodes"].toArray()) walk(child.toObject());
        for (const auto& child : node["floating_nodes"].toArray()) {
            const QJsonObject window = child.toObject();
            const QJsonObject r = window["rect"].toObject();
            found.push_back({window["name"].toString().toStdString(),
                             QRect(r["x"].toInt(), r["y"].toInt(), r["width"].toInt(), r["height"].toInt()),
                             window["focused"].toBool()});
        }
    };
    walk(QJsonDocument::fromJson(tree.readAllStandardOutput()).object());
    return found;
}

bool Tool(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.start(program, arguments);
    return tool.waitForFinished() && tool.exitCode() == 0;
}

// Real input through the compositor: sway's seat clicks the main window's
// corner, which the dialog leaves free, and wtype types as a keyboard would.
TEST_F(Wayland, SwayADialogKeepsTheKeyboardAndTheTopAfterAClickOnTheMainWindow) {
    if (qEnvironmentVariableIsEmpty("SWAYSOCK")) GTEST_SKIP() << "runs under SwayRun.sh";
    settings.Set("tongue", "0");
    TMainForm form(folder.Folder(), NoiseSheets(), settings);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !QApplication::activeModalWidget() && !form.Splash()->isVisible(); }));

    QWidget* keysTo = nullptr;
    struct KeyWatch : QObject {
        QWidget*& to;
        explicit KeyWatch(QWidget*& to) : to(to) {}
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::KeyPress && watched->isWidgetType())
                to = static_cast<QWidget*>(watched)->window();
            return false;
        }
    } keyWatch(keysTo);
    qApp->installEventFilter(&keyWatch);

    std::vector<SwayWindow> afterClick;
    QDialog* dialog = nullptr;
    QTimer::singleShot(0, &form, [&] {
        dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        // Settled: the compositor may move the focus once more as the splash goes.
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->isActiveWindow(); }));
        QTest::qWait(300);
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->isActiveWindow(); }));
        const auto windows = SwayWindows();
        const auto main = std::find_if(windows.begin(), windows.end(), [&](const SwayWindow& w) {
            return w.name == form.windowTitle().toStdString();
        });
        if (main == windows.end()) {
            ADD_FAILURE() << "sway shows no main window";
        } else {
            const QPoint corner = main->rect.topLeft() + QPoint(20, 20);
            EXPECT_TRUE(Tool("swaymsg", {"seat", "-", "cursor", "set", QString::number(corner.x()),
                                         QString::number(corner.y())}));
            EXPECT_TRUE(Tool("swaymsg", {"seat", "-", "cursor", "press", "button1"}));
            EXPECT_TRUE(Tool("swaymsg", {"seat", "-", "cursor", "release", "button1"}));
            // Long enough for the main window's activation to arrive and be answered.
            QTest::qWait(500);
            (void)QTest::qWaitFor([&] { return dialog->isActiveWindow(); }, 2000);
            afterClick = SwayWindows();
            // The game binds the virtual keyboard only while its loop runs.
            QProcess typing;
            typing.start("wtype", {"-s", "300", "x", "-s", "300"});
            (void)QTest::qWaitFor([&] { return keysTo != nullptr; }, 2000);
            typing.waitForFinished();
        }
        dialog->done(0);
    });
    form.ShowMessage(2);

    ASSERT_GE(afterClick.size(), 2U);
    EXPECT_NE(afterClick.back().name, form.windowTitle().toStdString())
        << "the main window went over the dialog";
    EXPECT_TRUE(afterClick.back().focused) << "the dialog lost sway's focus";
    // A key sent to the blocked main window never reaches a widget.
    EXPECT_EQ(keysTo, dialog) << "the dialog got no key";
}

}  // namespace
