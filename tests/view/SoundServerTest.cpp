// Playback on a real sound server of the test's own with a null sink.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QThread>
#include <functional>
#include <memory>

#include "tests/view/SoundServer.h"
#include "view/MediaLibrary.h"
#include "view/SoundPlayer.h"
#include "view/sound/AudioSinkOutput.h"

namespace {

std::unique_ptr<SoundOutput> MakeOutput() {
    return std::make_unique<AudioSinkOutput>();
}

SoundServer* g_server = nullptr;

// Lets Qt and the server work until the streams on the server are as wanted;
// returns them joined by ", " for readable failures.
std::string StreamsOnceSettled(const std::function<bool(const QStringList&)>& wanted) {
    QElapsedTimer clock;
    clock.start();
    QStringList streams;
    while (clock.elapsed() < 5000) {
        QCoreApplication::processEvents();
        streams = g_server->Streams();
        if (wanted(streams)) break;
        QThread::msleep(20);
    }
    return streams.join(", ").toStdString();
}

class SoundOnAServer : public ::testing::Test {
protected:
    void SetUp() override {
        const QString unavailable = SoundServer::Unavailable();
        if (!unavailable.isEmpty()) GTEST_SKIP() << unavailable.toStdString();
        ASSERT_TRUE(g_server && g_server->IsRunning()) << (g_server ? g_server->Log().toStdString() : "");
        ASSERT_FALSE(QMediaDevices::audioOutputs().isEmpty());
    }
    MediaLibrary media = MediaLibrary::LoadBuiltIn();
};

TEST_F(SoundOnAServer, ASecondSoundStopsAndReplacesTheFirst) {
    SoundPlayer player(media.Waves(), MakeOutput);
    player.Play(1);  // flow, 22050 Hz
    std::string streams = StreamsOnceSettled([](const QStringList& s) { return s.size() == 1; });
    EXPECT_EQ(streams, "u8 1ch 22050Hz");
    EXPECT_TRUE(player.IsPlaying());

    player.Play(2);  // solved, 11025 Hz: the flow sound must be gone, not mixed
    streams = StreamsOnceSettled([](const QStringList& s) { return s == QStringList{"u8 1ch 11025Hz"}; });
    EXPECT_EQ(streams, "u8 1ch 11025Hz");

    // Sound off keeps new sounds from starting and lets the playing one go on.
    player.SetEnabled(false);
    player.Play(1);
    QThread::msleep(100);
    EXPECT_EQ(StreamsOnceSettled([](const QStringList&) { return true; }), "u8 1ch 11025Hz");
    EXPECT_TRUE(player.IsPlaying());

    player.SetEnabled(true);
    player.Play(1);
    streams = StreamsOnceSettled([](const QStringList& s) { return s == QStringList{"u8 1ch 22050Hz"}; });
    EXPECT_EQ(streams, "u8 1ch 22050Hz");
}

TEST_F(SoundOnAServer, NoStreamIsLeftWhenThePlayerGoes) {
    {
        SoundPlayer player(media.Waves(), MakeOutput);
        player.Play(4);
        EXPECT_EQ(StreamsOnceSettled([](const QStringList& s) { return s.size() == 1; }), "u8 1ch 11025Hz");
    }
    EXPECT_EQ(StreamsOnceSettled([](const QStringList& s) { return s.isEmpty(); }), "");
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no server.
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    auto server = std::make_unique<SoundServer>();
    g_server = server.get();
    const int status = RUN_ALL_TESTS();
    g_server = nullptr;
    return status;
}
