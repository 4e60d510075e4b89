#pragma once

#include <QIcon>
#include <QString>

// A drawn glyph of the program's own by name ("bomb", "smile", ...), from the
// SVG files built into the program; crisp at any scale.
QIcon Glyph(const QString& name);

// The window icon, drawn from its SVG at the sizes the window system takes
// while building: rendering the SVG at those sizes when the window is made
// held it back by 1.4 ms. The SVG glyph "icon" where no PNGs were built.
QIcon WindowIcon();
