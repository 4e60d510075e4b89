#include "view/SoundPlayer.h"

#include <dlfcn.h>

#include <QThread>
#include <atomic>
#include <chrono>
#include <future>

#include "view/sound/SoundModule.h"

std::unique_ptr<SoundOutput> LoadSoundModule(const std::string& folder) {
    // By its bytes: a folder whose name is no UTF-8 has no QString. The module
    // stays loaded for good, as the output's code lives in it.
    void* module = dlopen((folder + kSoundModuleName).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) return nullptr;
    auto make = reinterpret_cast<SoundModuleEntry>(dlsym(module, kSoundModuleEntry));
    if (!make) return nullptr;
    return std::unique_ptr<SoundOutput>(make());
}

namespace {

using Clock = std::chrono::steady_clock;

// A playing thread that did not end in time, still stuck with the sound
// server: left running, and reachable, until the program ends.
std::vector<QThread*>& LeftThreads() {
    static auto* left = new std::vector<QThread*>;
    return *left;
}

}  // namespace

// What the playing thread owns; the output is made, used and destroyed there.
struct SoundPlayer::Playback {
    SoundOutputMaker makeOutput;
    std::unique_ptr<SoundOutput> output;
    bool outputMade = false;
    std::atomic<unsigned> latest{0};  // the number of the last sound asked for
};

SoundPlayer::SoundPlayer(const WaveImages& waves, SoundOutputMaker makeOutput, QObject* parent)
    : QObject(parent), m_waves(waves), m_playback(std::make_shared<Playback>()) {
    m_playback->makeOutput = std::move(makeOutput);
}

SoundPlayer::~SoundPlayer() {
    if (!m_thread) return;
    QMetaObject::invokeMethod(m_inThread, [playback = m_playback] { playback->output.reset(); });
    m_inThread->deleteLater();
    m_thread->quit();
    if (m_thread->wait(std::chrono::milliseconds(200))) {
        delete m_thread;
    } else {
        LeftThreads().push_back(m_thread);
    }
}

bool SoundPlayer::LeftStuck() {
    return !LeftThreads().empty();
}

bool SoundPlayer::IsPlaying() const {
    if (!m_thread) return false;
    auto answer = std::make_shared<std::promise<bool>>();
    std::future<bool> playing = answer->get_future();
    QMetaObject::invokeMethod(m_inThread, [playback = m_playback, answer] {
        answer->set_value(playback->output && playback->output->IsPlaying());
    });
    return playing.wait_for(std::chrono::seconds(1)) == std::future_status::ready && playing.get();
}

void SoundPlayer::Play(int n) {
    if (!m_enabled || n < 1 || n > static_cast<int>(m_waves.size())) return;
    const QByteArray& image = m_waves[static_cast<std::size_t>(n - 1)];
    if (image.isEmpty()) return;
    m_outputAsked = true;
    if (!m_thread) {
        m_thread = new QThread;
        m_thread->setObjectName(QStringLiteral("sound"));
        m_inThread = new QObject;
        m_inThread->moveToThread(m_thread);
        m_thread->start();
    }
    const unsigned number = ++m_playback->latest;
    const Clock::time_point asked = Clock::now();
    QMetaObject::invokeMethod(m_inThread, [playback = m_playback, image, number, asked] {
        const auto inTime = [&] {
            return number == playback->latest &&
                   Clock::now() - asked <= std::chrono::milliseconds(kLatestStart);
        };
        if (!inTime()) return;
        if (!playback->outputMade) {
            playback->outputMade = true;
            if (playback->makeOutput) playback->output = playback->makeOutput();
        }
        if (playback->output && inTime()) playback->output->Play(image);
    });
}
