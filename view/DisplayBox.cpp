#include "view/DisplayBox.h"

#include <QPainter>

#include "view/SpriteSheets.h"

DisplayBox::DisplayBox(QRect geometry, QWidget* parent) : QWidget(parent) {
    setGeometry(geometry);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_image = QImage(geometry.size(), QImage::Format_RGB32);
    m_image.fill(Qt::black);
}

void DisplayBox::SetImage(const QImage& image) {
    SetImage(image, {});
}

void DisplayBox::SetImage(const QImage& image, std::function<QImage(int scale)> paint) {
    m_image = image;
    m_paint = std::move(paint);
    m_larger = QImage();
    if (isVisible()) repaint();
}

// Like the board: pixel for pixel from the denser sheets, scaled down in
// between, and the 1x picture never smoothed up.
void DisplayBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const qreal ratio = devicePixelRatioF();
    const int scale = SheetScaleFor(ratio);
    if (scale > 1 && m_paint && (m_larger.isNull() || m_larger.devicePixelRatio() != scale))
        m_larger = m_paint(scale);
    if (scale > 1 && !m_larger.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, ratio != scale);
        p.drawImage(QRectF(QPointF(0, 0), m_larger.deviceIndependentSize()), m_larger);
        return;
    }
    p.drawImage(0, 0, m_image);
}
