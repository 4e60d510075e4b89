#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include "store/WindowPlacement.h"

class QWidget;

// A top-level window as the platform places it, frame included, in logical
// pixels; known also before its first show.
OuterWindow OuterOf(QWidget* window);

// The outer rectangle of a window on the screen, as the window manager framed
// it (Qt's own frame geometry may be a pixel off).
QRect OuterRect(QWidget* window);

// Centres the window over another one, frames included, inside the screen;
// where the compositor places windows, their transient parent does it.
void CentreOver(QWidget* window, QWidget* over);
