#include "view/BoardBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "view/BoardSurface.h"

BoardBox::BoardBox(BoardSurface& surface, QWidget* parent) : QWidget(parent), m_surface(surface) {
    setFixedSize(BoardSurface::kWidth, BoardSurface::kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// On a dense screen the board comes from the sheets drawn at that density,
// pixel for pixel at 2x and 3x, scaled down in between; the 1x board is only
// ever enlarged without smoothing.
void BoardBox::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect area = event->rect();
    const qreal ratio = devicePixelRatioF();
    const int scale = SheetScaleFor(ratio);
    const QImage* larger = scale > 1 ? m_surface.ImageAt(scale) : nullptr;
    if (!larger) {
        p.drawImage(area, m_surface.Image(), area);
        return;
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform, ratio != scale);
    p.drawImage(QRectF(area), *larger, QRectF(AtScale(area, scale)));
}

void BoardBox::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button(), event->position().toPoint(), event->timestamp());
}

// Qt turns the second press of a quick double click into this event; to the
// game it is a press like any other.
void BoardBox::mouseDoubleClickEvent(QMouseEvent* event) {
    emit pressed(event->button(), event->position().toPoint(), event->timestamp());
}

// A click is the left button's, as the pause text tells the player.
void BoardBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}
