#include "tools/mediagen/ContactSheet.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <memory>

#include "view/MediaLibrary.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage Enlarged(const QImage& image, int factor) {
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QRect Times(QRect r, int s) {
    return {r.x() * s, r.y() * s, r.width() * s, r.height() * s};
}

// A board laid out as the game draws it: copy for pieces, floor and
// background, AND with the mask and OR with a water tile for the blobs; from
// sheets of the given scale, every rectangle times that scale.
QImage SampleBoard(const SpriteSheets& sheets, int s) {
    QImage board = sheets.BackgroundImage.copy();
    QPainter p(&board);
    const QImage& pieces = sheets.PieceSheet;
    const QImage& floor = sheets.FloorSheet;
    const QImage& water = sheets.WaterStrip;
    auto corner = [s](int c, int r) { return QPoint(CellLeft(c), CellTop(r)) * s; };
    auto blob = [&](int c, int r, int tile) {
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        const QPoint at = corner(c, r) + QPoint(kBlobOffset, kBlobOffset) * s;
        p.drawImage(at, water, Times(QRect(kBlobSize * kWaterMaskTile, 0, kBlobSize, kBlobSize), s));
        p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        p.drawImage(at, water, Times(QRect(kBlobSize * tile, 0, kBlobSize, kBlobSize), s));
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    };
    auto piece = [&](int c, int r, int code, int wetTile = -1, int frame = -1) {
        const int k = frame >= 0 ? frame : 3 * (code >> 3);
        p.drawImage(corner(c, r), pieces,
                    Times(QRect(kCellSize * k, kCellSize * ((code & 7) - 1), kCellSize, kCellSize), s));
        if (wetTile >= 0) blob(c, r, wetTile);
    };
    auto tile = [&](int c, int r, int f) {
        p.drawImage(corner(c, r), floor, Times(QRect(36 * (f & 7), 36 * (f >> 3), 36, 36), s));
    };
    auto motif = [&](int c, int r, int first, int size) {
        for (int j = 0; j < size; ++j)
            for (int i = 0; i < size; ++i) tile(c + i, r + j, first + 8 * j + i);
    };
    // Floors: the five larger pictures and a few single tiles.
    motif(1, 1, 8, 2);
    motif(8, 1, 10, 2);
    motif(1, 6, 35, 2);
    motif(8, 6, 12, 3);
    motif(4, 6, 32, 3);
    for (int c = 3; c <= 7; ++c) tile(c, 1, c - 3);
    tile(1, 3, 5), tile(1, 4, 6), tile(2, 3, 24), tile(2, 4, 59), tile(10, 3, 62), tile(10, 4, 63);
    // A pipe run with water, some dry pieces, a piece in mid-turn and water rising.
    piece(3, 3, 1 + 8 * 0, 5);  // end, opening right
    piece(4, 3, 3, 5);          // straight
    piece(5, 3, 4 + 8 * 3, 5);  // tee
    piece(6, 3, 2 + 8 * 1, 5);  // corner
    piece(5, 4, 3 + 8 * 1, 5);  // straight, upright
    piece(5, 5, 5, 3);          // cross, water rising
    piece(6, 4, 2, -1);         // dry corner
    piece(7, 3, 3, -1, 1);      // straight turning, frame 1
    piece(8, 3, 3, -1, 2);      // frame 2
    piece(9, 3, 3 + 8, -1);     // at rest, orientation 1
    piece(3, 4, 1 + 8 * 3, -1);
    piece(4, 4, 4 + 8 * 1, 1);
    piece(6, 5, 2 + 8 * 2, 0);
    piece(7, 4, 5, -1, 4);
    piece(8, 4, 4 + 8 * 2, 5);
    piece(9, 4, 1 + 8 * 2, -1);
    piece(4, 5, 2 + 8 * 3, 2);
    piece(7, 5, 1 + 8 * 1, 4);
    p.end();
    return board;
}

