#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

// A paint box that shows a ready-made image: the time and level displays.
class DisplayBox : public QWidget {
    Q_OBJECT
public:
    DisplayBox(QRect geometry, QWidget* parent);

    const QImage& Image() const { return m_image; }
    // Shows the image at once.
    void SetImage(const QImage& image);
    // The same, with a way to paint it for a denser screen: paint(scale) gives
    // the image from sheets of that scale (2 or 3), or a null image.
    void SetImage(const QImage& image, std::function<QImage(int scale)> paint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
    std::function<QImage(int)> m_paint;
    QImage m_larger;
};
