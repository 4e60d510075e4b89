#include "windows/Placing.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "view/WindowFrame.h"

namespace {

OuterWindow OuterWith(QWidget* window, QMargins frame) {
    return WithFrame(window->width(), window->height(), frame.left(), frame.top(), frame.right(),
                     frame.bottom(), window->devicePixelRatioF());
}

// Whether the modal widget keeps the keyboard from the window.
bool Blocks(const QWidget* modal, const QWidget* window) {
    if (!window || window == modal || window->windowType() == Qt::Popup ||
        window->windowType() == Qt::ToolTip)
        return false;
    if (modal->windowModality() == Qt::ApplicationModal) return true;
    for (const QWidget* up = modal->parentWidget(); up; up = up->parentWidget())
        if (up->window() == window) return true;
    return false;
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

void PlaceFramed(QWidget* window, const std::function<void(const OuterWindow&)>& place) {
    const QMargins assumed = FrameMargins(window);
    place(OuterWith(window, assumed));
    WhenFramed(window, assumed, [window, place](QMargins frame) { place(OuterWith(window, frame)); });
}

void PutFrame(QWidget* window, QPoint topLeft) {
    if (window->isVisible() && window->windowHandle())
        window->windowHandle()->setFramePosition(topLeft);
    else
        MoveFrameTo(window, topLeft);
}

void CentreOver(QWidget* window, QWidget* over) {
    if (!CanPlaceWindows()) return;
    PlaceFramed(window, [window, over](const OuterWindow& outer) {
        PutFrame(window, CentredOver(QSize(outer.width, outer.height), OuterRect(over),
                                     over->screen()->availableGeometry()));
    });
}

void KeepModalDialogsInFront() {
    constexpr const char* kKept = "aquendoModalsKeptInFront";
    if (qApp->property(kKept).toBool()) return;
    qApp->setProperty(kKept, true);
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, qApp, [](QWindow* focus) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!focus || !modal || !modal->isVisible()) return;
        const QWidgetList windows = QApplication::topLevelWidgets();
        const auto found = std::find_if(windows.begin(), windows.end(),
                                        [focus](QWidget* w) { return w->windowHandle() == focus; });
        if (found == windows.end() || !Blocks(modal, *found)) return;
        modal->raise();
        modal->activateWindow();
    });
}
