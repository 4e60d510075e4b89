#pragma once

#include <QObject>

class QSocketNotifier;
class TMainForm;

// The ends of a run that the player did not choose: SIGTERM, SIGHUP and
// SIGINT (a logout, a shutdown, a closed terminal), the session manager's end
// of the session and a lost display. Each keeps what the close would have
// kept (Game::KeepUnattended) and none waits for a person. The signal handler
// only writes to a socket; the work is done in the event loop.
class TSessionEnd : public QObject {
    Q_OBJECT
public:
    // Catches the signals from here on; the QApplication must exist.
    TSessionEnd();
    // After the main window has gone. A sound thread left stuck with the
    // sound server would hold the program's exit for up to 30 s: everything
    // is written by then, and the program ends here.
    ~TSessionEnd() override;

    // The run to look after. Its results are kept in the XDG state folder.
    void Watch(TMainForm& form);
    // Runs the event loop until the game ends, then keeps what an end
    // without the player's close would lose; the event loop's status.
    int Exec();
    bool Ending() const { return m_ending; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void End();
    void Keep();
    static void KeepAtExit();

    TMainForm* m_form = nullptr;
    QSocketNotifier* m_signals = nullptr;
    bool m_ending = false;
    int m_status = 0;
};
