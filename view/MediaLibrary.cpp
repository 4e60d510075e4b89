#include "view/MediaLibrary.h"

#include <QFile>
#include <QtGlobal>
#include <cstring>

#include "view/BitmapImage.h"
#include "view/MediaItem.h"
#include "view/WaveImage.h"

namespace {

std::span<const std::uint8_t> Bytes(const QByteArray& a) {
    return {reinterpret_cast<const std::uint8_t*>(a.constData()), static_cast<std::size_t>(a.size())};
}

QByteArray ToByteArray(const std::vector<std::uint8_t>& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

QImage ToImage(const BitmapImage& bitmap) {
    QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
    const auto rowBytes = static_cast<std::size_t>(bitmap.width) * sizeof(std::uint32_t);
    for (int y = 0; y < bitmap.height; ++y)
        std::memcpy(image.scanLine(y), bitmap.pixels.data() + static_cast<std::size_t>(y) * bitmap.width, rowBytes);
    return image;
}

QByteArray ReadResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) qFatal("Built-in media item %s is missing", qPrintable(path));
    return file.readAll();
}

}  // namespace

QSize MediaLibrary::BitmapSize(int position) {
    static constexpr std::array<QSize, kBitmapCount> kSizes = {
        QSize(432, 180), QSize(288, 288), QSize(96, 12), QSize(500, 333), QSize(148, 20), QSize(121, 20)};
    return kSizes.at(static_cast<std::size_t>(position));
}

MediaLibrary::WaveItems MediaLibrary::BuiltInWaveItems() {
    WaveItems items;
    for (int i = 0; i < kWaveCount; ++i)
        items[i] = ReadResource(QStringLiteral(":/media/waves/%1.item").arg(i));
    return items;
}

MediaLibrary::BitmapItems MediaLibrary::BuiltInBitmapItems() {
    BitmapItems items;
    for (int i = 0; i < kBitmapCount; ++i)
        items[i] = ReadResource(QStringLiteral(":/media/bitmaps/%1.item").arg(i));
    return items;
}

MediaLibrary MediaLibrary::LoadBuiltIn() {
    return LoadOrStop(BuiltInWaveItems(), BuiltInBitmapItems());
}

std::future<MediaLibrary> MediaLibrary::StartLoadingBuiltIn() {
    return std::async(std::launch::async, [waves = BuiltInWaveItems(), bitmaps = BuiltInBitmapItems()] {
        return LoadOrStop(waves, bitmaps);
    });
}

MediaLibrary MediaLibrary::LoadOrStop(const WaveItems& waves, const BitmapItems& bitmaps) {
    QString error;
    std::optional<MediaLibrary> media = Load(waves, bitmaps, error);
    if (!media) qFatal("Built-in media are broken: %s", qPrintable(error));
    return std::move(*media);
}

std::optional<MediaLibrary> MediaLibrary::Load(const WaveItems& waves, const BitmapItems& bitmaps,
                                               QString& error) {
    MediaLibrary media;
    MediaItem item;
    for (int i = 0; i < kWaveCount; ++i) {
        const std::string problem = ReadMediaItem(Bytes(waves[i]), item);
        if (!problem.empty()) {
            error = QStringLiteral("wave %1: %2").arg(i).arg(QString::fromStdString(problem));
            return std::nullopt;
        }
        if (!item.hasData) continue;
        WaveImage wave;
        if (!ReadWaveImage(item.data, wave).empty()) {
            error = QStringLiteral("wave %1: invalid wave image").arg(i);
            return std::nullopt;
        }
        media.m_waves[i] = ToByteArray(item.data);
    }
    for (int i = 0; i < kBitmapCount; ++i) {
        const std::string problem = ReadMediaItem(Bytes(bitmaps[i]), item);
        if (!problem.empty()) {
            error = QStringLiteral("bitmap %1: %2").arg(i).arg(QString::fromStdString(problem));
            return std::nullopt;
        }
        BitmapImage bitmap;
        if (const std::string refused = ReadBitmapImage(item.data, bitmap); !refused.empty()) {
            error = QStringLiteral("bitmap %1: %2").arg(i).arg(QString::fromStdString(refused));
            return std::nullopt;
        }
        const QImage image = ToImage(bitmap);
        if (image.size() != BitmapSize(i)) {
            error = QStringLiteral("bitmap %1: %2 x %3 instead of %4 x %5")
                        .arg(i)
                        .arg(image.width())
                        .arg(image.height())
                        .arg(BitmapSize(i).width())
                        .arg(BitmapSize(i).height());
            return std::nullopt;
        }
        media.m_bitmaps[i] = image;
    }
    return media;
}
