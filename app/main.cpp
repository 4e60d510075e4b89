#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "game/Program.h"
#include "store/IniSettings.h"
#include "view/MediaLibrary.h"
#include "windows/MainForm.h"
#include "windows/PlatformChoice.h"

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
    // Read before Qt's start, which needs a display. --levels FILE play-tests
    // a level file of one's own.
    std::string playTestFile;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--help") {
            std::printf(
                "usage: aquendo [--levels FILE] [--quit-after-start] [Qt options]\n"
                "  --levels FILE        play-test FILE instead of the level file beside the program:\n"
                "                       start at level 1 with no results, write no settings\n"
                "                       (closing still offers to save the results)\n"
                "  --quit-after-start   start, print where the levels came from, and end\n");
            return 0;
        }
        if (word == "--levels") {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                std::fprintf(stderr, "aquendo: --levels needs a FILE\n");
                return 2;
            }
            playTestFile = argv[++i];
        }
    }
    // Unpacking the pictures and sounds needs no display: it runs on a second
    // core while the application connects to the window system.
    // Before the second thread starts: the environment is changed.
    const bool platformChosen = ChoosePlatform();
    std::future<MediaLibrary> loading = MediaLibrary::StartLoadingBuiltIn();
    QApplication app(argc, argv);
    if (platformChosen) qunsetenv("QT_QPA_PLATFORM");
    QApplication::setApplicationName(QStringLiteral(AQUENDO_NAME));
    QApplication::setOrganizationName(QStringLiteral("MoxelGames"));
    // Wayland names the window's app id after it; the desktop takes the entry's
    // icon and name from there.
    QGuiApplication::setDesktopFileName(QStringLiteral(AQUENDO_APP_ID));
    // For checking an installation: start as usual, tell where the levels came
    // from, and end as soon as the event loop runs, before the splash.
    const bool quitAfterStart = QApplication::arguments().contains(QStringLiteral("--quit-after-start"));

    const MediaLibrary media = loading.get();
    IniSettings settings;
    TMainForm mainForm(ProgramFolderOfExecutable(), media.Sheets(), settings, media.Waves(), nullptr,
                       playTestFile);
    mainForm.UseLargerSheets(&MediaLibrary::BuiltInScaled);
    if (quitAfterStart) {
        QTimer::singleShot(0, &mainForm, [&mainForm, &playTestFile] {
            const Game& game = mainForm.game();
            const std::string from =
                game.PlayTesting() ? playTestFile : game.ProgramFolder() + kLevelFileName;
            std::printf("%d levels from %s\n", game.LevelCount(), from.c_str());
            QCoreApplication::exit(0);
        });
    }
    mainForm.show();
    return QApplication::exec();
}
