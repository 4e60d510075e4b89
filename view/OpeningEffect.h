#pragma once

#include <QPoint>
#include <QRect>
#include <vector>

// The window's opening effect: 40 dotted rectangles growing from the mouse
// pointer to the window, drawn inverted on the screen and drawn again to take
// them away.
inline constexpr int kOpeningSteps = 40;

// Rectangle i (1..40): its corner i/40 of the way from the pointer to the
// window's corner, its size i/40 of the window's, rounded to whole pixels.
std::vector<QRect> OpeningRectangles(QPoint pointer, QRect window);

// Draws the effect where the window system lets a program draw on the screen
// (X11); elsewhere it does nothing. It always leaves the screen as it was.
void PlayOpeningEffect(QRect window);
