#include "view/Glyphs.h"

#include <QDirIterator>
#include <QImage>
#include <QPixmap>
#include <QResource>
#include <cstdint>
#include <cstring>

QIcon Glyph(const QString& name) { return QIcon(QStringLiteral(":/glyphs/") + name + QStringLiteral(".svg")); }

QIcon WindowIcon() {
    // Raw pixels: the first picture read through an image reader costs a
    // millisecond of looking for image plugins.
    QIcon icon;
    QDirIterator files(QStringLiteral(":/window-icon"), {QStringLiteral("*.argb")}, QDir::Files);
    while (files.hasNext()) {
        const QResource resource(files.next());
        const auto* bytes = reinterpret_cast<const uchar*>(resource.data());
        std::uint32_t side = 0;
        if (resource.compressionAlgorithm() != QResource::NoCompression || resource.size() < 4) continue;
        std::memcpy(&side, bytes, sizeof side);
        const auto size = static_cast<qint64>(side);
        if (side == 0 || side > 1024 || resource.size() != 4 + 4 * size * size) continue;
        const QImage image(bytes + 4, static_cast<int>(side), static_cast<int>(side),
                           QImage::Format_ARGB32_Premultiplied);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon.isNull() ? Glyph(QStringLiteral("icon")) : icon;
}
