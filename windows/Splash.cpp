#include "windows/Splash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "view/Glyphs.h"
#include "view/WindowFrame.h"

TSplash::TSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("Splash");
    setFixedSize(200, 150);
    setWindowModality(Qt::ApplicationModal);
    m_Image1 = new QLabel(this);
    m_Image1->setObjectName("Image1");
    m_Image1->setGeometry(0, 0, 200, 150);
    m_Image1->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_Timer1.setInterval(kInterval);
    // A coarse timer may tick up to 5 % early or late; the splash promises its interval.
    m_Timer1.setTimerType(Qt::PreciseTimer);
    connect(&m_Timer1, &QTimer::timeout, this, &TSplash::Click);
    m_Timer1.start();
}

void TSplash::ShowModal() {
    // Drawn when first needed, so it never holds up the main window.
    if (m_Image1->pixmap().isNull()) m_Image1->setPixmap(Glyph("splash").pixmap(200, 150));
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (CanPlaceWindows()) move(CentredOver(size(), screen->geometry(), screen->geometry()));
    QEventLoop loop;
    m_loop = &loop;
    show();
    // A click may already have closed it while it was being shown.
    if (isVisible()) loop.exec(QEventLoop::DialogExec);
    m_loop = nullptr;
}

void TSplash::mousePressEvent(QMouseEvent*) {
    Click();
}

// A tick while the splash is hidden does nothing. Once it has been shown and
// closed its ticks are of no more use, so the timer stops waking the game.
void TSplash::Click() {
    if (!isVisible()) return;
    hide();
    m_Timer1.stop();
    if (m_loop) m_loop->quit();
}
