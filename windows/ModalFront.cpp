#include "windows/ModalFront.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <vector>

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
        std::erase_if(m_wereActive, [](const QPointer<QWidget>& seen) { return seen.isNull(); });
        const auto seen = std::find(m_wereActive.begin(), m_wereActive.end(), modal);
        if (window == modal) {
            if (seen == m_wereActive.end()) m_wereActive.emplace_back(modal);
            return false;
        }
        // Only a dialog the compositor has shown and activated: one still
        // being shown loses its first frame if its surface goes now (Qt 6.4
        // then never shows it), and while a dialog is away the compositor
        // hands the keyboard to the window below, which is no player's doing.
        if (seen == m_wereActive.end()) return false;
        m_wereActive.erase(seen);
        // Not while the activation is being handled: the surface goes away.
        QMetaObject::invokeMethod(
            this,
            [modal = QPointer<QWidget>(modal)] {
                if (modal && modal == QApplication::activeModalWidget()) MapAgain(modal);
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    std::vector<QPointer<QWidget>> m_wereActive;  // dialogs activated since last mapped
};

}  // namespace

void KeepModalInFront(QObject* owner) {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) new ModalKeeper(owner);
}
#else
// Built without Qt's private headers: the compositor's behaviour is kept.
void KeepModalInFront(QObject* /*owner*/) {}
#endif
