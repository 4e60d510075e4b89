#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>

#include "game/UiTexts.h"
#include "tests/support/WindowFixture.h"
#include "view/MediaLibrary.h"
#include "windows/MainFormLayout.h"
#include "windows/PlatformLanguage.h"
#include "windows/YesNoDlg.h"

namespace {

using cellpoints::BoardX;
using cellpoints::BoardY;

class MainFormTest : public WindowFixture {
protected:
    void SetUp() override { folder.WriteLevels({testlevels::kBrokenRow}); }
};

TEST_F(MainFormTest, WindowLayout) {
    TMainForm& form = Open();
    EXPECT_EQ(form.size(), QSize(500, 366));
    EXPECT_EQ(form.windowTitle(), "Aquendo 2.3");
    // The window system gets the icon as ready pixels at the sizes Qt hands it.
    const QList<QSize> iconSizes = form.windowIcon().availableSizes();
    for (int s : {16, 32, 64, 128}) EXPECT_TRUE(iconSizes.contains(QSize(s, s))) << s;
    const QWidget* box = form.findChild<QWidget*>("box");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->geometry(), QRect(0, 33, 500, 333));
    const QWidget* panel = form.findChild<QWidget*>("ToolPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 500, 33));
    // The strip is of the board's dark metal, not the desktop's light grey: between the buttons and the
    // displays.
    const QImage strip = const_cast<QWidget*>(panel)->grab().toImage();
    for (int x : {2, 193, 382}) EXPECT_LT(qGray(strip.pixel(x, 16)), 90) << x;
    // Every control where its row puts it, on its parent, stacked in the rows' order.
    std::map<const QObject*, qsizetype> above;
    for (const layout::Control& row : layout::kMainForm) {
        if (!row.name) continue;
        const QWidget* control = form.findChild<QWidget*>(row.name);
        ASSERT_NE(control, nullptr) << row.name;
        const QWidget* parent = control->parentWidget();
        EXPECT_EQ(parent->objectName(), row.parent ? row.parent : "MainForm") << row.name;
        EXPECT_EQ(control->geometry(), row.at) << row.name;
        const qsizetype place = parent->children().indexOf(control);
        EXPECT_GT(place, above.contains(parent) ? above[parent] : -1) << row.name;
        above[parent] = place;
    }
    // A hint or caption whose control is gone would be dropped without a word.
    for (const UiText& text : MainFormTexts())
        EXPECT_NE(form.findChild<QWidget*>(text.control), nullptr) << text.control;

    // For looking at the window: AQUENDO_SCREENSHOT=file.png
    if (const char* shot = std::getenv("AQUENDO_SCREENSHOT")) form.grab().save(shot);
}

TEST_F(MainFormTest, PressesOnTheBoardReachTheGame) {
    TMainForm& form = Open();
    // Cell (4, 4) is at (130, 130) in the board, 33 lower in the window.
    const QPoint cell = WindowPoint(4, 4);
    QTest::mousePress(form.windowHandle(), Qt::LeftButton, {}, cell);
    QTest::mouseRelease(form.windowHandle(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(form.game().board().Piece(4, 4), 11);
    // A quick second press arrives as a double click: a move of its own.
    QTest::mouseDClick(form.windowHandle(), Qt::RightButton, {}, cell);
    EXPECT_EQ(form.game().board().Piece(4, 4), 27) << "press, then double-click press: two turns";

    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, WindowPoint(5, 4));
    EXPECT_EQ(form.game().board().Piece(5, 4), 1) << "a dry piece stays";
}

double Luminance(QRgb c) {
    auto linear = [](int v) {
        const double x = v / 255.0;
        return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
}

// The letters of a yellow text against the pixels within 2 px round them.
double YellowTextContrast(const QImage& image, QRect area) {
    auto yellow = [&](int x, int y) {
        const QRgb c = image.pixel(x, y);
        return qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) < 40;
    };
    double letters = 0, rim = 0;
    int nLetters = 0, nRim = 0;
    for (int y = area.top() + 2; y < area.bottom() - 2; ++y) {
        for (int x = area.left() + 2; x < area.right() - 2; ++x) {
            if (yellow(x, y)) {
                letters += Luminance(image.pixel(x, y)), ++nLetters;
                continue;
            }
            bool near = false;
            for (int dx = -2; dx <= 2 && !near; ++dx)
                for (int dy = -2; dy <= 2 && !near; ++dy) near = yellow(x + dx, y + dy);
            if (near) rim += Luminance(image.pixel(x, y)), ++nRim;
        }
    }
    if (nLetters < 200 || nRim == 0) return 0;
    const double a = letters / nLetters, b = rim / nRim;
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

double MeanLuminance(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) sum += Luminance(image.pixel(x, y));
    return sum / (image.width() * image.height());
}

TEST_F(MainFormTest, MovesRefusalsAndPauseThroughTheWindow) {
    TMainForm& form = Open();
    const QPoint straight = WindowPoint(4, 4);
    // Left turns of the straight: up-down (drains), then back across: the End
    // at (5,4) still faces away, so the level stays unsolved.
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, straight);
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, straight);
    EXPECT_EQ(form.game().State(), PlayState::Running);
    EXPECT_TRUE(answerer.seen.empty());
    EXPECT_EQ(form.game().boxMouseDown(MouseButton::Left, BoardX(5), BoardY(4)), MoveResult::Refused);
    EXPECT_EQ(form.findChild<QWidget*>("PauseBtn")->isEnabled(), true);

