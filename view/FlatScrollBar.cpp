#include "view/FlatScrollBar.h"

#include <QMouseEvent>
#include <QStyleFactory>
#include <QStyleOptionSlider>

TFlatScrollBar::TFlatScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    // Fusion draws the track from the palette, so black is black on every desktop.
    setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Dark, Qt::black);
    setPalette(colours);
    connect(this, &QAbstractSlider::actionTriggered, this, &TFlatScrollBar::ActionTriggered);
}

void TFlatScrollBar::mousePressEvent(QMouseEvent* event) {
    QStyleOptionSlider option;
    initStyleOption(&option);
    m_pressed = style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, event->position().toPoint(), this);
    QScrollBar::mousePressEvent(event);
}

void TFlatScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    QScrollBar::mouseReleaseEvent(event);
    m_pressed = QStyle::SC_None;
}

// When an action is reported the slider position already holds its result,
// the value not yet.
void TFlatScrollBar::ActionTriggered(int) {
    const bool arrow = m_pressed == QStyle::SC_ScrollBarAddLine || m_pressed == QStyle::SC_ScrollBarSubLine;
    if (arrow && sliderPosition() == value()) return;
    emit Scroll(sliderPosition());
}
