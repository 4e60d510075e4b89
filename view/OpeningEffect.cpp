#include "view/OpeningEffect.h"

#include <QCursor>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>

#include <xcb/xcb.h>

namespace {

// The pause before each rectangle is a busy count, not a sleep: a sleep this
// short overshoots by the kernel's timer slack (about 50 us) each time, and
// 80 of them held the window back by 16 ms.
constexpr int kPauseCount = 3 * 10000;

void Pause() {
    volatile int count = 0;
    while (count < kPauseCount) count = count + 1;
}

// In double: the distance between two ints may not fit one. The result lies
// between from and to, so it does.
int Step(int from, int to, int i) {
    return static_cast<int>(std::lround(from + (double(to) - from) * i / kOpeningSteps));
}

// X draws in 16-bit coordinates.
int16_t Coordinate(int value) {
    return static_cast<int16_t>(std::clamp(value, -32768, 32767));
}
uint16_t Extent(int value) {
    return static_cast<uint16_t>(std::clamp(value - 1, 0, 65535));
}

}  // namespace

std::vector<QRect> OpeningRectangles(QPoint pointer, QRect window) {
    std::vector<QRect> rectangles;
    for (int i = 1; i <= kOpeningSteps; ++i) {
        rectangles.emplace_back(Step(pointer.x(), window.left(), i), Step(pointer.y(), window.top(), i),
                                Step(0, window.width(), i), Step(0, window.height(), i));
    }
    return rectangles;
}

void PlayOpeningEffect(QRect window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return;
    xcb_connection_t* connection = x11->connection();
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    if (!screen) return;

    // Inverting twice restores every pixel; include-inferiors draws over the
    // windows on the screen too, not only the bare root.
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    const uint32_t mask =
        XCB_GC_FUNCTION | XCB_GC_LINE_STYLE | XCB_GC_SUBWINDOW_MODE | XCB_GC_GRAPHICS_EXPOSURES;
    const uint32_t values[] = {XCB_GX_INVERT, XCB_LINE_STYLE_ON_OFF_DASH,
                               XCB_SUBWINDOW_MODE_INCLUDE_INFERIORS, 0};
    xcb_create_gc(connection, gc, screen->root, mask, values);
    const uint8_t dashes[] = {1, 1};
    xcb_set_dashes(connection, gc, 0, 2, dashes);

    const std::vector<QRect> rectangles = OpeningRectangles(QCursor::pos(), window);
    for (int pass = 0; pass < 2; ++pass) {
        for (const QRect& r : rectangles) {
            Pause();
            const xcb_rectangle_t box{Coordinate(r.left()), Coordinate(r.top()), Extent(r.width()),
                                      Extent(r.height())};
            xcb_poly_rectangle(connection, screen->root, gc, 1, &box);
            xcb_flush(connection);
        }
    }
    xcb_free_gc(connection, gc);
    xcb_flush(connection);
}
