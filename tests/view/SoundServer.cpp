#include "tests/view/SoundServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

SoundServer::SoundServer() {
    m_env = QProcessEnvironment::systemEnvironment();
    m_env.insert("XDG_RUNTIME_DIR", m_dir.path());
    m_env.insert("HOME", m_dir.path());
    m_env.remove("PULSE_SERVER");
    // The client side of Qt reads these when it first looks for audio outputs.
    qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
    qputenv("HOME", m_dir.path().toLocal8Bit());
    qunsetenv("PULSE_SERVER");

    m_daemon.setProcessEnvironment(m_env);
    m_daemon.setProcessChannelMode(QProcess::MergedChannels);
    m_daemon.start("pulseaudio", {"-n", "--load=module-null-sink", "--load=module-native-protocol-unix",
                                  "--exit-idle-time=-1", "--daemonize=no"});
    if (!m_daemon.waitForStarted(5000)) return;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000 && m_daemon.state() == QProcess::Running) {
        if (QFile::exists(m_dir.filePath("pulse/native")) && Pactl({"info"}).contains("Server Name")) {
            m_running = true;
            return;
        }
        QThread::msleep(20);
    }
}

bool SoundServer::Installed() {
    return !QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty();
}

SoundServer::~SoundServer() {
    if (m_daemon.state() == QProcess::NotRunning) return;
    m_daemon.terminate();  // SIGTERM to the daemon's own process id
    if (!m_daemon.waitForFinished(5000)) {
        m_daemon.kill();
        m_daemon.waitForFinished(2000);
    }
}

QString SoundServer::Log() const {
    return QString::fromLocal8Bit(const_cast<QProcess&>(m_daemon).readAll());
}

QString SoundServer::Pactl(const QStringList& args) const {
    QProcess pactl;
    pactl.setProcessEnvironment(m_env);
    pactl.start("pactl", args);
    pactl.waitForFinished(5000);
    return QString::fromLocal8Bit(pactl.readAllStandardOutput());
}

// Each stream lists its sample format on a line of its own, "u8 1ch 11025Hz"
// after the label; the value's shape finds it whatever the label's wording.
QStringList SoundServer::Streams() const {
    static const QRegularExpression kFormat(QStringLiteral(R"(^[^:]+:\s*(\S+ \d+ch \d+Hz)$)"));
    QStringList formats;
    for (const QString& line : Pactl({"list", "sink-inputs"}).split('\n')) {
        const QRegularExpressionMatch match = kFormat.match(line.trimmed());
        if (match.hasMatch()) formats << match.captured(1);
    }
    return formats;
}