    QWidget* pauseBtn = form.findChild<QWidget*>("PauseBtn");
    const QImage enabled = pauseBtn->grab().toImage();
    // Under the pointer it rises, lighter but only a little: the strip's metal, not the desktop's blue.
    pauseBtn->setAttribute(Qt::WA_UnderMouse);
    const QImage hovered = pauseBtn->grab().toImage();
    pauseBtn->setAttribute(Qt::WA_UnderMouse, false);
    EXPECT_GT(MeanLuminance(hovered), 1.03 * MeanLuminance(enabled));
    EXPECT_LT(MeanLuminance(hovered), 1.5 * MeanLuminance(enabled));
    if (const char* shot = std::getenv("AQUENDO_SCREENSHOT")) {
        hovered.save(QString::fromLocal8Bit(shot) + ".hover.png");
        enabled.save(QString::fromLocal8Bit(shot) + ".normal.png");
    }
    form.game().Pause();
    EXPECT_TRUE(form.findChild<QWidget*>("PauseText")->isVisible());
    EXPECT_FALSE(pauseBtn->isEnabled());
    // Greyed is not enough: the disabled button is darker at a glance.
    EXPECT_LT(MeanLuminance(pauseBtn->grab().toImage()), 0.8 * MeanLuminance(enabled));
    // The pause text reads over the board: a dark rim round its yellow letters.
    const QImage window = form.grab().toImage();
    EXPECT_GE(YellowTextContrast(window, form.findChild<QWidget*>("PauseText")->geometry()), 4.5);
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, QPoint(200, 250));
    EXPECT_EQ(form.game().State(), PlayState::Running) << "a click on the pause text resumes";
    EXPECT_FALSE(form.findChild<QWidget*>("PauseText")->isVisible());

    while (form.game().State() == PlayState::Running) form.game().TimerTimer();
    EXPECT_EQ(form.game().State(), PlayState::TimeUp);
    EXPECT_FALSE(form.findChild<QWidget*>("PauseText")->isVisible()) << "no pause text on a time-out";
}

// Only the left button's click goes on; the others do nothing at all, on the
// pause text as on the board beside it.
TEST_F(MainFormTest, OnlyTheLeftButtonEndsAPause) {
    TMainForm& form = Open();
    const QPoint onText(200, 163);  // over the straight at (4, 4)
    const QPoint onBoard(30, 60);
    struct Row {
        Qt::MouseButton button;
        QPoint at;
        bool resumes;
    };
    const Row rows[] = {
        {Qt::RightButton, onText, false},   {Qt::MiddleButton, onText, false},
        {Qt::LeftButton, onText, true},     {Qt::RightButton, onBoard, false},
        {Qt::MiddleButton, onBoard, false}, {Qt::LeftButton, onBoard, true},
    };
    for (const Row& row : rows) {
        form.game().Pause();
        ASSERT_EQ(form.game().State(), PlayState::Paused);
        const int timeLeft = form.game().TimeLeft();
        QTest::mouseClick(form.windowHandle(), row.button, {}, row.at);
        EXPECT_EQ(form.game().State(), row.resumes ? PlayState::Running : PlayState::Paused)
            << "button " << row.button << " at " << row.at.x() << "," << row.at.y();
        EXPECT_EQ(form.findChild<QWidget*>("PauseText")->isVisible(), !row.resumes);
        EXPECT_EQ(form.game().board().Piece(4, 4), 3) << "nothing turns";
        EXPECT_EQ(form.game().TimeLeft(), timeLeft);
        form.game().boxClick();
    }
}

