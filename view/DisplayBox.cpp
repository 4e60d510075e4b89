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

// Pixel for pixel from the denser sheets where the screen's ratio is their
// scale. In between (1.5) a dot scaled down would smear over 2 or 3 pixels
// with half-lit edges; the 1x dots taken pixel by pixel instead are whole
// pixels, 3 wide at 1.5, with gaps of 1 or 2.
void DisplayBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const qreal ratio = devicePixelRatioF();
    const int scale = SheetScaleFor(ratio);
    if (ratio == scale && scale > 1 && m_paint && (m_larger.isNull() || m_larger.devicePixelRatio() != scale))
        m_larger = m_paint(scale);
    if (ratio == scale && scale > 1 && !m_larger.isNull()) {
        p.drawImage(QRectF(QPointF(0, 0), m_larger.deviceIndependentSize()), m_larger);
        return;
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QRectF(QPointF(0, 0), QSizeF(m_image.size())), m_image);
}
