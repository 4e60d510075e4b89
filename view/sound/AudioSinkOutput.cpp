#include "view/sound/AudioSinkOutput.h"

#include <QAudioFormat>
#include <QMediaDevices>
#include <span>

#include "view/codec/WaveImage.h"

namespace {

QAudioFormat::SampleFormat SampleFormat(int bits) {
    switch (bits) {
        case 8:
            return QAudioFormat::UInt8;
        case 16:
            return QAudioFormat::Int16;
        case 32:
            return QAudioFormat::Int32;
        default:
            return QAudioFormat::Unknown;
    }
}

}  // namespace

AudioSinkOutput::~AudioSinkOutput() {
    Stop();
}

void AudioSinkOutput::Stop() {
    if (m_sink) m_sink->stop();
    m_sink.reset();
    m_buffer.reset();
}

bool AudioSinkOutput::IsPlaying() const {
    return m_sink && (m_sink->state() == QAudio::ActiveState || m_sink->state() == QAudio::IdleState) &&
           m_buffer && !m_buffer->atEnd();
}

void AudioSinkOutput::Play(const QByteArray& image) {
    if (QMediaDevices::audioOutputs().isEmpty()) return;
    WaveImage wave;
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(image.constData()),
                                              static_cast<std::size_t>(image.size()));
    if (!ReadWaveImage(bytes, wave).empty() || wave.formatTag != 1 || wave.dataSize == 0) return;
    QAudioFormat format;
    format.setSampleRate(wave.sampleRate);
    format.setChannelCount(wave.channels);
    format.setSampleFormat(SampleFormat(wave.bitsPerSample));
    if (!format.isValid()) return;

    Stop();
    m_buffer = std::make_unique<QBuffer>();
    m_buffer->setData(
        QByteArray::fromRawData(image.constData() + wave.dataOffset, static_cast<qsizetype>(wave.dataSize)));
    m_buffer->open(QIODevice::ReadOnly);
    m_sink = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format);
    m_sink->start(m_buffer.get());
    if (m_sink->error() != QAudio::NoError) Stop();
}
