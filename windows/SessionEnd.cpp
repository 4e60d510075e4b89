#include "windows/SessionEnd.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "game/KeptResults.h"
#include "game/Program.h"
#include "view/SoundPlayer.h"
#include "windows/MainForm.h"

namespace {

constexpr int kEndingSignals[] = {SIGTERM, SIGHUP, SIGINT};

int g_signalSocket[2] = {-1, -1};
TSessionEnd* g_session = nullptr;

extern "C" void NoteSignal(int number) {
    const int saved = errno;
    const char byte = static_cast<char>(number);
    // A full socket already holds a signal: nothing is lost.
    [[maybe_unused]] const ssize_t written = ::write(g_signalSocket[1], &byte, 1);
    errno = saved;
}

void Handle(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kEndingSignals) ::sigaction(number, &action, nullptr);
}

}  // namespace

TSessionEnd::TSessionEnd() {
    g_session = this;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_signalSocket) == 0) {
        m_signals = new QSocketNotifier(g_signalSocket[0], QSocketNotifier::Read, this);
        connect(m_signals, &QSocketNotifier::activated, this, [this] {
            char bytes[16];
            while (::read(g_signalSocket[0], bytes, sizeof bytes) > 0) {
            }
            End();
        });
        Handle(NoteSignal);
    }
    // The session manager asks first, then ends the program: what it would
    // lose is kept at once, as it may not wait for the end.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { Keep(); });
    qApp->installEventFilter(this);
}

TSessionEnd::~TSessionEnd() {
    Handle(SIG_DFL);
    g_session = nullptr;
    for (int& end : g_signalSocket) {
        if (end >= 0) ::close(end);
        end = -1;
    }
    if (SoundPlayer::LeftStuck()) {
        std::fflush(nullptr);
        std::_Exit(m_status);
    }
}

void TSessionEnd::Watch(TMainForm& form) {
    m_form = &form;
    form.game().SetKeptResultsPath(KeptResultsPath(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")));
    if (m_ending) form.game().SessionEnds();
}

int TSessionEnd::Exec() {
    // A lost display ends the program with exit(): the only moment left to
    // keep anything. Registered this late, it runs before the exit handlers
    // of everything Qt has set up so far.
    static const bool atExit = std::atexit(KeepAtExit) == 0;
    (void)atExit;
    m_status = m_ending ? 0 : QApplication::exec();
    Keep();
    return m_status;
}

void TSessionEnd::KeepAtExit() {
    if (g_session) g_session->Keep();
}

// The end of the session reaches Qt as a request to quit, which would close
// the window, and so ask "endgame" and offer the save dialog.
bool TSessionEnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::Quit && m_form && m_form->isVisible()) {
        End();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void TSessionEnd::End() {
    if (m_ending) return;
    m_ending = true;
    // A second signal ends the program at once.
    Handle(SIG_DFL);
    if (m_form) m_form->game().SessionEnds();
    // Every dialog open returns, and no later one waits.
    QCoreApplication::exit(0);
}

void TSessionEnd::Keep() {
    if (!m_form) return;
    for (const std::string& failure : m_form->KeepUnattended())
        std::fprintf(stderr, "%s: %s\n", AQUENDO_NAME, failure.c_str());
}
