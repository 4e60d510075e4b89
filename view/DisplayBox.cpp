#include "view/DisplayBox.h"

#include <QPainter>

DisplayBox::DisplayBox(QRect geometry, QWidget* parent) : QWidget(parent) {
    setGeometry(geometry);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_image = QImage(geometry.size(), QImage::Format_RGB32);
    m_image.fill(Qt::black);
}

void DisplayBox::SetImage(const QImage& image) {
    m_image = image;
    if (isVisible()) repaint();
}

void DisplayBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, m_image);
}
