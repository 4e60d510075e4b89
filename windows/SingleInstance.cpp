#include "windows/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QWidget>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

constexpr std::size_t kLongestMessage = 4096;

bool AddressOf(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// "startup-id=...\nactivation-token=...\n"
SingleInstance::LaterStart Parse(const std::string& message) {
    SingleInstance::LaterStart later;
    std::size_t start = 0;
    while (start < message.size()) {
        std::size_t end = message.find('\n', start);
        if (end == std::string::npos) end = message.size();
        const std::string line = message.substr(start, end - start);
        if (line.rfind("startup-id=", 0) == 0) later.startupId = line.substr(11);
        if (line.rfind("activation-token=", 0) == 0) later.activationToken = line.substr(17);
        start = end + 1;
    }
    return later;
}

// Reads one later start's message as it comes, without holding up the game.
class Connection : public QObject {
public:
    Connection(int fd, std::function<void(const SingleInstance::LaterStart&)> done, QObject* parent)
        : QObject(parent), m_fd(fd), m_done(std::move(done)), m_notifier(fd, QSocketNotifier::Read, this) {
        connect(&m_notifier, &QSocketNotifier::activated, this, &Connection::Read);
    }
    ~Connection() override { ::close(m_fd); }

private:
    void Read() {
        char bytes[512];
        for (;;) {
            const ssize_t n = ::recv(m_fd, bytes, sizeof bytes, MSG_DONTWAIT);
            if (n > 0 && m_message.size() < kLongestMessage) {
                m_message.append(bytes, static_cast<std::size_t>(n));
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
            break;
        }
        m_notifier.setEnabled(false);
        if (m_done) m_done(Parse(m_message));
        deleteLater();
    }

    int m_fd;
    std::string m_message;
    std::function<void(const SingleInstance::LaterStart&)> m_done;
    QSocketNotifier m_notifier;
};

}  // namespace

std::string SingleInstance::RuntimeFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation).toStdString();
}

SingleInstance::SingleInstance(const std::string& folder) {
    // Without a folder of the user's own there is no telling: the game runs.
    if (folder.empty()) return;
    const std::string lockPath = folder + "/aquendo.lock";
    m_lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_lock < 0) return;
    if (::flock(m_lock, LOCK_EX | LOCK_NB) != 0) {
        m_first = errno != EWOULDBLOCK;
        ::close(m_lock);
        m_lock = -1;
        if (!m_first) m_socketPath = folder + "/aquendo.socket";
        return;
    }
    // The lock is ours: a socket left by a killed game is stale.
    m_socketPath = folder + "/aquendo.socket";
    sockaddr_un address;
    if (!AddressOf(m_socketPath, address)) return;
    ::unlink(m_socketPath.c_str());
    m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_listener >= 0 &&
        (::bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
         ::listen(m_listener, 8) != 0)) {
        ::close(m_listener);
        m_listener = -1;
    }
}

SingleInstance::~SingleInstance() {
    // The socket goes while the lock is still held: no new first game's socket is removed.
    if (m_listener >= 0) {
        ::unlink(m_socketPath.c_str());
        ::close(m_listener);
    }
    if (m_lock >= 0) ::close(m_lock);
}

bool SingleInstance::AskFirstToFront() const {
    sockaddr_un address;
    if (m_first || !AddressOf(m_socketPath, address)) return false;
    const std::string message = "startup-id=" + Env("DESKTOP_STARTUP_ID") +
                                "\nactivation-token=" + Env("XDG_ACTIVATION_TOKEN") + "\n";
    // The first may hold the lock a moment before it listens.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            const bool sent = ::send(fd, message.data(), message.size(), MSG_NOSIGNAL) ==
                              static_cast<ssize_t>(message.size());
            ::close(fd);
            return sent;
        }
        ::close(fd);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void SingleInstance::OnLaterStart(std::function<void(const LaterStart&)> callback) {
    m_callback = std::move(callback);
    if (m_listener < 0) return;
    auto* notifier = new QSocketNotifier(m_listener, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &SingleInstance::Accept);
}

void SingleInstance::Accept() {
    for (;;) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return;
        new Connection(fd, m_callback, this);
    }
}

void BringToFront(QWidget& window, const SingleInstance::LaterStart& later) {
    // Qt's Wayland activation takes the token from here.
    if (!later.activationToken.empty()) qputenv("XDG_ACTIVATION_TOKEN", later.activationToken.c_str());
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
    // A dialog open over it stays in front of it.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}
