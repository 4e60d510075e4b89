#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <filesystem>

#include "store/IniSettings.h"
#include "store/ProgressFile.h"
#include "tests/support/WindowFixture.h"
#include "windows/HelpWindow.h"
#include "windows/MainForm.h"
#include "windows/PlatformChoice.h"
#include "windows/Splash.h"
#include "windows/TongueDlg.h"

namespace {

using testlevels::kBrokenRow;
using testlevels::kJoinedRow;

class WindowsTest : public WindowFixture {
protected:
    void SetUp() override {
        folder.WriteLevels({kBrokenRow, kJoinedRow, kBrokenRow});
        const std::string help =
            "<html><body><h1><a name=\"Das_Spiel\">Das Spiel</a></h1><p>Regeln</p>"
            "<h1><a name=\"The_game\">The game</a></h1><p>Rules</p></body></html>";
        testlevels::WriteFile(folder.path() / "aqnd2.html",
                              std::vector<std::uint8_t>(help.begin(), help.end()));
    }
    template <typename T = QWidget>
    static T* Child(TMainForm& form, const char* name) {
        return form.findChild<T*>(QString::fromLatin1(name));
    }
};

TEST_F(WindowsTest, LanguageDialog) {
    TTongueDlg dialog(nullptr);
    EXPECT_EQ(dialog.size(), QSize(320, 91));
    EXPECT_EQ(dialog.windowTitle(), "Aquendo 2.3");
    EXPECT_EQ(dialog.EnglishBtn()->geometry(), QRect(84, 16, 221, 27));
    EXPECT_EQ(dialog.GermanBtn()->geometry(), QRect(84, 48, 221, 27));
    EXPECT_EQ(dialog.EnglishBtn()->text(), "I speak english.");
    EXPECT_EQ(dialog.GermanBtn()->text(), "Ich spreche deutsch.");
    answerer.tongues = {"de"};
    EXPECT_EQ(dialog.Ask(), 1);
    answerer.tongues = {"en"};
    EXPECT_EQ(dialog.Ask(), 0);
    answerer.tongues = {"close"};
    EXPECT_EQ(dialog.Ask(), std::nullopt);
    answerer.tongues = {"tab return", "return"};
    EXPECT_EQ(dialog.Ask(), 1) << "Return presses the focused button";
    EXPECT_EQ(dialog.Ask(), 0) << "each opening starts on the English button";
    EXPECT_EQ(answerer.seen, (std::vector<std::string>{"tongue de", "tongue en", "tongue close",
                                                       "tongue tab return", "tongue return"}));
}

TEST_F(WindowsTest, SplashClosesOnAClick) {
    TSplash splash(nullptr);
    EXPECT_EQ(splash.size(), QSize(200, 150));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    QElapsedTimer clock;
    clock.start();
    splash.ShowModal();  // the answerer clicks it
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(answerer.seen, (std::vector<std::string>{"splash"}));
}

TEST_F(WindowsTest, SplashClosesAtItsTimersNextTick) {
    answerer.leaveSplash = true;  // nobody clicks this time
    QElapsedTimer clock;
    clock.start();
    TSplash splash(nullptr);
    QTest::qWait(1000);  // the timer runs from creation, not from showing
    splash.ShowModal();
    const qint64 shownFor = clock.elapsed();
    EXPECT_GE(shownFor, TSplash::kInterval - 50);
    EXPECT_LT(shownFor, TSplash::kInterval + 500);
}

TEST_F(WindowsTest, TextsFollowTheLanguage) {
    settings.Set("tongue", "1");
    TMainForm& form = Open();
    EXPECT_EQ(Child<QLabel>(form, "TimeLabel")->text(), "Zeit:");
    EXPECT_EQ(Child<QLabel>(form, "levellabel")->text(), "Stufe:");
    EXPECT_EQ(Child(form, "SoundBtn")->toolTip(), QString::fromUtf8("Die Geräusche mag ich nicht immer."));
    EXPECT_EQ(Child(form, "TongueBtn")->toolTip(), "I don't speak german.");
    EXPECT_EQ(Child(form, "levelbox")->toolTip(), QString::fromUtf8("Stufe 1: ungelöst"));
    EXPECT_EQ(Child(form, "gsol")->toolTip(), QString::fromUtf8("0 von 3 Stufen gelöst"));
    form.game().Pause();
    EXPECT_EQ(Child<QLabel>(form, "PauseText")->text(),
              QString::fromUtf8("Spiel angehalten! Linke Maustaste zum weitermachen."));

    answerer.tongues = {"en"};
    Child<QToolButton>(form, "TongueBtn")->click();
    EXPECT_EQ(Child<QLabel>(form, "PauseText")->text(), "Game paused! Press left mouse button to continue.")
        << "switching while paused changes the pause text at once";
    EXPECT_EQ(form.game().State(), PlayState::Paused);
    EXPECT_EQ(Child(form, "TongueBtn")->toolTip(), "Ich spreche nicht englisch.");
    EXPECT_EQ(Child(form, "gsol")->toolTip(), "0 of 3 levels solved");

    form.game().SetUiLanguage(7);
    form.game().ApplyLanguage();
    EXPECT_EQ(Child<QLabel>(form, "TimeLabel")->text(), "Time:");
}

TEST_F(WindowsTest, HelpOpensAtTheTopicAndClosesWithTheGame) {
    settings.Set("tongue", "1");
    TMainForm& form = Open();
    Child<QToolButton>(form, "RulesBtn")->click();
    ASSERT_NE(form.HelpWindow(), nullptr);
    EXPECT_TRUE(form.HelpWindow()->isVisible());
    EXPECT_EQ(form.HelpWindow()->Topic(), "Das_Spiel");
    EXPECT_EQ(form.HelpWindow()->Browser()->source().fragment(), "Das_Spiel");
    EXPECT_TRUE(form.TimerActive()) << "the countdown goes on while the help is open";

    answerer.messageKeys = {Qt::Key_Return};  // Yes to "endgame"; the save dialog is cancelled
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.HelpWindow()->isVisible());
}