// A clock stopped while a tick waits for the presses before it leaves
// nothing awake; started again, it begins a fresh second.
TEST_F(MainFormTest, AStopWhileATickWaitsLeavesNothingAwakeAndAStartBeginsAFreshSecond) {
    using std::chrono::milliseconds;
    TMainForm& form = Open();
    QElapsedTimer waited;
    waited.start();
    while (form.NextWakeUp() != milliseconds(0) && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ASSERT_EQ(form.NextWakeUp(), milliseconds(0)) << "no tick was seen waiting";
    form.SetTimerEnabled(false);
    EXPECT_EQ(form.NextWakeUp(), std::nullopt);
    form.SetTimerEnabled(true);
    EXPECT_GT(form.NextWakeUp(), milliseconds(900));
}

// A window made and shown before its pictures are unpacked looks, once they
// come, as one made with them. The game's own pictures: their water mask
// clears the disc each water level is drawn into.
TEST_F(MainFormTest, PicturesThatComeAfterTheWindowDrawWhatItWouldHaveShown) {
    const MediaLibrary media = MediaLibrary::LoadBuiltIn();
    TMainForm made(folder.Folder(), media.Sheets(), settings);
    TMainForm early(folder.Folder(), {}, settings);
    early.setAttribute(Qt::WA_DontShowOnScreen);
    early.show();
    early.MediaArrived(media.Sheets(), media.Waves());
    EXPECT_TRUE(early.surface().Image() == made.surface().Image());
    for (const char* display : {"timbox", "levelbox"})
        EXPECT_TRUE(early.findChild<QWidget*>(display)->grab().toImage() ==
                    made.findChild<QWidget*>(display)->grab().toImage())
            << display;
    // A sound without its wave never asks for an output.
    early.PlaySound(Sound::Refuse);
    EXPECT_TRUE(early.Player().HasOutput()) << "the sounds did not come with the pictures";
}

TEST_F(MainFormTest, WinningAndClosingGoThroughTheDialog) {
    folder.WriteLevels({testlevels::kJoinedRow});
    TMainForm& form = Open();
    const QPoint straight = WindowPoint(4, 4);
    QTest::mouseClick(form.windowHandle(), Qt::MiddleButton, {}, straight);
    EXPECT_EQ(answerer.seen, (std::vector<std::string>{"page 1", "page 6"}));
    EXPECT_EQ(form.game().State(), PlayState::Solved);
    EXPECT_FALSE(form.findChild<QWidget*>("PauseText")->isVisible()) << "no pause text on a win";
    EXPECT_FALSE(form.TimerActive());
    EXPECT_GT(form.game().Progress()[1], 0);
    EXPECT_EQ(form.findChild<QWidget*>("levelbox")->toolTip(), "Level 1: solved");

    answerer.seen.clear();
    answerer.messageKeys = {Qt::Key_Escape};
    EXPECT_FALSE(form.close()) << "Escape on endgame answers Cancel: the game goes on";
    EXPECT_TRUE(form.TimerActive()) << "the timer runs again whatever the answer";
    EXPECT_TRUE(form.close());
    EXPECT_EQ(answerer.seen, (std::vector<std::string>{"page 3", "page 3", "file dialog "}))
        << "every close offers the save dialog";
    EXPECT_FALSE(form.TimerActive());
    ASSERT_EQ(settings.writes.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(settings.writes.begin(), settings.writes.begin() + 4),
              (std::vector<std::string>{"sound=1", "level=1", "tongue=0", "save="}))
        << "cancelling the save still writes the settings";
    EXPECT_EQ(settings.writes[4].rfind("MainForm=200,", 0), 0u) << "the placement, while the window is there";
}

// A whole name typed and Return at once: the Return ends the dialog through
// the completion list, which must go with it.
TEST_F(MainFormTest, NoCompletionListOutlivesItsFileDialog) {
    TMainForm& form = Open();
    testlevels::WriteFile(folder.path() / "kept.aqd", {});
    for (QFileDialog* dialog : {form.SaveDlg(), form.OpenDlg()}) {
        dialog->setDirectory(QString::fromStdString(folder.Folder()));
        dialog->show();  // not modal: the answerer leaves it alone
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QAbstractItemView* list = edit->completer()->popup();
        ASSERT_TRUE(QTest::qWaitFor([&] {  // once the folder, read in the background, is in
            edit->clear();
            QTest::keyClicks(edit, QStringLiteral("kept.aqd"));
            return list->isVisible();
        }));
        QTest::keyClick(list, Qt::Key_Return);  // the keys go to the list while it is up
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_FALSE(list->isVisible()) << dialog->objectName().toStdString();
    }
}

// The file dialogs and the standard message boxes speak the desktop's
// language (ctest runs this once more under LANG=de_DE.UTF-8), the game's
// own words the language chosen in the game.
TEST_F(MainFormTest, QtsOwnTextsFollowTheDesktopTheGamesItsSetting) {
    UsePlatformLanguage();
    settings.Set("tongue", "0");
    TMainForm& form = Open();
    const bool german = QLocale::system().language() == QLocale::German;
    EXPECT_EQ(form.SaveDlg()->windowTitle(), german ? "Speichern unter" : "Save As");
    EXPECT_EQ(form.OpenDlg()->windowTitle(), german ? QString::fromUtf8("Öffnen") : "Open");
    QString yes, no, question;
    QTimer::singleShot(0, &form, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        yes = box->button(QMessageBox::Yes)->text();
        no = box->button(QMessageBox::No)->text();
        question = box->text();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(form.AskYesNo("Game a.aqd already existing. Overwrite?"));
    EXPECT_EQ(yes, german ? "&Ja" : "&Yes");
    EXPECT_EQ(no, german ? "&Nein" : "&No");
    EXPECT_EQ(question, "Game a.aqd already existing. Overwrite?");
    EXPECT_EQ(form.findChild<QLabel*>("TimeLabel")->text(), "Time:");
}

}  // namespace
