#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/CommandLine.h"
#include "app/ProgramFolder.h"
#include "app/UnwrittenSettings.h"
#include "game/Program.h"
#include "store/IniSettings.h"
#include "view/MediaLibrary.h"
#include "windows/MainForm.h"

int main(int argc, char* argv[]) {
    const CommandLine command = ParseCommandLine(argv[0], {argv + 1, argv + argc});
    if (command.exitStatus) {
        std::fputs(command.out.c_str(), stdout);
        std::fputs(command.err.c_str(), stderr);
        return *command.exitStatus;
    }
    // Unpacking the pictures and sounds needs no display: it runs on a second
    // core while the application connects to the window system.
    std::future<MediaLibrary> loading = MediaLibrary::StartLoadingBuiltIn();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(AQUENDO_NAME));
    QApplication::setOrganizationName(QStringLiteral("MoxelGames"));
    // Wayland names the window's app id after it; the desktop takes the entry's
    // icon and name from there.
    QGuiApplication::setDesktopFileName(QStringLiteral(AQUENDO_APP_ID));
    // For checking an installation: start as usual, tell where the levels came
    // from, and end as soon as the event loop runs, before the splash.
    const bool quitAfterStart = command.quitAfterStart;

    const MediaLibrary media = loading.get();
    const auto settings =
        quitAfterStart ? std::make_unique<UnwrittenSettings>() : std::make_unique<IniSettings>();
    TMainForm mainForm(GameFilesFolder(ProgramFolderOfExecutable(), AQUENDO_DATA_FROM_PROGRAM),
                       media.Sheets(), *settings, media.Waves());
    mainForm.SetSoundModuleFolder(ProgramFolderOfExecutable());
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