// A tiling window manager sizes the help after it has scrolled to its topic:
// the topic's heading stays at the top until the player scrolls.
TEST_F(WindowsTest, HelpStaysAtItsHeadingWhenTheWindowIsResizedAfterTheShow) {
    std::string html = "<html><body>";
    for (int i = 0; i < 60; ++i)
        html +=
            "<p>Rest the mouse on a button to read what it does, paragraph " + std::to_string(i) + ".</p>";
    html += "<h1><a name=\"The_game\">The game</a></h1>";
    for (int i = 0; i < 60; ++i) html += "<p>Turn the wet pieces.</p>";
    html += "</body></html>";
    const auto file = folder.path() / "long.html";
    testlevels::WriteFile(file, std::vector<std::uint8_t>(html.begin(), html.end()));
    THelpWindow help;
    help.Open(file.string(), "The_game", 1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    const auto headingTop = [&help] {
        const QTextCursor heading = help.Browser()->document()->find("The game");
        return help.Browser()->cursorRect(heading).top();
    };
    for (const QSize size : {QSize(1276, 997), QSize(330, 400), QSize(700, 300)}) {
        help.resize(size);
        QTest::qWait(20);
        EXPECT_LT(std::abs(headingTop()), 20) << size.width() << " x " << size.height();
    }
    // Once the player has scrolled, the help stays where the player left it.
    help.Browser()->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    const int scrolled = help.Browser()->verticalScrollBar()->value();
    help.resize(640, 480);
    QTest::qWait(20);
    EXPECT_EQ(help.Browser()->verticalScrollBar()->value(), scrolled);
}

// GNOME on Wayland runs the game through XWayland, unless the player chose.
TEST(PlatformChoice, XWaylandOnGnomeWaylandOnly) {
    struct Row {
        const char* chosen;
        const char* desktop;
        const char* wayland;
        const char* x11;
        const char* expected;
    };
    const Row rows[] = {
        {nullptr, "GNOME", "wayland-0", ":0", "xcb"},
        {nullptr, "ubuntu:GNOME", "wayland-0", ":0", "xcb"},
        {nullptr, "GNOME-Classic:GNOME", "wayland-0", ":0", "xcb"},
        {"wayland", "GNOME", "wayland-0", ":0", nullptr},   // the player's choice
        {nullptr, "GNOME", nullptr, ":0", nullptr},         // GNOME on X11
        {nullptr, "GNOME", "wayland-0", nullptr, nullptr},  // no XWayland
        {nullptr, "GNOME", "wayland-0", "", nullptr},
        {nullptr, "KDE", "wayland-0", ":0", nullptr},
        {nullptr, "sway", "wayland-1", ":0", nullptr},
        {nullptr, "NOTGNOME:XFCE", "wayland-0", ":0", nullptr},
        {nullptr, nullptr, "wayland-0", ":0", nullptr},
    };
    for (const Row& row : rows) {
        const char* chosen = ChosenPlatform(row.chosen, row.desktop, row.wayland, row.x11);
        EXPECT_EQ(std::string(chosen ? chosen : "-"), std::string(row.expected ? row.expected : "-"))
            << (row.desktop ? row.desktop : "(none)") << " " << (row.chosen ? row.chosen : "");
    }
}

TEST_F(WindowsTest, MissingHelpFileIsSaidInTheHelpWindow) {
    const auto help = folder.path() / "aqnd2.html";
    std::filesystem::remove(help);
    // No file, then a FIFO that no one writes to, which must not hang the button.
    for (bool fifo : {false, true}) {
        if (fifo) {
            ASSERT_EQ(mkfifo(help.c_str(), 0600), 0);
        }
        TMainForm form(folder.Folder(), NoiseSheets(), settings);
        Show(form);
        Child<QToolButton>(form, "RulesBtn")->click();
        ASSERT_NE(form.HelpWindow(), nullptr);
        EXPECT_TRUE(form.HelpWindow()->Browser()->toPlainText().contains("help file is missing")) << fifo;
        EXPECT_EQ(form.game().State(), PlayState::Running);
    }
}

TEST_F(WindowsTest, ScrollBarStartsTheLevelUnderItsThumb) {
    settings.Set("tongue", "0");
    TMainForm& form = Open();
    auto* scroll = Child<QScrollBar>(form, "LevelScroll");
    EXPECT_EQ(scroll->maximum(), 3);
    EXPECT_EQ(scroll->value(), 3) << "level 1 sits at the bottom";
    // A click on the thumb takes the focus and moves nothing; the keys then reach the bar.
    form.activateWindow();  // the offscreen platform gives it back to no one after the dialogs
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    // No key reaches a tool-bar button: Space on the new-game button and
    // Return on its question would clear every result.
    for (int round = 0; round < 14; ++round)
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Return})
            QTest::keyClick(form.windowHandle(), key);
    EXPECT_EQ(answerer.seen, std::vector<std::string>{});
    EXPECT_EQ(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(form.game().CurrentLevel(), 1);
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, scroll->mapTo(&form, QPoint(11, 69)));
    EXPECT_EQ(form.game().CurrentLevel(), 1);
    ASSERT_EQ(QApplication::focusWidget(), scroll);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(form.game().CurrentLevel(), 2);
    const int started = form.game().TimeLeft();
    QTest::qWait(1100);  // a tick, so that a fresh start would show
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    EXPECT_EQ(form.game().CurrentLevel(), 2) << "Home and End do nothing";
    EXPECT_LT(form.game().TimeLeft(), started) << "... not even a fresh start";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(form.game().CurrentLevel(), 3);
    Child<QToolButton>(form, "sUpBtn")->click();
    EXPECT_EQ(form.game().CurrentLevel(), 1) << "up from the highest level wraps to 1";
    EXPECT_EQ(scroll->value(), 3);
}

