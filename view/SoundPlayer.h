#pragma once

#include <QByteArray>
#include <QObject>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "view/WaveImages.h"

// Where the sounds go. One sound at a time: Play stops and replaces the one
// still playing. With no audio output, or an image it cannot play, an output
// stays silent; it never reports anything.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // image: a RIFF WAVE memory image that outlives the sound.
    virtual void Play(const QByteArray& image) = 0;
    virtual bool IsPlaying() const = 0;
};

using SoundOutputMaker = std::function<std::unique_ptr<SoundOutput>()>;

// The audio output from the sound module in folder (the program folder): the
// audio libraries are loaded with it, so a game that plays no sound never
// loads them. Nothing when the module is missing or does not load.
std::unique_ptr<SoundOutput> LoadSoundModule(const std::string& folder);
// The module's file name.
inline constexpr char kSoundModuleName[] = "aquendo-sound.so";

// Plays the four sound effects from their in-memory RIFF WAVE images on an
// output made at the first sound.
class SoundPlayer : public QObject {
    Q_OBJECT
public:
    SoundPlayer(const WaveImages& waves, SoundOutputMaker makeOutput, QObject* parent = nullptr);
    ~SoundPlayer() override;

    // Sound n = 1..4 (flow, solved, refuse, time up), when enabled.
    void Play(int n);

    // Stands for the sound button: off keeps new sounds from starting and
    // lets a sound already playing finish.
    void SetEnabled(bool on) { m_enabled = on; }
    bool IsEnabled() const { return m_enabled; }

    // Whether a sound was started and has not finished yet.
    bool IsPlaying() const;
    // Whether the output was made yet: only the first sound makes it.
    bool HasOutput() const { return m_outputMade; }

private:
    WaveImages m_waves;  // shared with the media, never changed
    bool m_enabled = true;
    SoundOutputMaker m_makeOutput;
    bool m_outputMade = false;
    std::unique_ptr<SoundOutput> m_output;
};
