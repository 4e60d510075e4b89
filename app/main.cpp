#include <QApplication>

#include "game/MainForm.h"
#include "store/IniSettings.h"
#include "view/MediaLibrary.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Aquendo"));
    QApplication::setOrganizationName(QStringLiteral("MoxelGames"));

    const MediaLibrary media = MediaLibrary::LoadBuiltIn();
    IniSettings settings;
    TMainForm mainForm(ProgramFolderOfExecutable(), media.Sheets(), settings, media.Waves());
    mainForm.show();
    return app.exec();
}
