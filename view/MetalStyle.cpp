#include "view/MetalStyle.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionButton>
#include <QStyleOptionToolButton>
#include <QWidget>

#include "view/AppStyle.h"
#include "view/ToolStrip.h"

namespace {

const QColor kBrass(0xc8, 0xa0, 0x48);

// A bevel one pixel wide: light from the upper left, as on the strip.
void Bevel(QPainter* p, QRect r, const QColor& upper, const QColor& lower) {
    p->fillRect(QRect(r.left(), r.top(), r.width(), 1), upper);
    p->fillRect(QRect(r.left(), r.top(), 1, r.height()), upper);
    p->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), lower);
    p->fillRect(QRect(r.right(), r.top(), 1, r.height()), lower);
}

class Metal : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* p,
                       const QWidget* widget) const override {
        switch (element) {
            case PE_PanelButtonTool:
                ToolPanel(option, p);
                return;
            case PE_FrameButtonTool:
            case PE_FrameDefaultButton:
            case PE_FrameFocusRect:
                return;  // the rim of the panel shows these
            case PE_PanelButtonCommand:
                CommandPanel(option, p);
                return;
            default:
                QProxyStyle::drawPrimitive(element, option, p, widget);
        }
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* p,
                            const QWidget* widget) const override {
        const auto* tool = qstyleoption_cast<const QStyleOptionToolButton*>(option);
        if (control != CC_ToolButton || !tool)
            return QProxyStyle::drawComplexControl(control, option, p, widget);
        // Flat at rest, as the desktop's auto-raised button, but in the strip's colours.
        const bool live = option->state & State_Enabled;
        const bool over = live && (option->state & State_MouseOver);
        const bool down = option->state & (State_Sunken | State_On);
        if (over || down) ToolPanel(option, p);
        QStyleOptionToolButton label = *tool;
        if (down) label.rect.translate(1, 1);
        QProxyStyle::drawControl(CE_ToolButtonLabel, &label, p, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* p,
                     const QWidget* widget) const override {
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        if (element == CE_PushButtonLabel && button) {
            QStyleOptionButton label = *button;
            const QPalette metal = ToolStrip::MetalPalette();
            label.palette.setColor(QPalette::ButtonText, metal.color(QPalette::ButtonText));
            label.palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x70, 0x72, 0x78));
            if (option->state & State_Sunken) label.rect.translate(1, 1);
            return QProxyStyle::drawControl(element, &label, p, widget);
        }
        QProxyStyle::drawControl(element, option, p, widget);
    }

private:
    static void ToolPanel(const QStyleOption* option, QPainter* p) {
        const QPalette metal = ToolStrip::MetalPalette();
        const QRect r = option->rect;
        const bool down = option->state & (State_Sunken | State_On);
        p->save();
        if (down) {
            p->fillRect(r, QColor(0, 0, 0, 70));
            Bevel(p, r, metal.color(QPalette::Dark), metal.color(QPalette::Light));
        } else {
            // Raised by a hair: a faint sheen and a soft edge, no desktop blue.
            p->fillRect(r, QColor(255, 255, 255, 22));
            Bevel(p, r, metal.color(QPalette::Light), metal.color(QPalette::Dark));
        }
        p->restore();
    }

    static void CommandPanel(const QStyleOption* option, QPainter* p) {
        const QPalette metal = ToolStrip::MetalPalette();
        const QRect r = option->rect;
        const bool live = option->state & State_Enabled;
        const bool down = option->state & (State_Sunken | State_On);
        const bool over = live && !down && (option->state & State_MouseOver);
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        const bool marked = live && ((option->state & State_HasFocus) ||
                                     (button && (button->features & QStyleOptionButton::DefaultButton)));
        p->save();
        p->fillRect(r, marked ? kBrass : metal.color(QPalette::Shadow));
        const QRect face = r.adjusted(1, 1, -1, -1);
        const int lift = over ? 14 : 0;
        QLinearGradient shade(face.topLeft(), face.bottomLeft());
        if (!live) {
            shade.setColorAt(0, QColor(0x3a, 0x3c, 0x40));
            shade.setColorAt(1, QColor(0x32, 0x34, 0x38));
        } else if (down) {
            shade.setColorAt(0, QColor(0x2c, 0x2e, 0x32));
            shade.setColorAt(1, QColor(0x40, 0x43, 0x48));
        } else {
            shade.setColorAt(0, QColor(0x62 + lift, 0x66 + lift, 0x6c + lift));
            shade.setColorAt(1, QColor(0x3e + lift, 0x41 + lift, 0x46 + lift));
        }
        p->fillRect(face, shade);
        if (down)
            Bevel(p, face, metal.color(QPalette::Dark), metal.color(QPalette::Mid));
        else if (live)
            Bevel(p, face, metal.color(QPalette::Light), metal.color(QPalette::Dark));
        p->restore();
    }
};

}  // namespace

QStyle* MetalStyle() {
    return AppStyle<Metal>();
}

void UseMetalStyle(QWidget* widget) {
    widget->setStyle(MetalStyle());
    // Hover events only reach a widget that asks for them.
    widget->setAttribute(Qt::WA_Hover);
}
