#include "tests/view/SoundServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <functional>

namespace {

bool Has(const char* program) {
    return !QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty();
}

bool WaitFor(const std::function<bool()>& ready) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000) {
        if (ready()) return true;
        QThread::msleep(20);
    }
    return false;
}

}  // namespace

SoundServer::SoundServer() {
    m_env = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"XDG_RUNTIME_DIR", "HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "PIPEWIRE_RUNTIME_DIR"})
        m_env.insert(QString::fromLatin1(name), m_dir.path());
    // Nothing of the desktop's own session may be reached: its pulse or
    // PipeWire server, or its bus, through which wireplumber would ask for the
    // sound card (wireplumber gets a bus of its own).
    for (const char* name :
         {"PULSE_SERVER", "PULSE_RUNTIME_PATH", "PIPEWIRE_REMOTE", "DISPLAY", "WAYLAND_DISPLAY"})
        m_env.remove(QString::fromLatin1(name));
    m_env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + m_dir.filePath("bus"));
    // The client side of Qt reads these when it first looks for audio outputs.
    qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
    qputenv("HOME", m_dir.path().toLocal8Bit());
    qunsetenv("PULSE_SERVER");
    qunsetenv("PULSE_RUNTIME_PATH");

    if (!Unavailable().isEmpty()) return;
    if (Has("pulseaudio")) {
        if (!Start("pulseaudio", {"-n", "--load=module-null-sink", "--load=module-native-protocol-unix",
                                  "--exit-idle-time=-1", "--daemonize=no"}))
            return;
    } else if (!StartPipeWire()) {
        return;
    }
    m_running = WaitFor([this] {
        return AllRunning() && QFile::exists(m_dir.filePath("pulse/native")) &&
               Pactl({"info"}).contains("Server Name");
    });
    if (m_running && m_daemons.size() > 1) {
        // PipeWire has no sink without a card; wireplumber links streams to this one.
        Pactl({"load-module", "module-null-sink"});
        m_running =
            WaitFor([this] { return AllRunning() && Pactl({"get-default-sink"}).startsWith("null"); });
    }
}

QString SoundServer::Unavailable() {
    if (!Has("pactl")) return QStringLiteral("no pactl (pulseaudio-utils) to look at a private sound server");
    if (Has("pulseaudio") ||
        (Has("pipewire") && Has("pipewire-pulse") && Has("wireplumber") && Has("dbus-daemon")))
        return {};
    return QStringLiteral(
        "neither pulseaudio nor PipeWire with pipewire-pulse, wireplumber and dbus-daemon for a private "
        "sound "
        "server: "
        "scripts/setup.sh installs pulseaudio only where that removes nothing");
}

bool SoundServer::Start(const QString& program, const QStringList& args) {
    auto& daemon = *m_daemons.emplace_back(std::make_unique<QProcess>());
    daemon.setProcessEnvironment(m_env);
    // To a file: with no event loop running, a pipe would be read by no one.
    daemon.setProcessChannelMode(QProcess::MergedChannels);
    daemon.setStandardOutputFile(m_dir.filePath(program + ".log"));
    daemon.start(program, args);
    return daemon.waitForStarted(5000);
}

bool SoundServer::AllRunning() const {
    for (const auto& daemon : m_daemons)
        if (daemon->state() != QProcess::Running) return false;
    return true;
}

bool SoundServer::StartPipeWire() {
    // wireplumber of the test's own looks for no devices: the only sink is
    // the null one, and the desktop's cards stay the desktop's.
    QDir config(m_dir.path());
    if (!config.mkpath("wireplumber/main.lua.d") || !config.mkpath("wireplumber/bluetooth.lua.d"))
        return false;
    QFile devices(m_dir.filePath("wireplumber/main.lua.d/51-no-devices.lua"));
    QFile bluetooth(m_dir.filePath("wireplumber/bluetooth.lua.d/51-no-devices.lua"));
    if (!devices.open(QIODevice::WriteOnly) || !bluetooth.open(QIODevice::WriteOnly)) return false;
    devices.write(
        "alsa_monitor.enabled = false\nv4l2_monitor.enabled = false\nlibcamera_monitor.enabled = false\n");
    bluetooth.write("bluez_monitor.enabled = false\n");
    devices.close();
    bluetooth.close();

    if (!Start("dbus-daemon", {"--session", "--nofork", "--address=unix:path=" + m_dir.filePath("bus")}) ||
        !WaitFor([this] { return AllRunning() && QFile::exists(m_dir.filePath("bus")); }) ||
        !Start("pipewire", {}) ||
        !WaitFor([this] { return AllRunning() && QFile::exists(m_dir.filePath("pipewire-0")); }))
        return false;
    return Start("wireplumber", {}) && Start("pipewire-pulse", {});
}

SoundServer::~SoundServer() {
    // The pulse server and wireplumber before the PipeWire they talk to.
    for (auto it = m_daemons.rbegin(); it != m_daemons.rend(); ++it) {
        QProcess& daemon = **it;
        if (daemon.state() == QProcess::NotRunning) continue;
        daemon.terminate();  // SIGTERM to the daemon's own process id
        if (!daemon.waitForFinished(5000)) {
            daemon.kill();
            daemon.waitForFinished(2000);
        }
    }
}

QString SoundServer::Log() const {
    QString log;
    for (const auto& daemon : m_daemons) {
        QFile file(m_dir.filePath(daemon->program() + ".log"));
        if (file.open(QIODevice::ReadOnly))
            log += daemon->program() + ":\n" + QString::fromLocal8Bit(file.readAll());
    }
    return log;
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
