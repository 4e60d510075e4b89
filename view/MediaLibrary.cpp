#include "view/MediaLibrary.h"

#include <QResource>
#include <QStringList>
#include <QtGlobal>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

#include "view/codec/BitmapImage.h"
#include "view/codec/MediaItem.h"
#include "view/codec/WaveImage.h"

namespace {

std::span<const std::uint8_t> Bytes(const QByteArray& a) {
    return {reinterpret_cast<const std::uint8_t*>(a.constData()), static_cast<std::size_t>(a.size())};
}

QByteArray ToByteArray(const std::vector<std::uint8_t>& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

// Decoded straight into the image's own rows: no second copy of the pixels.
QImage DecodeImage(std::span<const std::uint8_t> bytes, std::string& refused) {
    int width = 0;
    int height = 0;
    refused = ReadBitmapSize(bytes, width, height);
    if (!refused.empty()) return {};
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        refused = "no memory for the picture";
        return {};
    }
    refused = DecodeBitmap(bytes, reinterpret_cast<std::uint32_t*>(image.bits()),
                           static_cast<std::size_t>(image.bytesPerLine()) / sizeof(std::uint32_t));
    return refused.empty() ? image : QImage();
}

QByteArray ReadResource(const QString& path) {
    const QResource resource(path);
    if (!resource.isValid()) qFatal("Built-in media item %s is missing", qPrintable(path));
    // Stored as they are, so they are read where they lie in the program.
    if (resource.compressionAlgorithm() == QResource::NoCompression)
        return QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()),
                                       static_cast<qsizetype>(resource.size()));
    return resource.uncompressedData();
}

QString WavePath(int i) {
    return QStringLiteral(":/media/waves/%1.item").arg(i);
}
QString BitmapPath(int i) {
    return QStringLiteral(":/media/bitmaps/%1.item").arg(i);
}
QString ScaledBitmapPath(int scale, int i) {
    return QStringLiteral(":/media/scaled/%1/bitmaps/%2.item").arg(scale).arg(i);
}

// One stored bitmap item into an image of the given size. The items are
// unpacked one after the other into the memory of item: each page of fresh
// memory is a page fault, and they cost more than the unpacking.
QImage LoadBitmap(const QByteArray& stored, int position, QSize size, MediaItem& item, QString& error) {
    const std::string problem = ReadMediaItem(Bytes(stored), item);
    if (!problem.empty()) {
        error = QStringLiteral("bitmap %1: %2").arg(position).arg(QString::fromStdString(problem));
        return {};
    }
    std::string refused;
    QImage image = DecodeImage(item.data, refused);
    if (!refused.empty()) {
        error = QStringLiteral("bitmap %1: %2").arg(position).arg(QString::fromStdString(refused));
        return {};
    }
    if (image.size() != size) {
        error = QStringLiteral("bitmap %1: %2 x %3 instead of %4 x %5")
                    .arg(position)
                    .arg(image.width())
                    .arg(image.height())
                    .arg(size.width())
                    .arg(size.height());
        return {};
    }
    return image;
}

// The stored items are read once, at the start, and never again: their pages
// of the program file need not stay in memory (about 1 MB). Whole pages of
// the items read in place only; a page touched again is read in again.
void ReleaseBuiltInItems() {
#ifdef __linux__
    QStringList paths;
    for (int i = 0; i < MediaLibrary::kWaveCount; ++i) paths << WavePath(i);
    for (int i = 0; i < MediaLibrary::kBitmapCount; ++i) paths << BitmapPath(i);
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    for (const QString& path : paths) {
        const QResource resource(path);
        if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression) continue;
        const auto* begin = reinterpret_cast<const char*>(resource.data());
        const auto size = static_cast<std::size_t>(resource.size());
        const std::size_t misalignment = reinterpret_cast<std::uintptr_t>(begin) % page;
        const std::size_t skip = misalignment ? page - misalignment : 0;
        if (size <= skip) continue;
        const std::size_t length = (size - skip) / page * page;
        if (length > 0) madvise(const_cast<char*>(begin + skip), length, MADV_DONTNEED);
    }
#endif
}

}  // namespace

QSize MediaLibrary::BitmapSize(int position) {
    static_assert(kSheetSizes.size() == kBitmapCount);
    return BindingSize(position);
}

MediaLibrary::WaveItems MediaLibrary::BuiltInWaveItems() {
    WaveItems items;
    for (int i = 0; i < kWaveCount; ++i) items[i] = ReadResource(WavePath(i));
    return items;
}

MediaLibrary::BitmapItems MediaLibrary::BuiltInBitmapItems() {
    BitmapItems items;
    for (int i = 0; i < kBitmapCount; ++i) items[i] = ReadResource(BitmapPath(i));
    return items;
}

MediaLibrary MediaLibrary::LoadBuiltIn() {
    MediaLibrary media = LoadOrStop(BuiltInWaveItems(), BuiltInBitmapItems());
    ReleaseBuiltInItems();
    return media;
}

std::future<MediaLibrary> MediaLibrary::StartLoadingBuiltIn() {
    // Qt's resources are registered before main and read under Qt's own lock.
    return std::async(std::launch::async, &MediaLibrary::LoadBuiltIn);
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
        media.m_bitmaps[i] = LoadBitmap(bitmaps[i], i, BitmapSize(i), item, error);
        if (media.m_bitmaps[i].isNull()) return std::nullopt;
    }
    return media;
}

std::optional<SpriteSheets> MediaLibrary::LoadScaled(const BitmapItems& bitmaps, int scale, QString& error) {
    std::array<QImage, kBitmapCount> images;
    MediaItem item;
    for (int i = 0; i < kBitmapCount; ++i) {
        images[i] = LoadBitmap(bitmaps[i], i, BitmapSize(i) * scale, item, error);
        if (images[i].isNull()) return std::nullopt;
    }
    return SpriteSheets{images[PieceSheet],      images[FloorSheet],  images[WaterStrip],
                        images[BackgroundImage], images[LevelDigits], images[TimeDigits]};
}

const SpriteSheets* MediaLibrary::BuiltInScaled(int scale) {
    static std::array<std::optional<SpriteSheets>, 4> sets;
    static std::array<bool, 4> tried{};
    if (scale < 2 || scale > 3) return nullptr;
    if (!tried[scale]) {
        tried[scale] = true;
        BitmapItems items;
        for (int i = 0; i < kBitmapCount; ++i) {
            const QResource resource(ScaledBitmapPath(scale, i));
            if (!resource.isValid()) return nullptr;
            items[i] = ReadResource(ScaledBitmapPath(scale, i));
        }
        QString error;
        sets[scale] = LoadScaled(items, scale, error);
        // Built in, so a broken set is a broken build; the 1x set still draws.
        if (!sets[scale]) qWarning("Built-in pictures at %dx are broken: %s", scale, qPrintable(error));
    }
    return sets[scale] ? &*sets[scale] : nullptr;
}
