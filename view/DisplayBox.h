#pragma once

#include <QImage>
#include <QWidget>

// A paint box that shows a ready-made image: the time and level displays.
class DisplayBox : public QWidget {
    Q_OBJECT
public:
    DisplayBox(QRect geometry, QWidget* parent);

    const QImage& Image() const { return m_image; }
    // Shows the image at once.
    void SetImage(const QImage& image);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};
