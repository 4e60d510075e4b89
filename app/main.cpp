#include <QApplication>

#include "game/MainForm.h"
#include "store/IniSettings.h"
#include "view/DrawnSheets.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Aquendo"));
    QApplication::setOrganizationName(QStringLiteral("MoxelGames"));

    IniSettings settings;
    TMainForm mainForm(ProgramFolderOfExecutable(), MakeDrawnSheets(), settings);
    mainForm.show();
    return app.exec();
}
