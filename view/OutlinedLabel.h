#pragma once

#include <QLabel>

// A label whose letters carry a dark rim, so a light text reads over any
// picture below it: the board's beige pieces and pale floors included.
class OutlinedLabel : public QLabel {
public:
    using QLabel::QLabel;

    // The rim's width in pixels of the label.
    static constexpr int kRim = 3;

protected:
    void paintEvent(QPaintEvent* event) override;
};
