#pragma once

#include <QDir>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

// A sound server of the test's own with a null sink: PulseAudio where it is
// installed, else PipeWire with its pulse server and wireplumber (a desktop
// that has those keeps them, pulseaudio would displace them). Its runtime
// folder and home are shared with this process so Qt finds it; stopped by
// process id when the object goes.
class SoundServer {
public:
    SoundServer();
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;
    // Why no server can be started here; empty when one can.
    static QString Unavailable();
    bool IsRunning() const { return m_running; }
    QString Log() const;

    // pactl run against this server.
    QString Pactl(const QStringList& args) const;
    // The sample formats of the streams playing on the server, e.g. "u8 1ch 11025Hz".
    QStringList Streams() const;

private:
    bool Start(const QString& program, const QStringList& args);
    bool AllRunning() const;
    bool StartPipeWire();

    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    std::vector<std::unique_ptr<QProcess>> m_daemons;
    bool m_running = false;
};