TEST_F(WindowsTest, APageOfTheScrollBarIsTenLevels) {
    folder.WriteLevels(std::vector<LevelRecord>(15, kBrokenRow));
    settings.Set("tongue", "0");
    TMainForm& form = Open();
    auto* scroll = Child<QScrollBar>(form, "LevelScroll");
    scroll->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(form.game().CurrentLevel(), 11);
    scroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(form.game().CurrentLevel(), 1);
}

TEST_F(WindowsTest, SoundButtonSwitchesThePlayer) {
    settings.Set("sound", "0");
    TMainForm& form = Open();
    auto* sound = Child<QToolButton>(form, "SoundBtn");
    EXPECT_FALSE(sound->isChecked()) << "stored off";
    EXPECT_FALSE(form.Player().IsEnabled());
    sound->click();
    EXPECT_TRUE(form.SoundOn());
    EXPECT_TRUE(form.Player().IsEnabled());
}

// Everything the player leaves is found again at the next start.
TEST_F(WindowsTest, SecondStartFindsWhatTheFirstLeft) {
    const std::string iniPath = (folder.path() / "config" / "V2.ini").string();
    const std::string results = (folder.path() / "my results.aqd").string();
    QPoint placedAt;
    {
        IniSettings ini(iniPath);
        TMainForm form(folder.Folder(), NoiseSheets(), ini);
        answerer.tongues = {"de"};
        Show(form);
        form.move(140, 90);
        Child<QToolButton>(form, "SoundBtn")->click();
        Child<QToolButton>(form, "sUpBtn")->click();  // to level 2, which a middle press solves
        ASSERT_EQ(form.game().CurrentLevel(), 2);
        const QPoint straight = WindowPoint(4, 4);
        QTest::mouseClick(form.windowHandle(), Qt::MiddleButton, {}, straight);
        ASSERT_GT(form.game().Progress()[2], 0);
        answerer.messageKeys = {Qt::Key_Return};  // Yes to "endgame"
        answerer.fileNames = {results};
        EXPECT_TRUE(form.close());
        placedAt = form.frameGeometry().topLeft();
    }
    IniSettings ini(iniPath);
    TMainForm again(folder.Folder(), NoiseSheets(), ini);
    Show(again);
    EXPECT_EQ(answerer.seen, (std::vector<std::string>{})) << "no language dialog the second time";
    EXPECT_EQ(again.game().UiLanguage(), 1);
    EXPECT_EQ(again.game().CurrentLevel(), 2);
    EXPECT_EQ(again.game().SavePath(), results);
    EXPECT_GT(again.game().Progress()[2], 0);
    EXPECT_FALSE(again.SoundOn());
    EXPECT_EQ(again.windowTitle(), "Aquendo 2.3 - Spiel my results.aqd");
    EXPECT_EQ(again.frameGeometry().topLeft(), placedAt);
    EXPECT_EQ(Child<QScrollBar>(again, "LevelScroll")->value(), 2);
}

