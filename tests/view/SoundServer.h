#pragma once

#include <QDir>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A PulseAudio daemon of the test's own, with a null sink: its own runtime
// folder and home, shared with this process so Qt finds it; stopped by its
// process id when the object goes.
class SoundServer {
public:
    SoundServer();
    ~SoundServer();
    // Whether the daemon is there to start.
    static bool Installed();
    bool IsRunning() const { return m_running; }
    QString Log() const;

    // pactl run against this server.
    QString Pactl(const QStringList& args) const;
    // The sample formats of the streams playing on the server, e.g. "u8 1ch 11025Hz".
    QStringList Streams() const;

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    QProcess m_daemon;
    bool m_running = false;
};
