#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWindow>
#include <cstdlib>

#include "game/MainForm.h"
#include "view/DrawnSheets.h"
#include "tests/support/Levels.h"

namespace {

using testlevels::Make;

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        testlevels::WriteFile(folder.path() / "aqnd.dat",
                              testlevels::Bytes({Make({{3, 4, 1}, {4, 4, 3}, {5, 4, 1}}, 4, 4)}));
    }
    testlevels::TempFolder folder;
};

TEST_F(MainFormTest, WindowLayout) {
    TMainForm form(folder.Folder(), MakeDrawnSheets());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.size(), QSize(500, 366));
    EXPECT_EQ(form.windowTitle(), "Aquendo 2.3");
    const QWidget* box = form.findChild<QWidget*>("box");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->geometry(), QRect(0, 33, 500, 333));
    const QWidget* panel = form.findChild<QWidget*>("ToolPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 500, 33));

    // For looking at the window: AQUENDO_SCREENSHOT=file.png
    if (const char* shot = std::getenv("AQUENDO_SCREENSHOT")) form.grab().save(shot);
}

TEST_F(MainFormTest, PressesOnTheBoardReachTheGame) {
    TMainForm form(folder.Folder(), MakeDrawnSheets());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    // Cell (4, 4) is at (130, 130) in the board, 33 lower in the window.
    const QPoint cell(22 + 36 * 3 + 18, 33 + 22 + 36 * 3 + 18);
    QTest::mousePress(form.windowHandle(), Qt::LeftButton, {}, cell);
    QTest::mouseRelease(form.windowHandle(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(form.game().board().Piece(4, 4), 11);
    // A quick second press arrives as a double click: a move of its own.
    QTest::mouseDClick(form.windowHandle(), Qt::RightButton, {}, cell);
    EXPECT_EQ(form.game().board().Piece(4, 4), 27) << "press, then double-click press: two turns";

    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, QPoint(22 + 36 * 4 + 18, 33 + 22 + 36 * 3 + 18));
    EXPECT_EQ(form.game().board().Piece(5, 4), 1) << "a dry piece stays";
}

}  // namespace
