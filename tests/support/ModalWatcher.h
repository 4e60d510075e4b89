#pragma once

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "windows/TongueDlg.h"

// For tests on a real window system: each modal window the game opens is
// shown to `look` until it returns true (the window is where the test can
// judge it), then answered as a player would: the splash clicked, English
// chosen, any other dialog closed.
class ModalWatcher {
public:
    explicit ModalWatcher(std::function<bool(QWidget*)> look) : m_look(std::move(look)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->isVisible() && m_look(modal)) Answer(modal);
        });
        m_timer.start(5);
    }

private:
    static void Answer(QWidget* modal) {
        if (auto* tongue = qobject_cast<TTongueDlg*>(modal)) {
            tongue->EnglishBtn()->click();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->done(0);
        } else {
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), modal->mapToGlobal(QPointF(5, 5)),
                              Qt::LeftButton, Qt::LeftButton, {});
            QApplication::sendEvent(modal, &press);
        }
    }

    std::function<bool(QWidget*)> m_look;
    QTimer m_timer;
};
