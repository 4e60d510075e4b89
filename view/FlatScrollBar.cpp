#include "view/FlatScrollBar.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "view/AppStyle.h"
#include "view/Glyphs.h"

namespace {

// Flat on a black track, the same on every desktop. Drawn by a style of its
// own rather than a style sheet: the style sheet engine cost half a megabyte
// and a millisecond of the start-up for this one control.
class FlatStyle : public QProxyStyle {
public:
    static constexpr int kWidth = 22;
    static constexpr int kArrow = 16;      // each arrow button's height
    static constexpr int kMinHandle = 12;  // with its border

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_ScrollBarExtent) return kWidth;
        if (metric == PM_ScrollBarSliderMin) return kMinHandle;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_ScrollBar || !bar)
            return QProxyStyle::subControlRect(control, option, part, widget);
        const QRect r = option->rect;
        const QRect groove(r.left(), r.top() + kArrow, r.width(), std::max(0, r.height() - 2 * kArrow));
        const int range = bar->maximum - bar->minimum;
        const int length = std::clamp(
            range > 0 ? groove.height() * bar->pageStep / (range + bar->pageStep) : groove.height(),
            std::min(kMinHandle, groove.height()), groove.height());
        const int top =
            groove.top() + sliderPositionFromValue(bar->minimum, bar->maximum, bar->sliderPosition,
                                                   groove.height() - length, bar->upsideDown);
        switch (part) {
            case SC_ScrollBarSubLine:
                return {r.left(), r.top(), r.width(), kArrow};
            case SC_ScrollBarAddLine:
                return {r.left(), r.bottom() + 1 - kArrow, r.width(), kArrow};
            case SC_ScrollBarGroove:
                return groove;
            case SC_ScrollBarSlider:
                return {r.left(), top, r.width(), length};
            case SC_ScrollBarSubPage:
                return {r.left(), groove.top(), r.width(), top - groove.top()};
            case SC_ScrollBarAddPage:
                return {r.left(), top + length, r.width(), groove.bottom() + 1 - (top + length)};
            default:
                return {};
        }
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override {
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_ScrollBar || !bar)
            return QProxyStyle::drawComplexControl(control, option, painter, widget);
        const QColor border(0x34, 0x36, 0x3a);
        painter->save();
        painter->fillRect(option->rect, Qt::black);

        const QRect handle = subControlRect(control, option, SC_ScrollBarSlider, widget);
        QLinearGradient shade(handle.topLeft(), handle.topRight());
        shade.setColorAt(0, QColor(0xc4, 0xc8, 0xce));
        shade.setColorAt(1, QColor(0x80, 0x84, 0x8c));
        painter->fillRect(handle, border);
        painter->fillRect(handle.adjusted(1, 1, -1, -1), shade);
        const auto arrow = [&](SubControl part, const char* glyph) {
            const QRect button = subControlRect(control, option, part, widget);
            const bool active = (bar->activeSubControls & part) && (bar->state & State_Enabled);
            const bool pressed = active && (bar->state & State_Sunken);
            const bool over = active && !pressed && (bar->state & State_MouseOver);
            painter->fillRect(button, border);
            // Under the pointer a shade lighter, as the tool bar's buttons rise.
            QColor face(0xb4, 0xb8, 0xbe);
            if (pressed) face = QColor(0x8c, 0x90, 0x96);
            if (over) face = QColor(0xc8, 0xcc, 0xd2);
            painter->fillRect(button.adjusted(1, 1, -1, -1), face);
            Glyph(QString::fromLatin1(glyph))
                .paint(painter, QRect(button.center() - QPoint(4, 4), QSize(10, 10)));
        };
        arrow(SC_ScrollBarSubLine, "arrow-up");
        arrow(SC_ScrollBarAddLine, "arrow-down");
        painter->restore();
    }
};

QStyle* Look() {
    return AppStyle<FlatStyle>();
}

}  // namespace

