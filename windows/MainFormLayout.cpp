#include "windows/MainFormLayout.h"

#include <QFrame>
#include <QLabel>
#include <QToolButton>

#include "view/BoardBox.h"
#include "view/DisplayBox.h"
#include "view/FlatScrollBar.h"
#include "view/Gauge.h"
#include "view/Glyphs.h"
#include "view/MetalStyle.h"
#include "view/OutlinedLabel.h"
#include "view/ToolStrip.h"

namespace layout {
namespace {

// A widget of type T at the rectangle; the arguments go before the parent.
template <typename T, typename... Args>
T* Placed(QRect at, QWidget* parent, Args&... args) {
    auto* widget = new T(args..., parent);
    widget->setGeometry(at);
    return widget;
}

QFrame* Sunken(QRect at, QWidget* parent) {
    auto* frame = Placed<QFrame>(at, parent);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return frame;
}

template <typename Label = QLabel>
QLabel* Lettering(const Control& row, QWidget* parent) {
    auto* label = Placed<Label>(row.at, parent);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(row.text.pixels);
    font.setBold(row.text.bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(row.text.colour));
    label->setPalette(palette);
    return label;
}

QToolButton* GlyphButton(const Control& row, QWidget* parent) {
    auto* button = Placed<QToolButton>(row.at, parent);
    button->setAutoRaise(true);
    UseMetalStyle(button);
    // Flat buttons are for the mouse: with the focus, Space then Return on
    // the new-game button would clear every result.
    button->setFocusPolicy(Qt::NoFocus);
    const QString glyph = QString::fromLatin1(row.glyph);
    button->setIcon(row.offGlyph ? ToggleGlyph(glyph, QString::fromLatin1(row.offGlyph)) : Glyph(glyph));
    return button;
}

QWidget* Build(const Control& row, QWidget* parent, BoardSurface& surface) {
    switch (row.kind) {
        case ControlKind::Strip:
            return Placed<ToolStrip>(row.at, parent);
        case ControlKind::ToolButton: {
            QToolButton* button = GlyphButton(row, parent);
            button->setIconSize(row.at.size() - QSize(6, 6));
            if (row.offGlyph) {
                button->setCheckable(true);
                button->setChecked(true);
            }
            return button;
        }
        case ControlKind::Well: {
            QFrame* bevel = Sunken(row.at, parent);
            auto* black = Placed<QFrame>(row.at.adjusted(0, 1, 0, -1), parent);
            black->setAutoFillBackground(true);
            black->setPalette(QPalette(Qt::black, Qt::black));
            return bevel;
        }
        case ControlKind::Caption:
            return Lettering(row, parent);
        case ControlKind::Display:
            return new DisplayBox(row.at, parent);
        case ControlKind::Board:
            return Placed<BoardBox>(row.at, parent, surface);
        case ControlKind::Gauge: {
            // Sunk into the board in a rim of the strip's steel, as the scroll bar beside it.
            auto* well = Placed<QFrame>(row.at.adjusted(-2, -2, 2, 2), parent);
            well->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            well->setLineWidth(2);
            well->setPalette(ToolStrip::MetalPalette());
            return Placed<TGauge>(row.at, parent);
        }
        case ControlKind::Panel: {
            QFrame* panel = Sunken(row.at, parent);
            panel->setPalette(ToolStrip::MetalPalette());
            panel->setAutoFillBackground(true);
            return panel;
        }
        case ControlKind::ScrollButton:
            return GlyphButton(row, parent);
        case ControlKind::ScrollBar: {
            auto* bar = Placed<TFlatScrollBar>(row.at, parent);
            bar->setRange(1, 1);
            bar->setSingleStep(1);
            bar->setPageStep(10);
            return bar;
        }
        case ControlKind::Notice: {
            // Outlined: it lies over pieces and floors as light as itself.
            QLabel* notice = Lettering<OutlinedLabel>(row, parent);
            notice->setAlignment(Qt::AlignCenter);
            notice->setWordWrap(true);
            notice->hide();
            return notice;
        }
    }
    return nullptr;
}

}  // namespace

std::vector<QWidget*> BuildMainForm(QWidget* window, BoardSurface& surface) {
    std::vector<QWidget*> made;
    for (const Control& row : kMainForm) {
        QWidget* parent = window;
        if (row.parent)
            for (std::size_t i = 0; i < made.size(); ++i)
                if (kMainForm[i].name && kMainForm[i].name == std::string_view(row.parent)) parent = made[i];
        QWidget* control = Build(row, parent, surface);
        if (row.name) control->setObjectName(QString::fromLatin1(row.name));
        made.push_back(control);
    }
    return made;
}

}  // namespace layout
