#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>

#include "store/WindowPlacement.h"

class QWidget;

// A top-level window as the platform places it, frame included, in logical
// pixels; known also before its first show.
OuterWindow OuterOf(QWidget* window);

// The outer rectangle of a window on the screen, as the window manager framed
// it (Qt's own frame geometry may be a pixel off).
QRect OuterRect(QWidget* window);

// Logical pixels counted in screen pixels at the scale.
QSize DeviceSize(QSize logical, double scale);
QPoint DevicePoint(QPoint logical, double scale);

// Gives `place` the window's outer size to place it by, and the frame's
// margins in device pixels, now and, where the window manager tells the frame
// only once it has framed the window after its show (KWin), again then: the
// frame stands where it belongs either way.
using Placer = std::function<void(const OuterWindow& outer, QMargins frame)>;
void PlaceFramed(QWidget* window, const Placer& place);

// Puts the frame's top left corner there, also on a window that is shown.
void PutFrame(QWidget* window, QPoint topLeft);

// Centres the window over another one, frames included, inside the screen;
// where the compositor places windows, their transient parent does it.
void CentreOver(QWidget* window, QWidget* over);
