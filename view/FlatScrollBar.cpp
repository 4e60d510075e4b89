#include "view/FlatScrollBar.h"

#include <QMouseEvent>
#include <QStyleOptionSlider>

namespace {

// Flat on a black track, the same on every desktop.
constexpr char kLook[] = R"(
QScrollBar:vertical { background: black; width: 22px; margin: 16px 0 16px 0; border: none; }
QScrollBar::handle:vertical {
    background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #c4c8ce, stop:1 #80848c);
    border: 1px solid #34363a; min-height: 10px; }
QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }
QScrollBar::sub-line:vertical, QScrollBar::add-line:vertical {
    background: #b4b8be; border: 1px solid #34363a; height: 14px; subcontrol-origin: margin; }
QScrollBar::sub-line:vertical { subcontrol-position: top; }
QScrollBar::add-line:vertical { subcontrol-position: bottom; }
QScrollBar::sub-line:vertical:pressed, QScrollBar::add-line:vertical:pressed { background: #8c9096; }
QScrollBar::up-arrow:vertical { image: url(:/glyphs/arrow-up.svg); width: 10px; height: 10px; }
QScrollBar::down-arrow:vertical { image: url(:/glyphs/arrow-down.svg); width: 10px; height: 10px; }
)";

}  // namespace

TFlatScrollBar::TFlatScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    setStyleSheet(QString::fromLatin1(kLook));
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
