#include "view/Glyphs.h"

#include <QApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QResource>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

// Draws a glyph's SVG at whatever size and pixel ratio it is asked for. Our
// own rather than Qt's SVG icon plugin: the program links Qt SVG itself, so a
// missing plugin cannot leave the buttons blank, and no plugin folder is
// searched at the start.
class GlyphEngine : public QIconEngine {
public:
    GlyphEngine(const QString& on, const QString& off) : m_files{on, off.isEmpty() ? on : off} {}

    QIconEngine* clone() const override { return new GlyphEngine(*this); }
    QString key() const override { return QStringLiteral("aquendo-glyph"); }
    // The glyph's own name, "no" for no.svg: which of the game's glyphs a button shows.
    QString iconName() override { return QFileInfo(m_files[0]).baseName(); }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State state) override {
        const QSize natural = Renderer(state).defaultSize();
        return natural.isEmpty() ? size : natural.scaled(size, Qt::KeepAspectRatio);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QSize drawn = actualSize(size, mode, state);
        if (drawn.isEmpty()) return {};
        const QString cacheKey = QStringLiteral("aquendo-glyph:%1:%2x%3:%4")
                                     .arg(File(state))
                                     .arg(drawn.width())
                                     .arg(drawn.height())
                                     .arg(int(mode));
        QPixmap pixmap;
        if (QPixmapCache::find(cacheKey, &pixmap)) return pixmap;
        QImage image(drawn, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        Renderer(state).render(&painter, QRectF(QPointF(0, 0), drawn));
        painter.end();
        if (mode == QIcon::Disabled) image = Disabled(std::move(image));
        pixmap = QPixmap::fromImage(std::move(image));
        if (mode != QIcon::Normal && mode != QIcon::Disabled) {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        }
        QPixmapCache::insert(cacheKey, pixmap);
        return pixmap;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap drawn = pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
        drawn.setDevicePixelRatio(ratio);
        const QSize shown = (QSizeF(drawn.size()) / ratio).toSize();
        painter->drawPixmap(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, shown, rect), drawn);
    }

private:
    // Dark and flat, as if pressed into the metal: the desktop's greyed glyph
    // stays as bright as the live one and reads as live on the dark strip.
    static QImage Disabled(QImage image) {
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = line[x];
                const int alpha = qAlpha(c);
                if (alpha == 0) continue;
                // Premultiplied: the grey of the colour, then the flat dark tone scaled by alpha.
                const int grey =
                    qGray(qRed(c) * 255 / alpha, qGreen(c) * 255 / alpha, qBlue(c) * 255 / alpha);
                const int v = (52 + grey * 28 / 100) * alpha / 255;
                line[x] = qRgba(v, v, v + alpha / 40, alpha);
            }
        }
        return image;
    }

    const QString& File(QIcon::State state) const { return m_files[state == QIcon::Off ? 1 : 0]; }

    // Parsed at the first use, once per engine and state; copies share them.
    QSvgRenderer& Renderer(QIcon::State state) {
        std::shared_ptr<QSvgRenderer>& renderer = m_renderers[state == QIcon::Off ? 1 : 0];
        if (!renderer) renderer = std::make_shared<QSvgRenderer>(File(state));
        return *renderer;
    }

    std::array<QString, 2> m_files;
    std::array<std::shared_ptr<QSvgRenderer>, 2> m_renderers;
};

QString GlyphFile(const QString& name) {
    return QStringLiteral(":/glyphs/") + name + QStringLiteral(".svg");
}

}  // namespace

QIcon Glyph(const QString& name) {
    return QIcon(new GlyphEngine(GlyphFile(name), {}));
}

QIcon ToggleGlyph(const QString& on, const QString& off) {
    return QIcon(new GlyphEngine(GlyphFile(on), GlyphFile(off)));
}

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
