#pragma once

#include <QObject>
#include <functional>
#include <string>

class QWidget;

// One game per user. The first start holds a lock in the user's runtime
// folder for as long as it runs and listens on a socket beside it; a later
// start finds the lock held, asks the first to come to the front and ends,
// having written nothing. The kernel drops the lock with its process, so a
// game that was killed blocks no new start.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // What a later start hands over: the desktop's tokens for raising a window.
    struct LaterStart {
        std::string startupId;        // X11 startup notification
        std::string activationToken;  // Wayland's xdg-activation
    };

    // Takes the lock in folder ($XDG_RUNTIME_DIR, or Qt's stand-in for it).
    // Needs no QCoreApplication.
    explicit SingleInstance(const std::string& folder = RuntimeFolder());
    ~SingleInstance() override;

    bool IsFirst() const { return m_first; }
    // A later start: hands this start's tokens to the first; false when it
    // did not take them.
    bool AskFirstToFront() const;
    // The first: called from the event loop for every later start.
    void OnLaterStart(std::function<void(const LaterStart&)> callback);

    static std::string RuntimeFolder();

private:
    void Accept();

    std::string m_socketPath;
    int m_lock = -1;
    int m_listener = -1;
    bool m_first = true;
    std::function<void(const LaterStart&)> m_callback;
};

// Shows the window in front and gives it the focus where the desktop lets a
// program do that, with the later start's tokens.
void BringToFront(QWidget& window, const SingleInstance::LaterStart& later);
