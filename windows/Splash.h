#pragma once

#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <QWidget>

// The start-up picture. Its timer runs from its creation; it closes on a
// click or at the timer's next tick, so it stays at most one interval.
class TSplash : public QWidget {
    Q_OBJECT
public:
    static constexpr int kInterval = 3000;

    explicit TSplash(QWidget* parent);

    // Shows the splash centred on the screen and returns when it has closed.
    void ShowModal();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Click();

    QLabel* m_Image1 = nullptr;
    QTimer m_Timer1;
    QEventLoop* m_loop = nullptr;
};
