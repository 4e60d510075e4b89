#include <QApplication>

#include "game/MainForm.h"
#include "view/DrawnSheets.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Aquendo"));
    QApplication::setOrganizationName(QStringLiteral("MoxelGames"));

    TMainForm mainForm(ProgramFolderOfExecutable(), MakeDrawnSheets());
    mainForm.show();
    return app.exec();
}
