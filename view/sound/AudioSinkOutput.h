#pragma once

#include <QAudioSink>
#include <QBuffer>
#include <memory>

#include "view/SoundPlayer.h"

// Sounds through Qt Multimedia, one audio sink at a time: a second sink would
// play mixed with the first.
class AudioSinkOutput : public SoundOutput {
public:
    ~AudioSinkOutput() override;
    void Play(const QByteArray& image) override;
    bool IsPlaying() const override;

private:
    void Stop();

    // The sink reads from the buffer: it goes first.
    std::unique_ptr<QBuffer> m_buffer;
    std::unique_ptr<QAudioSink> m_sink;
};
