#pragma once

#include <QApplication>
#include <QPointer>
#include <QStyle>

// One style of a kind for every widget that takes it, made at its first use
// and going with the application.
template <typename Style>
QStyle* AppStyle() {
    static QPointer<Style> style;
    if (!style) {
        style = new Style();
        style->setParent(qApp);
    }
    return style;
}
