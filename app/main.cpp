#include <QApplication>

#include "game/MainForm.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Aquendo"));
    QApplication::setOrganizationName(QStringLiteral("MoxelGames"));

    TMainForm mainForm(ProgramFolderOfExecutable());
    mainForm.show();
    return app.exec();
}
