#include "view/SoundPlayer.h"

#include <QLibrary>

#include "view/sound/SoundModule.h"

std::unique_ptr<SoundOutput> LoadSoundModule(const std::string& folder) {
    // The module stays loaded when the QLibrary goes, as the output's code
    // lives in it.
    QLibrary module(QString::fromStdString(folder) + QLatin1String(kSoundModuleName));
    auto make = reinterpret_cast<SoundModuleEntry>(module.resolve(kSoundModuleEntry));
    if (!make) return nullptr;
    return std::unique_ptr<SoundOutput>(make());
}

SoundPlayer::SoundPlayer(const WaveImages& waves, SoundOutputMaker makeOutput, QObject* parent)
    : QObject(parent), m_waves(waves), m_makeOutput(std::move(makeOutput)) {}

SoundPlayer::~SoundPlayer() = default;

bool SoundPlayer::IsPlaying() const {
    return m_output && m_output->IsPlaying();
}

void SoundPlayer::Play(int n) {
    if (!m_enabled || n < 1 || n > static_cast<int>(m_waves.size())) return;
    const QByteArray& image = m_waves[static_cast<std::size_t>(n - 1)];
    if (image.isEmpty()) return;
    if (!m_outputMade) {
        m_outputMade = true;
        if (m_makeOutput) m_output = m_makeOutput();
    }
    if (m_output) m_output->Play(image);
}
