// Renders the game's SVG icon to square PNGs for the hicolor icon theme.
//   aquendo-icon-render ICON.svg FOLDER NAME SIZE...
// writes FOLDER/SIZExSIZE/apps/NAME.png for each size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[]) {
    // Runs in the build, where there is no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: aquendo-icon-render ICON.svg FOLDER NAME SIZE...\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    QSvgRenderer svg(source);
    if (!svg.isValid()) {
        std::fprintf(stderr, "aquendo-icon-render: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
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
        const QString folder = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/%1x%1/apps").arg(size);
        const QString file = folder + u'/' + name + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "aquendo-icon-render: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
