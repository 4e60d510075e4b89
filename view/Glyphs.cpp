#include "view/Glyphs.h"

#include <QDirIterator>

QIcon Glyph(const QString& name) { return QIcon(QStringLiteral(":/glyphs/") + name + QStringLiteral(".svg")); }

QIcon WindowIcon() {
    QIcon icon;
    QDirIterator files(QStringLiteral(":/window-icon"), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) icon.addFile(files.next());
    return icon.isNull() ? Glyph(QStringLiteral("icon")) : icon;
}