TFlatScrollBar::TFlatScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    setStyle(Look());
    setAttribute(Qt::WA_Hover);  // the arrows light up under the pointer
    // A click gives it the keys; Tab does not, so no key starts a level
    // before the player has touched the bar.
    setFocusPolicy(Qt::ClickFocus);
    // Its Top and Bottom would start a level the player never chose.
    setContextMenuPolicy(Qt::NoContextMenu);
    connect(this, &QAbstractSlider::actionTriggered, this, &TFlatScrollBar::ActionTriggered);
    m_repeat.setInterval(100);
    m_repeat.setTimerType(Qt::PreciseTimer);  // a coarse one drifts a few ms early each time
    connect(&m_repeat, &QTimer::timeout, this, &TFlatScrollBar::PageOnce);
}

QStyle::SubControl TFlatScrollBar::PartAt(QPoint point) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, point, this);
}

void TFlatScrollBar::mousePressEvent(QMouseEvent* event) {
    // A second button while one is held changes nothing, as in the base class.
    if (event->buttons() & ~event->button()) return QScrollBar::mousePressEvent(event);
    // A release that never came (taken by a modal dialog) ends the repeat here.
    m_repeat.stop();
    const QPoint at = event->position().toPoint();
    m_pressed = PartAt(at);
    const bool track = m_pressed == QStyle::SC_ScrollBarAddPage || m_pressed == QStyle::SC_ScrollBarSubPage;
    if (!track || event->button() != Qt::LeftButton || minimum() == maximum())
        return QScrollBar::mousePressEvent(event);
    // The track's repeat is our own: the base class waits 500 ms, then pages
    // every 50 ms without reporting most of them.
    m_pointer = at;
    PageOnce();
    m_repeat.start();
    event->accept();
}

// The repeat pauses while the pointer is off the part of the track it pressed,
// and so ends where the thumb reaches it.
void TFlatScrollBar::PageOnce() {
    if (PartAt(m_pointer) != m_pressed) return;
    triggerAction(m_pressed == QStyle::SC_ScrollBarAddPage ? SliderPageStepAdd : SliderPageStepSub);
}

void TFlatScrollBar::mouseMoveEvent(QMouseEvent* event) {
    if (m_repeat.isActive()) {
        m_pointer = event->position().toPoint();
        return;
    }
    // The base class reports a drag only when the move changes the position;
    // the game wants every move of the thumb.
    const int before = m_reports;
    QScrollBar::mouseMoveEvent(event);
    if (isSliderDown() && (event->buttons() & Qt::LeftButton) && m_reports == before) Report();
}

void TFlatScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_repeat.stop();
    QScrollBar::mouseReleaseEvent(event);
    if (event->buttons() == Qt::NoButton) m_pressed = QStyle::SC_None;
}

// The base class moves three positions a notch and reports them as one.
void TFlatScrollBar::wheelEvent(QWheelEvent* event) {
    event->accept();
    m_wheel += event->angleDelta().y();
    while (std::abs(m_wheel) >= QWheelEvent::DefaultDeltasPerStep) {
        const bool up = m_wheel > 0;
        m_wheel -= up ? QWheelEvent::DefaultDeltasPerStep : -QWheelEvent::DefaultDeltasPerStep;
        if (sliderPosition() != (up ? minimum() : maximum()))
            triggerAction(up ? SliderSingleStepSub : SliderSingleStepAdd);
    }
}

void TFlatScrollBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End) {
        event->ignore();
        return;
    }
    QScrollBar::keyPressEvent(event);
}

// When an action is reported the slider position already holds its result,
// the value not yet.
void TFlatScrollBar::ActionTriggered(int) {
    const bool arrow = m_pressed == QStyle::SC_ScrollBarAddLine || m_pressed == QStyle::SC_ScrollBarSubLine;
    if (arrow && sliderPosition() == value()) return;
    Report();
}

void TFlatScrollBar::Report() {
    ++m_reports;
    emit Scroll(sliderPosition());
}
