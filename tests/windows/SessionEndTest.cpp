// Ends the player did not choose: nobody is asked, and the settings and the
// unsaved results are kept.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <functional>

#include "store/MemorySettings.h"
#include "store/ProgressFile.h"
#include "tests/support/Levels.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/NoiseSheets.h"
#include "tests/support/WindowPoint.h"
#include "windows/MainForm.h"
#include "windows/SessionEnd.h"
#include "windows/YesNoDlg.h"

namespace {

// Writes down every modal window that opens and hands it to onModal.
class ModalRecorder {
public:
    explicit ModalRecorder(std::function<void(QWidget*)> onModal) : m_onModal(std::move(onModal)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && !modal->isVisible()) modal = nullptr;
            if (modal == m_last) return;
            m_last = modal;
            if (!modal) return;
            seen.push_back(modal->metaObject()->className());
            m_onModal(modal);
        });
        m_timer.start(5);
    }
    std::vector<std::string> seen;

private:
    std::function<void(QWidget*)> m_onModal;
    QWidget* m_last = nullptr;
    QTimer m_timer;
};

class ScopedStateHome {
public:
    explicit ScopedStateHome(const std::filesystem::path& folder) {
        if (const char* old = std::getenv("XDG_STATE_HOME")) m_old = old;
        setenv("XDG_STATE_HOME", folder.c_str(), 1);
    }
    ~ScopedStateHome() {
        if (m_old.empty())
            unsetenv("XDG_STATE_HOME");
        else
            setenv("XDG_STATE_HOME", m_old.c_str(), 1);
    }

private:
    std::string m_old;
};

// A level solved and not saved; the end comes while the "won" page is open,
// or after it. Nothing may be asked after it.
TEST(SessionEnd, EndsWithoutAQuestionAndKeepsTheResults) {
    struct Case {
        const char* what;
        bool inDialog;
        std::function<void()> end;
    };
    const auto quitEvent = [] { QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit)); };
    const Case cases[] = {
        {"SIGTERM", true, [] { std::raise(SIGTERM); }},
        {"SIGHUP", false, [] { std::raise(SIGHUP); }},
        {"SIGINT", true, [] { std::raise(SIGINT); }},
        {"the session manager's end", true, quitEvent},
        {"the session manager's end at play", false, quitEvent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testlevels::TempFolder folder;
        folder.WriteLevels({testlevels::kJoinedRow, testlevels::kJoinedRow});
        const ScopedStateHome state(folder.path() / "state");
        MemorySettings settings;
        settings.Set("tongue", "0");
        TSessionEnd session;
        TMainForm form(folder.Folder(), NoiseSheets(), settings);
        session.Watch(form);
        {
            ModalAnswerer answerer;
            answerer.ShowAndSettle(form);
        }
        bool ended = false;
        ModalRecorder modals([&](QWidget* modal) {
            // Asked after the end: nobody would answer; the run is ended as a failure.
            if (ended) {
                QCoreApplication::exit(1);
                if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(0);
                return;
            }
            ended = true;
            if (c.inDialog) return c.end();
            static_cast<QDialog*>(modal)->done(mrOk);
            QTimer::singleShot(0, c.end);
        });
        QTimer::singleShot(0, &form, [&form] {
            QTest::mouseClick(form.windowHandle(), Qt::MiddleButton, {}, WindowPoint(4, 4));
        });
        // A run that does not end waits for nobody either: it fails.
        QTimer hung;
        hung.setSingleShot(true);
        QObject::connect(&hung, &QTimer::timeout, [] { QCoreApplication::exit(2); });
        hung.start(20000);
        EXPECT_EQ(session.Exec(), 0);
        EXPECT_EQ(modals.seen, (std::vector<std::string>{"TYesNoDlg"})) << "no endgame, no save dialog";
        ProgressTable kept;
        EXPECT_TRUE(ReadProgressFile((folder.path() / "state/aquendo/unsaved.aqd").string(), kept));
        EXPECT_GT(kept[1], 0) << "the level solved";
        ASSERT_EQ(settings.writes.size(), 5u);
        EXPECT_EQ(settings.writes[0], "sound=1");
        EXPECT_EQ(settings.writes[4].rfind("MainForm=200,", 0), 0u);
    }
}

// A store that refuses every write (HOME unset) at an end nobody watches, as
// `--quit-after-start` ends: told on stderr, never in a box.
TEST(SessionEnd, AnEndThatCannotWriteWaitsForNobody) {
    testlevels::TempFolder folder;
    folder.WriteLevels({testlevels::kJoinedRow});
    MemorySettings settings;
    settings.Set("tongue", "0");
    settings.fault = MemorySettings::Fault::SectionNotCreated;
    ModalRecorder modals([](QWidget* modal) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(0);
    });
    {
        TSessionEnd session;
        TMainForm form(folder.Folder(), NoiseSheets(), settings);
        session.Watch(form);
        QTimer::singleShot(0, &form, [] { QCoreApplication::exit(0); });
        form.show();
        testing::internal::CaptureStderr();
        EXPECT_EQ(session.Exec(), 0);
        EXPECT_THAT(testing::internal::GetCapturedStderr(),
                    testing::HasSubstr("Aquendo: Erzeugung von Schlüssel common misslungen\n"));
    }
    QTest::qWait(20);
    EXPECT_THAT(modals.seen, testing::Not(testing::Contains("QMessageBox")))
        << "no box, not even from the window's destructor";
}

}  // namespace
