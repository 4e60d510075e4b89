#include "view/BoardBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "view/BoardSurface.h"

BoardBox::BoardBox(const BoardSurface& surface, QWidget* parent) : QWidget(parent), m_surface(surface) {
    setFixedSize(BoardSurface::kWidth, BoardSurface::kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardBox::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.drawImage(event->rect(), m_surface.Image(), event->rect());
}

void BoardBox::mousePressEvent(QMouseEvent* event) { emit pressed(event->button(), event->position().toPoint()); }

// Qt turns the second press of a quick double click into this event; to the
// game it is a press like any other.
void BoardBox::mouseDoubleClickEvent(QMouseEvent* event) {
    emit pressed(event->button(), event->position().toPoint());
}

// A click is the left button's, as the pause text tells the player.
void BoardBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}
