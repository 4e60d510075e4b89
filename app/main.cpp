#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "game/Program.h"
#include "store/IniSettings.h"
#include "view/MediaLibrary.h"
#include "windows/MainForm.h"
#include "windows/PlatformLanguage.h"

int main(int argc, char* argv[]) {
    // Unpacking the pictures and sounds needs no display: it runs on a second
    // core while the application connects to the window system.
    std::future<MediaLibrary> loading = MediaLibrary::StartLoadingBuiltIn();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(AQUENDO_NAME));
    QApplication::setOrganizationName(QStringLiteral("MoxelGames"));
    // Wayland names the window's app id after it; the desktop takes the entry's
    // icon and name from there.
    QGuiApplication::setDesktopFileName(QStringLiteral(AQUENDO_APP_ID));
    UsePlatformLanguage();
    // For checking an installation: start as usual, tell where the levels came
    // from, and end as soon as the event loop runs, before the splash.
    const bool quitAfterStart = QApplication::arguments().contains(QStringLiteral("--quit-after-start"));

    const MediaLibrary media = loading.get();
    IniSettings settings;
    TMainForm mainForm(ProgramFolderOfExecutable(), media.Sheets(), settings, media.Waves());
    mainForm.UseLargerSheets(&MediaLibrary::BuiltInScaled);
    if (quitAfterStart) {
        QTimer::singleShot(0, &mainForm, [&mainForm] {
            const Game& game = mainForm.game();
            std::printf("%d levels from %s%s\n", game.LevelCount(), game.ProgramFolder().c_str(),
                        kLevelFileName);
            QCoreApplication::exit(0);
        });
    }
    mainForm.show();
    return QApplication::exec();
}
