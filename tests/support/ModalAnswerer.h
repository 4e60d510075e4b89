#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "windows/Splash.h"
#include "windows/TongueDlg.h"
#include "windows/YesNoDlg.h"

// Answers whatever modal window the game opens, from inside its loop, the way
// a player would: the splash is clicked, the language dialog answered English
// (or as scripted), the message dialog with Enter (or a scripted key), file
// dialogs cancelled (or given a scripted name). Writes down what it saw.
class ModalAnswerer {
public:
    ModalAnswerer() {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Answer(); });
        m_timer.start();
    }

    // Shows the window and waits until its first activation (splash, language)
    // is behind it; what was seen on the way is forgotten.
    void ShowAndSettle(QWidget& window) {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        ASSERT_TRUE(QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }));
        QTest::qWait(20);
        seen.clear();
    }

    std::vector<std::string> seen;
    std::deque<Qt::Key> messageKeys;    // keys for the message dialog; Enter when empty
    std::deque<std::string> fileNames;  // names typed into file dialogs; cancel when empty
    std::deque<std::string> tongues;    // "en", "de", "close", "return", "tab return"; English when empty
    bool leaveSplash = false;           // let the splash close by itself

private:
    void Answer() {
        QWidget* modal = QApplication::activeModalWidget();
        // Act only on a window seen on the tick before: one that is still being
        // shown has not entered its loop yet, and an answer now would be lost.
        const bool settled = modal && modal == m_last;
        m_last = modal;
        if (!settled || !modal->isVisible()) return;
        m_last = nullptr;
        if (auto* splash = qobject_cast<TSplash*>(modal)) {
            seen.push_back("splash");
            if (leaveSplash) return;
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), splash->mapToGlobal(QPointF(5, 5)),
                              Qt::LeftButton, Qt::LeftButton, {});
            QApplication::sendEvent(splash, &press);
        } else if (auto* tongue = qobject_cast<TTongueDlg*>(modal)) {
            const std::string answer = Take(tongues, std::string("en"));
            seen.push_back("tongue " + answer);
            if (answer == "close") {
                tongue->close();
            } else if (answer == "return" || answer == "tab return") {
                // Keys go where the player's go: to the focused widget.
                if (answer == "tab return") QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            } else
                (answer == "de" ? tongue->GermanBtn() : tongue->EnglishBtn())->click();
        } else if (auto* message = qobject_cast<TYesNoDlg*>(modal)) {
            seen.push_back("page " + std::to_string(message->CurrentPage()));
            QTest::keyClick(message, Take(messageKeys, Qt::Key_Return));
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            const std::string name = Take(fileNames, std::string());
            seen.push_back("file dialog " + name);
            if (name.empty()) {
                files->reject();
            } else {
                // selectFile() does nothing on a dialog already shown: type the name.
                if (auto* edit = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                    edit->setText(QString::fromStdString(name));
                QMetaObject::invokeMethod(files, "accept");
            }
        } else {
            seen.push_back("other " + modal->objectName().toStdString());
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->accept();
        }
    }

    template <typename T>
    static T Take(std::deque<T>& queue, T fallback) {
        if (queue.empty()) return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }

    QTimer m_timer;
    QWidget* m_last = nullptr;
};
