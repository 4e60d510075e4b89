#include "game/Placing.h"

#include <QScreen>
#include <QWidget>

#include "view/WindowFrame.h"

OuterWindow OuterOf(QWidget* window) {
    const QMargins frame = FrameMargins(window);
    return WithFrame(window->width(), window->height(), frame.left(), frame.top(), frame.right(), frame.bottom(),
                     window->devicePixelRatioF());
}

void CentreOver(QWidget* window, const QWidget* over) {
    if (!CanPlaceWindows()) return;
    const OuterWindow outer = OuterOf(window);
    MoveFrameTo(window, CentredOver(QSize(outer.width, outer.height), over->frameGeometry(),
                                    over->screen()->availableGeometry()));
}
