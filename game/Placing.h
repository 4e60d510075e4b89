#pragma once

#include <QPoint>
#include <QSize>

#include "store/WindowPlacement.h"

class QWidget;

// A top-level window as the platform places it, frame included, in logical
// pixels; known also before its first show.
OuterWindow OuterOf(QWidget* window);

// Centres the window over another one, frames included, inside the screen;
// where the compositor places windows, their transient parent does it.
void CentreOver(QWidget* window, const QWidget* over);
