// A real X server with a window manager (openbox, KWin, mutter): every window
// lands where it belongs, frames included, as the X server itself reports
// them, also where the window manager tells the frame only once it has framed
// the window (KWin).
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <map>
#include <string>

#include "store/MemorySettings.h"
#include "tests/support/Levels.h"
#include "tests/support/ModalWatcher.h"
#include "tests/support/NoiseSheets.h"
#include "view/WindowFrame.h"
#include "windows/AboutBox.h"
#include "windows/HelpWindow.h"
#include "windows/MainForm.h"

// Last: Xlib's macros would clash with the names above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

// The window's frame on the screen, once the window manager has framed it.
std::optional<QRect> FrameOnScreen(Display* display, const QWidget* widget) {
    const Window id = widget->internalWinId();
    XWindowAttributes attributes;
    if (!id || !XGetWindowAttributes(display, id, &attributes) || attributes.map_state != IsViewable)
        return {};
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    QMargins frame;
    if (XGetWindowProperty(display, id, XInternAtom(display, "_NET_FRAME_EXTENTS", False), 0, 4, False,
                           XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
        data && count == 4) {
        const auto* v = reinterpret_cast<const long*>(data);
        frame = QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
    }
    if (data) XFree(data);
    int x, y;
    Window child;
    XTranslateCoordinates(display, id, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return QRect(x, y, attributes.width, attributes.height).marginsAdded(frame);
}

// Writes down where each modal window settles: the same frame on three looks
// in a row.
struct Settled {
    explicit Settled(Display* display)
        : watcher([this, display](QWidget* modal) {
              const auto frame = FrameOnScreen(display, modal);
              same = frame && modal == last && frame == lastFrame ? same + 1 : 0;
              last = modal;
              lastFrame = frame;
              if (same < 3) return false;
              last = nullptr;
              seen[modal->objectName().toStdString()] = *frame;
              return true;
          }) {}
    std::map<std::string, QRect> seen;
    QWidget* last = nullptr;
    std::optional<QRect> lastFrame;
    int same = 0;
    ModalWatcher watcher;
};

// The window manager's check window, once it has put it up.
bool WindowManagerRuns(Display* display) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    bool runs = false;
    if (XGetWindowProperty(display, DefaultRootWindow(display),
                           XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False), 0, 1, False, XA_WINDOW,
                           &type, &format, &count, &after, &data) == Success &&
        data && count == 1) {
        XWindowAttributes attributes;
        runs = XGetWindowAttributes(display, *reinterpret_cast<const Window*>(data), &attributes) != 0;
    }
    if (data) XFree(data);
    return runs;
}

QPoint CentredOver(QRect window, QRect over) {
    return over.topLeft() +
           QPoint((over.width() - window.width()) / 2, (over.height() - window.height()) / 2);
}

class Placement : public ::testing::Test {
protected:
    void SetUp() override {
        folder.WriteLevels({testlevels::Make({{4, 4, 4}, {9, 7, 5}}, 4, 4)});
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        screen = QRect(0, 0, DisplayWidth(display, 0), DisplayHeight(display, 0));
        // A window manager that has only just started may not answer yet.
        ASSERT_TRUE(QTest::qWaitFor([&] { return WindowManagerRuns(display); }, 20000));
        QWidget probe;
        // KWin never answers the frame request.
        static_cast<void>(QTest::qWaitFor([&] { return !FrameMargins(&probe).isNull(); }, 1000));
    }
    void TearDown() override {
        if (display) XCloseDisplay(display);
    }
    void ShowAndSettle(TMainForm& form, Settled& watcher, QRect& frame) {
        form.show();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return watcher.seen.count("Splash") && !QApplication::activeModalWidget(); }));
        std::optional<QRect> found;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (found = FrameOnScreen(display, &form)).has_value(); }));
        frame = *found;
    }

    testlevels::TempFolder folder;
    MemorySettings settings;
    Display* display = nullptr;
    QRect screen;
};

