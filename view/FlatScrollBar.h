#pragma once

#include <QScrollBar>
#include <QStyle>
#include <QTimer>

// The level scroll bar: flat, on a black track. It reports every position the
// user causes, also a track press or key that leaves the thumb at an end, but
// an arrow pressed at the end of the range does nothing, and a value set from
// code is never reported. A track press held down repeats every 100 ms; every
// mouse move of a thumb drag is reported, also one that keeps the position.
// A wheel notch moves it one position as an arrow does; Home and End do nothing.
class TFlatScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit TFlatScrollBar(QWidget* parent);

signals:
    void Scroll(int position);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ActionTriggered(int action);
    QStyle::SubControl PartAt(QPoint point) const;
    void PageOnce();
    void Report();

    QStyle::SubControl m_pressed = QStyle::SC_None;
    QPoint m_pointer;  // while the track is held
    QTimer m_repeat;
    int m_reports = 0;
    int m_wheel = 0;  // wheel turn not yet a whole notch
};
