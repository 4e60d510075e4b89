#include "windows/ModalFront.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#ifdef AQUENDO_PLATFORM_WINDOW
#include <qpa/qplatformwindow.h>

namespace {

void MapAgain(QWidget* modal) {
    // The platform window only: hiding the widget would end its modal loop.
    QWindow* window = modal->windowHandle();
    if (!window || !window->handle()) return;
    window->handle()->setVisible(false);
    window->handle()->setVisible(true);
}

class ModalKeeper : public QObject {
public:
    explicit ModalKeeper(QObject* owner) : QObject(owner) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::WindowActivate) return false;
        auto* window = qobject_cast<QWidget*>(watched);
        QWidget* modal = QApplication::activeModalWidget();
        if (!window || !window->isWindow() || !modal) return false;
        if (window == modal) {
            m_mapping = nullptr;
            return false;
        }
        // While the dialog is away the compositor hands the keyboard to the
        // window below: that activation is ours, not the player's.
        if (m_mapping == modal) return false;
        m_mapping = modal;
        // Not while the activation is being handled: the surface goes away.
        QMetaObject::invokeMethod(
            this,
            [modal = QPointer<QWidget>(modal)] {
                // An activation that a later one has undone already.
                if (!modal || modal != QApplication::activeModalWidget() ||
                    QGuiApplication::focusWindow() == modal->windowHandle())
                    return;
                MapAgain(modal);
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    QPointer<QWidget> m_mapping;  // the dialog mapped again until it is active
};

}  // namespace

void KeepModalInFront(QObject* owner) {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) new ModalKeeper(owner);
}
#else
// Built without Qt's private headers: the compositor's behaviour is kept.
void KeepModalInFront(QObject* /*owner*/) {}
#endif
