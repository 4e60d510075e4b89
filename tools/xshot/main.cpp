// Saves what an X screen shows to a PNG: for looking at the game under Xvfb.
//   aquendo-xshot FILE.png [X Y W H [SCALE]]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 6 && argc != 7) {
        std::fprintf(stderr, "usage: aquendo-xshot FILE.png [X Y W H [SCALE]]\n");
        return 2;
    }
    QPixmap shot =
        argc >= 6 ? QGuiApplication::primaryScreen()->grabWindow(0, std::atoi(argv[2]), std::atoi(argv[3]),
                                                                 std::atoi(argv[4]), std::atoi(argv[5]))
                  : QGuiApplication::primaryScreen()->grabWindow(0);
    // Enlarged without smoothing, to see single pixels.
    if (argc == 7)
        shot = shot.scaled(shot.size() * std::atoi(argv[6]), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return shot.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