// A program folder and a results file whose names are no UTF-8: the level
// file is found, the results are read, the open dialog's choice of that file
// loads it, and the settings keep its name.
TEST_F(WindowsTest, NamesThatAreNoUtf8StayTheirBytes) {
    const std::string program = folder.Folder() + "J\xF6rg/";
    std::filesystem::create_directory(program);
    testlevels::WriteFile(program + "aqnd.dat", testlevels::Bytes({kBrokenRow, kJoinedRow}));
    const std::string results = program + "r\xF6.aqd";
    ProgressTable table;
    table[2] = 7;
    ASSERT_TRUE(WriteProgressFile(results, table));
    const std::string iniPath = folder.Folder() + "V2.ini";
    {
        IniSettings ini(iniPath);
        ASSERT_EQ(ini.Write(settings::save, results), std::nullopt);
        ASSERT_EQ(ini.Write(settings::tongue, 0), std::nullopt);
        TMainForm form(program, NoiseSheets(), ini);
        Show(form);
        EXPECT_EQ(form.game().LevelCount(), 2);
        EXPECT_EQ(form.game().Progress()[2], 7);
        table[1] = 9;
        ASSERT_TRUE(WriteProgressFile(results, table));
        answerer.fileNames = {ShownFileName(results).toStdString()};
        Child<QToolButton>(form, "LoadBtn")->click();
        EXPECT_EQ(form.game().Progress()[1], 9) << "the file shown was loaded";
        answerer.messageKeys = {Qt::Key_Return};  // Yes to "endgame"; the save dialog is cancelled
        EXPECT_TRUE(form.close());
    }
    EXPECT_EQ(IniSettings(iniPath).Read(settings::save), results);
    // The help file in that folder is found and shown too.
    const std::string html = "<h1><a name=\"The_game\">The game</a></h1>";
    testlevels::WriteFile(program + "aqnd2.html", std::vector<std::uint8_t>(html.begin(), html.end()));
    THelpWindow help;
    help.Open(program + "aqnd2.html", "The_game", 0);
    EXPECT_EQ(help.Browser()->toPlainText(), "The game");
}

// The window's own words follow the language it is told, not the topic.
TEST(HelpWindow, SpeaksTheLanguageItIsTold) {
    THelpWindow help;
    struct Case {
        int language;
        QString title, missing;
    };
    for (const Case& c : {Case{1, "Aquendo – Spielregeln", "Die Hilfedatei fehlt"},
                          Case{2, "Aquendo – Rules", "The help file is missing"}}) {
        help.Open("/nonexistent/aqnd2.html", c.language == 1 ? "The_game" : "Das_Spiel", c.language);
        EXPECT_EQ(help.windowTitle(), c.title);
        EXPECT_TRUE(help.Browser()->toPlainText().contains(c.missing)) << c.language;
    }
}

}  // namespace
