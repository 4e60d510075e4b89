// Playback with no sound server at all: silence, and nothing reported.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <vector>

#include "view/MediaLibrary.h"
#include "view/SoundPlayer.h"
#include "view/sound/AudioSinkOutput.h"

namespace {

// The output the game makes, telling which images it was handed.
class Handed : public SoundOutput {
public:
    explicit Handed(std::vector<QByteArray>& log) : m_log(log) {}
    void Play(const QByteArray& image) override {
        m_log.push_back(image);
        m_output.Play(image);
    }
    bool IsPlaying() const override { return m_output.IsPlaying(); }

private:
    std::vector<QByteArray>& m_log;
    AudioSinkOutput m_output;
};

QStringList g_messages;

void Collect(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg) g_messages << text;
}

TEST(SoundWithoutServer, StaysSilentAndReportsNothing) {
    ASSERT_TRUE(QMediaDevices::audioOutputs().isEmpty());
    const MediaLibrary media = MediaLibrary::LoadBuiltIn();
    qInstallMessageHandler(Collect);
    std::vector<QByteArray> handed;
    {
        SoundPlayer player(media.Waves(), [&handed] { return std::make_unique<Handed>(handed); });
        for (int n : {1, 2, 3, 4, 0, 5, -1}) {
            player.Play(n);
            EXPECT_FALSE(player.IsPlaying()) << n;
        }
    }
    qInstallMessageHandler(nullptr);
    EXPECT_TRUE(g_messages.isEmpty()) << g_messages.join("\n").toStdString();
    // The silence is the output's: each of the four reached it, in turn, and nothing else.
    EXPECT_TRUE(std::equal(handed.begin(), handed.end(), media.Waves().begin(), media.Waves().end()))
        << handed.size() << " images handed";
}

// The game loads the audio libraries with the module at its first sound, not
// before, and a missing module leaves it silent.
TEST(SoundWithoutServer, TheOutputIsMadeAtTheFirstSoundOnly) {
    const MediaLibrary media = MediaLibrary::LoadBuiltIn();
    std::atomic<int> made = 0;
    SoundPlayer player(media.Waves(), [&made] {
        ++made;
        return LoadSoundModule(AQUENDO_SOUND_MODULE_DIR);
    });
    player.SetEnabled(false);
    player.Play(1);
    player.SetEnabled(true);
    player.Play(0);
    EXPECT_FALSE(player.HasOutput());
    player.Play(2);
    player.Play(3);
    EXPECT_TRUE(player.HasOutput());
    EXPECT_FALSE(player.IsPlaying());  // once the playing thread has dealt with them
    EXPECT_EQ(made, 1);

    EXPECT_NE(LoadSoundModule(AQUENDO_SOUND_MODULE_DIR), nullptr);
    EXPECT_EQ(LoadSoundModule("/nonexistent/"), nullptr);
    // From a folder whose name is no UTF-8, as the program folder may be.
    QTemporaryDir scratch;
    const std::string odd = scratch.path().toStdString() + "/J\xF6rg/";
    std::filesystem::create_directory(odd);
    std::filesystem::copy_file(std::string(AQUENDO_SOUND_MODULE_DIR) + kSoundModuleName,
                               odd + kSoundModuleName);
    EXPECT_NE(LoadSoundModule(odd), nullptr);
    SoundPlayer mute(media.Waves(), [] { return LoadSoundModule("/nonexistent/"); });
    mute.Play(1);
    EXPECT_FALSE(mute.IsPlaying());
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // No server anywhere: an empty runtime folder, a server address that does
    // not exist, and no daemon started on demand.
    QTemporaryDir dir;
    QFile config(dir.filePath("client.conf"));
    if (config.open(QIODevice::WriteOnly)) config.write("autospawn = no\n");
    config.close();
    qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
    qputenv("HOME", dir.path().toLocal8Bit());
    qputenv("PULSE_SERVER", dir.filePath("no-server").prepend("unix:").toLocal8Bit());
    qputenv("PULSE_CLIENTCONFIG", config.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