// The two tool-bar displays as the game composes them: three glyphs 13 pixels
// apart, leading zeros blank, and the face of the level display.
QImage Displays(const MediaLibrary& media) {
    QImage out(2 * 101 + 10 + 81, 24, QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    const QImage& level = media.Bitmap(MediaLibrary::LevelDigits);
    const QImage& time = media.Bitmap(MediaLibrary::TimeDigits);
    auto number = [&](const QImage& sheet, QPoint at, int glyphs[3]) {
        for (int k = 0; k < 3; ++k)
            p.drawImage(at + QPoint(13 * k, 0), sheet, QRect(11 * glyphs[k], 0, 11, 20));
    };
    int a[3] = {10, 4, 7}, b[3] = {3, 0, 8}, c[3] = {10, 10, 0}, d[3] = {1, 9, 6};
    number(level, {2, 2}, a);
    p.drawImage(QPoint(44, 2), level, QRect(122, 0, 13, 20));
    number(level, {103, 2}, b);
    p.drawImage(QPoint(145, 2), level, QRect(135, 0, 13, 20));
    number(time, {212, 2}, c);
    number(time, {252, 2}, d);
    return out;
}

class Sheet {
public:
    explicit Sheet(int width) : m_image(width, 7600, QImage::Format_RGB32) {
        m_image.fill(QColor(0x30, 0x30, 0x34));
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::Antialiasing);
        m_painter->setPen(QColor(0xE0, 0xE0, 0xE0));
        QFont font("DejaVu Sans", 11);
        m_painter->setFont(font);
    }
    QPainter& Painter() { return *m_painter; }
    // Places an image with a caption at the cursor, left to right, wrapping.
    void Place(const QImage& image, const QString& caption) {
        if (m_x + image.width() > m_image.width() - kMargin) NewRow();
        m_painter->drawText(m_x, m_y + 14, caption);
        m_painter->drawImage(m_x, m_y + kCaption, image);
        m_x += image.width() + kMargin;
        m_rowHeight = std::max(m_rowHeight, image.height() + kCaption);
    }
    void NewRow() {
        m_y += m_rowHeight + kMargin;
        m_x = kMargin;
        m_rowHeight = 0;
    }
    QImage Finish() {
        NewRow();
        m_painter.reset();
        return m_image.copy(0, 0, m_image.width(), m_y);
    }

private:
    static constexpr int kMargin = 20;
    static constexpr int kCaption = 20;
    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
    int m_x = kMargin, m_y = kMargin, m_rowHeight = 0;
};

QImage RenderSvg(const QString& path, QSize size, QColor face) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(face);
    QSvgRenderer renderer(path);
    QPainter p(&image);
    renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

}  // namespace