TEST_F(Placement, FirstStartCentresTheFrameAndEveryDialogOverIt) {
    Settled watcher(display);
    TMainForm form(folder.Folder(), NoiseSheets(), settings);
    QRect main;
    ShowAndSettle(form, watcher, main);
    EXPECT_EQ(main.topLeft(), CentredOver(main, screen))
        << "frame " << main.width() << " x " << main.height();
    // KWin places a splash window itself, over the window it belongs to.
    const QRect splash = watcher.seen["Splash"];
    if (std::getenv("XVFB_WM") && std::string(std::getenv("XVFB_WM")) == "kwin_x11")
        EXPECT_TRUE(main.contains(splash)) << splash.x() << "," << splash.y();
    else
        EXPECT_EQ(splash.topLeft(), QPoint((screen.width() - 200) / 2, (screen.height() - 150) / 2));
    ASSERT_TRUE(watcher.seen.count("TongueDlg"));
    EXPECT_EQ(watcher.seen["TongueDlg"].topLeft(), CentredOver(watcher.seen["TongueDlg"], main));

    form.ShowMessage(2);
    ASSERT_TRUE(watcher.seen.count("YesNoDlg"));
    EXPECT_EQ(watcher.seen["YesNoDlg"].topLeft(), CentredOver(watcher.seen["YesNoDlg"], main));
    form.ShowAbout();
    ASSERT_TRUE(watcher.seen.count("AboutBox"));
    EXPECT_EQ(watcher.seen["AboutBox"].topLeft(), CentredOver(watcher.seen["AboutBox"], main));

    // 1280 px leave 381 px beside the centred game: the help fits there, narrowed.
    form.OpenHelp(folder.Folder() + "aqnd2.html", "The_game");
    // The game moves it once shown: a loaded machine first shows where the
    // window manager put it.
    const QPoint beside(main.right() + 1 + 8, main.top());
    std::optional<QRect> help;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        help = FrameOnScreen(display, form.HelpWindow());
        return help && help->topLeft() == beside;
    })) << "help frame at "
        << (help ? help->x() : -1) << "," << (help ? help->y() : -1);
    EXPECT_LE(help->right(), screen.right());
    EXPECT_GE(help->width(), THelpWindow::kNarrowest);
}

TEST_F(Placement, RestoreKeepsTheWholeFrameOnTheScreen) {
    settings.Set("tongue", "0");
    settings.Set("MainForm", "200,0,1,5000,5000,0,0");
    Settled watcher(display);
    TMainForm form(folder.Folder(), NoiseSheets(), settings);
    QRect main;
    ShowAndSettle(form, watcher, main);
    EXPECT_EQ(main.right(), screen.right());
    EXPECT_EQ(main.bottom(), screen.bottom());
}

// The stored placement is in the screen's pixels whatever the scale
// (QT_SCALE_FACTOR): a start at another scale finds the window where it was.
TEST_F(Placement, StoredPlacementIsInScreenPixels) {
    settings.Set("tongue", "0");
    settings.Set("MainForm", "200,0,1,100,60,0,0");
    Settled watcher(display);
    QRect main;
    {
        TMainForm form(folder.Folder(), NoiseSheets(), settings);
        ShowAndSettle(form, watcher, main);
        // A frame of an odd height puts the window a device pixel off at a scale of 2.
        EXPECT_LE((main.topLeft() - QPoint(100, 60)).manhattanLength(), form.devicePixelRatioF() > 1 ? 1 : 0)
            << "scale " << form.devicePixelRatioF() << ": " << main.x() << "," << main.y();
        // Written as any end writes it, without a question to answer.
        EXPECT_TRUE(form.KeepUnattended().empty());
    }
    const QRect stored(main.topLeft(), main.size());
    EXPECT_EQ(settings.Read(settings::MainForm),
              "200,0,1," + std::to_string(stored.left()) + "," + std::to_string(stored.top()) + "," +
                  std::to_string(stored.right() + 1) + "," + std::to_string(stored.bottom() + 1));
}

}  // namespace
