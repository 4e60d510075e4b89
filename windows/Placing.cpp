#include "windows/Placing.h"

#include <QScreen>
#include <QWidget>

#include "view/WindowFrame.h"

OuterWindow OuterOf(QWidget* window) {
    const QMargins frame = FrameMargins(window);
    return WithFrame(window->width(), window->height(), frame.left(), frame.top(), frame.right(),
                     frame.bottom(), window->devicePixelRatioF());
}

QRect OuterRect(QWidget* window) {
    const OuterWindow outer = OuterOf(window);
    const QRect client = window->geometry();
    return {client.left() - (outer.width - client.width()) / 2, client.top() - outer.titleHeight, outer.width,
            outer.height};
}

void CentreOver(QWidget* window, QWidget* over) {
    if (!CanPlaceWindows()) return;
    const OuterWindow outer = OuterOf(window);
    MoveFrameTo(window, CentredOver(QSize(outer.width, outer.height), OuterRect(over),
                                    over->screen()->availableGeometry()));
}
