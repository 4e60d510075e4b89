// Renders the game's SVG icon to square pictures.
//   aquendo-icon-render ICON.svg FOLDER NAME SIZE...
// writes FOLDER/SIZExSIZE/apps/NAME.png for each size, for the hicolor icon theme;
//   aquendo-icon-render --raw ICON.svg FOLDER NAME SIZE...
// writes FOLDER/NAME-SIZE.argb: the size as a 32-bit number, then the
// premultiplied ARGB32 pixels, in this machine's byte order, for building
// into the program, which then needs no image reader for its window icon.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdint>
#include <cstdio>

namespace {

bool WritePng(const QImage& image, const QString& folder, const QString& name, int size) {
    const QString subfolder = folder + QStringLiteral("/%1x%1/apps").arg(size);
    return QDir().mkpath(subfolder) && image.save(subfolder + u'/' + name + QStringLiteral(".png"), "PNG");
}

bool WriteRaw(const QImage& image, const QString& folder, const QString& name, int size) {
    QFile file(folder + u'/' + name + QStringLiteral("-%1.argb").arg(size));
    const auto side = static_cast<std::uint32_t>(size);
    return QDir().mkpath(folder) && file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(&side), sizeof side) == sizeof side &&
           file.write(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()) ==
               image.sizeInBytes();
}

}  // namespace

int main(int argc, char* argv[]) {
    // Runs in the build, where there is no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const bool raw = argc > 1 && QByteArray(argv[1]) == "--raw";
    const int first = raw ? 2 : 1;
    if (argc < first + 4) {
        std::fprintf(stderr, "usage: aquendo-icon-render [--raw] ICON.svg FOLDER NAME SIZE...\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[first]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "aquendo-icon-render: cannot read %s\n", argv[first]);
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[first + 1]);
    const QString name = QString::fromLocal8Bit(argv[first + 2]);
    for (int i = first + 3; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        if (size < 1 || size > 1024) {
            std::fprintf(stderr, "aquendo-icon-render: bad size %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        svg.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        if (!(raw ? WriteRaw : WritePng)(image, folder, name, size)) {
            std::fprintf(stderr, "aquendo-icon-render: cannot write %s in %s\n", argv[i], argv[first + 1]);
            return 1;
        }
    }
    return 0;
}
