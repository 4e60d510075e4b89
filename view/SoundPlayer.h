#pragma once

#include <QAudioSink>
#include <QBuffer>
#include <QByteArray>
#include <QObject>
#include <array>
#include <memory>

// Plays the four sound effects from their in-memory RIFF WAVE images. One
// sound at a time: a new one stops and replaces the one still playing. With
// no audio output, or an image it cannot play, it stays silent; it never
// reports anything.
class SoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(const std::array<QByteArray, 4>& waves, QObject* parent = nullptr);
    ~SoundPlayer() override;

    // Sound n = 1..4 (flow, solved, refuse, time up), when enabled.
    void Play(int n);

    // Stands for the sound button: off keeps new sounds from starting and
    // lets a sound already playing finish.
    void SetEnabled(bool on) { m_enabled = on; }
    bool IsEnabled() const { return m_enabled; }

    // Whether a sound was started and has not finished yet.
    bool IsPlaying() const;

private:
    void Stop();

    std::array<QByteArray, 4> m_waves;  // shared with the media, never changed
    bool m_enabled = true;
    // The sink reads from the buffer: it goes first.
    std::unique_ptr<QBuffer> m_buffer;
    std::unique_ptr<QAudioSink> m_sink;
};
