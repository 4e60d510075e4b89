#include "windows/Placing.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "view/WindowFrame.h"

namespace {

OuterWindow OuterWith(QWidget* window, QMargins frame) {
    return WithFrame(window->width(), window->height(), frame.left(), frame.top(), frame.right(),
                     frame.bottom(), window->devicePixelRatioF());
}

}  // namespace

OuterWindow OuterOf(QWidget* window) {
    return OuterWith(window, FrameMargins(window));
}

QRect OuterRect(QWidget* window) {
    const OuterWindow outer = OuterOf(window);
    const QRect client = window->geometry();
    return {client.left() - (outer.width - client.width()) / 2, client.top() - outer.titleHeight, outer.width,
            outer.height};
}

QSize DeviceSize(QSize logical, double scale) {
    return {qRound(logical.width() * scale), qRound(logical.height() * scale)};
}

QPoint DevicePoint(QPoint logical, double scale) {
    return {qRound(logical.x() * scale), qRound(logical.y() * scale)};
}

void PlaceFramed(QWidget* window, const Placer& place) {
    const QMargins assumed = FrameMargins(window);
    place(OuterWith(window, assumed), assumed);
    WhenFramed(window, assumed, [window, place](QMargins frame) { place(OuterWith(window, frame), frame); });
}

void PutFrame(QWidget* window, QPoint topLeft) {
    if (!window->isVisible() || !window->windowHandle()) {
        MoveFrameTo(window, topLeft);
        return;
    }
    // Qt may not know the new frame yet: the inner window is placed, the
    // window manager keeps it there.
    const OuterWindow outer = OuterOf(window);
    window->windowHandle()->setPosition(topLeft +
                                        QPoint((outer.width - window->width()) / 2, outer.titleHeight));
}

void CentreOver(QWidget* window, QWidget* over) {
    if (!CanPlaceWindows()) return;
    PlaceFramed(window, [window, over](const OuterWindow& outer, QMargins /*frame*/) {
        PutFrame(window, CentredOver(QSize(outer.width, outer.height), OuterRect(over),
                                     over->screen()->availableGeometry()));
    });
}
