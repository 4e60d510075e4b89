// A sound server that takes the connection and never answers: the pulse
// client waits 30 s for it. Neither a sound nor the player's end may wait
// with it.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cerrno>
#include <cstdio>

#include "view/MediaLibrary.h"
#include "view/SoundPlayer.h"
#include "view/sound/AudioSinkOutput.h"

namespace {

int g_server = -1;  // listening at $XDG_RUNTIME_DIR/pulse/native, never answering

// The client connected to the server, or -1 when none has yet.
int Accepted() {
    static int client = -1;
    if (client < 0) client = ::accept4(g_server, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    return client;
}

// The client still waits for an answer: it has not closed the connection.
bool StillWaiting(int client) {
    char bytes[4096];
    for (;;) {
        const ssize_t n = ::recv(client, bytes, sizeof bytes, MSG_DONTWAIT);
        if (n > 0) continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

TEST(SoundWithAStuckServer, NeitherPlayingNorEndingWaits) {
    ASSERT_GE(g_server, 0);
    const MediaLibrary media = MediaLibrary::LoadBuiltIn();
    auto player =
        std::make_unique<SoundPlayer>(media.Waves(), [] { return std::make_unique<AudioSinkOutput>(); });
    QElapsedTimer clock;
    qint64 worst = 0;
    const auto play = [&](int n) {
        clock.start();
        player->Play(n);
        worst = std::max(worst, clock.nsecsElapsed());
    };
    play(1);
    int client = -1;
    for (int i = 0; i < 500 && client < 0; ++i) {
        QThread::msleep(10);
        client = Accepted();
    }
    ASSERT_GE(client, 0) << "the first sound reaches for the server";
    for (int n : {3, 1, 2, 4, 1}) play(n);
    clock.start();
    player.reset();
    const qint64 ending = clock.nsecsElapsed();
    EXPECT_TRUE(StillWaiting(client)) << "every call returned while the server was still being waited for";
    std::printf("longest sound call %.3f ms, the player's end %.3f ms\n", worst / 1e6, ending / 1e6);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("pulse");
    QFile config(dir.filePath("client.conf"));
    if (config.open(QIODevice::WriteOnly)) config.write("autospawn = no\n");
    config.close();
    qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
    qputenv("HOME", dir.path().toLocal8Bit());
    qputenv("PULSE_CLIENTCONFIG", config.fileName().toLocal8Bit());
    qunsetenv("PULSE_SERVER");
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = dir.filePath("pulse/native").toLocal8Bit();
    if (path.size() < static_cast<qsizetype>(sizeof address.sun_path)) {
        std::copy(path.begin(), path.end(), address.sun_path);
        g_server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (::bind(g_server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(g_server, 8) != 0)
            g_server = -1;
    }
    QApplication app(argc, argv);
    const int status = RUN_ALL_TESTS();
    // Qt Multimedia's exit handlers would wait for the client's 30 s.
    std::fflush(nullptr);
    if (SoundPlayer::LeftStuck()) std::_Exit(status);
    return status;
}
