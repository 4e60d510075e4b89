#pragma once

#include <QByteArray>
#include <QObject>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "view/WaveImages.h"

class QThread;

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
// output made at the first sound. The output is made and played on a thread
// of its own: a sound server that does not answer (the first connection
// waits 30 s for it) must not stop the game. A sound that has waited there
// behind a later one, or for longer than kLatestStart, is not played.
class SoundPlayer : public QObject {
    Q_OBJECT
public:
    static constexpr int kLatestStart = 1000;  // ms

    SoundPlayer(const WaveImages& waves, SoundOutputMaker makeOutput, QObject* parent = nullptr);
    // Waits a moment for the playing thread; one still stuck with the sound
    // server is left to end with the program.
    ~SoundPlayer() override;

    // For a player made before the sounds were unpacked; before the first sound.
    void SetWaves(const WaveImages& waves) { m_waves = waves; }
    // Sound n = 1..4 (flow, solved, refuse, time up), when enabled. Returns
    // at once.
    void Play(int n);

    // Stands for the sound button: off keeps new sounds from starting and
    // lets a sound already playing finish.
    void SetEnabled(bool on) { m_enabled = on; }
    bool IsEnabled() const { return m_enabled; }

    // Whether a sound was started and has not finished yet, once the sounds
    // asked for so far have been dealt with; false when the playing thread
    // does not answer within a second. For tests: it waits.
    bool IsPlaying() const;
    // Whether the output was asked for yet: only the first sound makes it.
    bool HasOutput() const { return m_outputAsked; }

    // A player's thread was left stuck with the sound server. Qt Multimedia's
    // exit handlers wait for it, up to 30 s: a program that has written
    // everything may end with _Exit instead.
    static bool LeftStuck();

private:
    struct Playback;

    WaveImages m_waves;  // shared with the media, never changed once a sound played
    bool m_enabled = true;
    bool m_outputAsked = false;
    std::shared_ptr<Playback> m_playback;
    QThread* m_thread = nullptr;
    QObject* m_inThread = nullptr;  // where the playing thread's work is queued
};
