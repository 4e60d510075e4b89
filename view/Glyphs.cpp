#include "view/Glyphs.h"

QIcon Glyph(const QString& name) { return QIcon(QStringLiteral(":/glyphs/") + name + QStringLiteral(".svg")); }
