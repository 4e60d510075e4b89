// The yardstick of scripts/perf/run.sh: a bare Qt window of the game's size
// (500 x 366), built the same way as the game, doing nothing.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.setFixedSize(500, 366);
    window.show();
    return QApplication::exec();
}
