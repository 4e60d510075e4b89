#include "view/Gauge.h"

#include <QPainter>

#include <algorithm>
#include "view/SpriteSheets.h"

TGauge::TGauge(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int TGauge::Percent() const {
    if (m_maximum <= 0) return 0;
    return static_cast<int>(100LL * m_progress / m_maximum);
}

void TGauge::SetMaximum(int maximum) {
    if (maximum == m_maximum) return;
    m_maximum = maximum;
    m_progress = std::clamp(m_progress, 0, std::max(0, m_maximum));
    update();
}

void TGauge::SetProgress(int progress) {
    progress = std::clamp(progress, 0, std::max(0, m_maximum));
    if (progress == m_progress) return;
    const int before = Percent();
    m_progress = progress;
    if (Percent() != before) update();
}

QImage TGauge::Render(QSize size, int percent) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    // The bar is (height + 1) * percent / 100 long and grows from the bottom;
    // full, it leaves only the top row black.
    const int h = (size.height() + 1) * percent / 100;
    if (h > 0) {
        const int top = h >= size.height() + 1 ? 1 : size.height() + 1 - h;
        QPainter p(&image);
        p.fillRect(QRect(0, top, size.width(), size.height() - top), Qt::red);
    }
    return image;
}

// Composed off screen, then copied in one step. On a dense screen each of
// the gauge's rows is so many whole rows of the screen: black and red only,
// never a blend at the bar's top.
void TGauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QImage gauge = Render(size(), Percent());
    const int scale = SheetScaleFor(devicePixelRatioF());
    if (scale == 1) {
        p.drawImage(0, 0, gauge);
        return;
    }
    p.drawImage(QRectF(rect()),
                gauge.scaled(gauge.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}
