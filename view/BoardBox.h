#pragma once

#include <QWidget>

class BoardSurface;

// The board paint box: shows the board surface and reports every press (the
// second press of a double click included), with the window system's time of
// it in ms, and every click of the left button.
class BoardBox : public QWidget {
    Q_OBJECT
public:
    BoardBox(BoardSurface& surface, QWidget* parent);

signals:
    void pressed(Qt::MouseButton button, QPoint position, quint64 timestamp);
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    BoardSurface& m_surface;
};
