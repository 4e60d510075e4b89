#include <QAccessible>
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/CommandLine.h"
#include "app/ProgramFolder.h"
#include "app/SessionBus.h"
#include "app/UnwrittenSettings.h"
#include "game/Program.h"
#include "store/IniSettings.h"
#include "view/MediaLibrary.h"
#include "windows/MainForm.h"
#include "windows/PlatformChoice.h"
#include "windows/PlatformLanguage.h"
#include "windows/SessionEnd.h"
#include "windows/SingleInstance.h"

namespace {

// Asked of Qt for this process only: programs the game starts (the browser)
// make their own choice.
bool ChoosePlatform() {
    const char* platform = ChosenPlatform(std::getenv("QT_QPA_PLATFORM"), std::getenv("XDG_CURRENT_DESKTOP"),
                                          std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"));
    if (platform) qputenv("QT_QPA_PLATFORM", platform);
    return platform != nullptr;
}

}  // namespace

int main(int argc, char* argv[]) {
    const CommandLine command = ParseCommandLine(argv[0], {argv + 1, argv + argc});
    if (command.exitStatus) {
        std::fputs(command.out.c_str(), stdout);
        std::fputs(command.err.c_str(), stderr);
        return *command.exitStatus;
    }
    // One game per user: a later start brings the running one to the front
    // and ends, before it has read or written anything.
    SingleInstance instance;
    if (!instance.IsFirst()) return instance.AskFirstToFront() ? 0 : 1;
    const bool platformChosen = ChoosePlatform();
    // Qt's accessibility bridge asks for the session bus at the first widget;
    // with none, libdbus forks and looks for dbus-launch in every folder of
    // PATH while the window waits. Where nothing could answer, an address
    // that is not there tells it at once. The bridge is started here, and
    // the environment put back before the second thread starts, for
    // programs the game starts.
    const bool noBus = NoSessionBusCanExist(std::getenv("DBUS_SESSION_BUS_ADDRESS"),
                                            std::getenv("XDG_RUNTIME_DIR"), std::getenv("PATH"));
    if (noBus) qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/no-session-bus");
    QApplication app(argc, argv);
    if (platformChosen) qunsetenv("QT_QPA_PLATFORM");
    if (noBus) {
        QAccessible::isActive();
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    // Unpacking the pictures and sounds needs no display: it runs on a second
    // core while the window is built and shown. Not while the application
    // connects to the window system: the X server wants that core then, and
    // the unpacking's page faults hold up the loading of Qt's plugins.
    // After the last change of the environment.
    std::future<MediaLibrary> loading = MediaLibrary::StartLoadingBuiltIn();
    TSessionEnd session;
    QApplication::setApplicationName(QStringLiteral(AQUENDO_NAME));
    QApplication::setOrganizationName(QStringLiteral("MoxelGames"));
    // Wayland names the window's app id after it; the desktop takes the entry's
    // icon and name from there.
    QGuiApplication::setDesktopFileName(QStringLiteral(AQUENDO_APP_ID));
    UsePlatformLanguage();
    // For checking an installation: start as usual, tell where the levels came
    // from, and end as soon as the event loop runs, before the splash.
    const bool quitAfterStart = command.quitAfterStart;

    const auto settings =
        quitAfterStart ? std::make_unique<UnwrittenSettings>() : std::make_unique<IniSettings>();
    // The pictures come after the window is shown, before its first paint:
    // the window system maps it while the second thread finishes.
    TMainForm mainForm(GameFilesFolder(ProgramFolderOfExecutable(), AQUENDO_DATA_FROM_PROGRAM), {}, *settings,
                       {}, nullptr, command.levelsFile);
    mainForm.SetSoundModuleFolder(ProgramFolderOfExecutable());
    mainForm.UseLargerSheets(&MediaLibrary::BuiltInScaled);
    session.Watch(mainForm);
    instance.OnLaterStart(
        [&mainForm](const SingleInstance::LaterStart& later) { BringToFront(mainForm, later); });
    if (quitAfterStart) {
        QTimer::singleShot(0, &mainForm, [&mainForm, &command] {
            const Game& game = mainForm.game();
            const std::string from =
                game.PlayTesting() ? command.levelsFile : game.ProgramFolder() + kLevelFileName;
            std::printf("%d levels from %s\n", game.LevelCount(), from.c_str());
            QCoreApplication::exit(0);
        });
    }
    mainForm.show();
    const MediaLibrary media = loading.get();
    mainForm.MediaArrived(media.Sheets(), media.Waves());
    return session.Exec();
}