bool RenderContactSheet(const std::string& mediaDir, const std::string& glyphDir, const std::string& pngPath,
                        std::string& error) {
    std::unique_ptr<QGuiApplication> app;
    if (!QGuiApplication::instance()) {
        static int argc = 1;
        static char name[] = "aquendo-mediagen";
        static char* argv[] = {name, nullptr};
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    const QDir media(QString::fromStdString(mediaDir));
    MediaLibrary::WaveItems waves;
    MediaLibrary::BitmapItems bitmaps;
    for (int i = 0; i < MediaLibrary::kWaveCount; ++i)
        waves[i] = ReadAll(media.filePath(QStringLiteral("waves/%1.item").arg(i)));
    for (int i = 0; i < MediaLibrary::kBitmapCount; ++i)
        bitmaps[i] = ReadAll(media.filePath(QStringLiteral("bitmaps/%1.item").arg(i)));
    QString problem;
    const std::optional<MediaLibrary> library = MediaLibrary::Load(waves, bitmaps, problem);
    if (!library) {
        error = problem.toStdString();
        return false;
    }

    Sheet sheet(2060);
    sheet.Place(Enlarged(library->Bitmap(MediaLibrary::BackgroundImage), 2),
                "3 BackgroundImage 500 x 333, 2x");
    sheet.Place(Enlarged(SampleBoard(library->Sheets(), 1), 2),
                "a board drawn from the sheets with copy, AND and OR, 2x");
    sheet.NewRow();
    sheet.Place(Enlarged(library->Bitmap(MediaLibrary::PieceSheet), 2), "0 PieceSheet 432 x 180, 2x");
    sheet.Place(Enlarged(library->Bitmap(MediaLibrary::FloorSheet), 2), "1 FloorSheet 288 x 288, 2x");
    sheet.Place(Enlarged(library->Bitmap(MediaLibrary::PieceSheet).copy(0, 0, 432, 72), 4),
                "PieceSheet rows 1-2, 4x");
    sheet.NewRow();
    sheet.Place(Enlarged(library->Bitmap(MediaLibrary::WaterStrip), 2), "2 WaterStrip 96 x 12, 2x");
    sheet.Place(Enlarged(library->Bitmap(MediaLibrary::WaterStrip), 8), "WaterStrip, 8x");
    sheet.Place(Enlarged(library->Bitmap(MediaLibrary::LevelDigits), 2), "4 LevelDigits 148 x 20, 2x");
    sheet.Place(Enlarged(library->Bitmap(MediaLibrary::TimeDigits), 2), "5 TimeDigits 121 x 20, 2x");
    sheet.Place(Enlarged(library->Bitmap(MediaLibrary::LevelDigits), 5), "LevelDigits, 5x");
    sheet.Place(Enlarged(Displays(*library), 3), "level 47, 308 and time 0, 196 as shown, 3x");
    sheet.NewRow();

    const QDir glyphs(QString::fromStdString(glyphDir));
    const QStringList files = glyphs.entryList({"*.svg"}, QDir::Files, QDir::Name);
    const QColor face(0xD4, 0xD0, 0xC8);
    for (const QString& file : files) {
        if (file == "splash.svg") continue;
        const QString path = glyphs.filePath(file);
        QSvgRenderer renderer(path);
        const QSize natural = renderer.defaultSize();
        QImage pair(natural.width() + 20 + 4 * natural.width(), 4 * natural.height(), QImage::Format_RGB32);
        pair.fill(face);
        QPainter p(&pair);
        p.drawImage(0, 0, RenderSvg(path, natural, face));
        p.drawImage(natural.width() + 20, 0, RenderSvg(path, natural * 4, face));
        p.end();
        sheet.Place(pair, file);
    }
    sheet.NewRow();
    // The larger sets, as a dense screen shows them: pixel for pixel.
    for (int scale : {2, 3}) {
        MediaLibrary::BitmapItems scaled;
        for (int i = 0; i < MediaLibrary::kBitmapCount; ++i)
            scaled[i] =
                ReadAll(media.filePath(QStringLiteral("scaled/%1/bitmaps/%2.item").arg(scale).arg(i)));
        const std::optional<SpriteSheets> sheets = MediaLibrary::LoadScaled(scaled, scale, problem);
        if (!sheets) {
            error = "scaled/" + std::to_string(scale) + ": " + problem.toStdString();
            return false;
        }
        sheet.NewRow();
        sheet.Place(SampleBoard(*sheets, scale),
                    QStringLiteral("the board from the %1x sheets, as a screen at %1x shows it").arg(scale));
    }
    sheet.NewRow();
    const QString splash = glyphs.filePath("splash.svg");
    sheet.Place(RenderSvg(splash, QSize(200, 150), Qt::black), "splash.svg 200 x 150");
    sheet.Place(RenderSvg(splash, QSize(400, 300), Qt::black), "splash.svg, 2x");

    if (!sheet.Finish().save(QString::fromStdString(pngPath), "PNG")) {
        error = "cannot write " + pngPath;
        return false;
    }
    return true;
}
