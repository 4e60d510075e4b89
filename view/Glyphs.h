#pragma once

#include <QIcon>
#include <QString>

// A drawn glyph of the program's own by name ("bomb", "smile", ...), from the
// SVG files built into the program; crisp at any scale.
QIcon Glyph(const QString& name);
