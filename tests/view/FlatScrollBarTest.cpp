#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHoverEvent>
#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>

#include "view/FlatScrollBar.h"

namespace {

class FlatScrollBarTest : public ::testing::Test {
protected:
    FlatScrollBarTest() : spy(&bar, &TFlatScrollBar::Scroll) {
        bar.setGeometry(0, 0, 22, 138);
        bar.setRange(1, 20);
        bar.setSingleStep(1);
        bar.setPageStep(10);
        bar.show();
    }
    QPoint Centre(QStyle::SubControl control) {
        QStyleOptionSlider option;
        option.initFrom(&bar);
        option.orientation = Qt::Vertical;
        option.minimum = bar.minimum();
        option.maximum = bar.maximum();
        option.sliderPosition = bar.sliderPosition();
        option.sliderValue = bar.value();
        option.singleStep = bar.singleStep();
        option.pageStep = bar.pageStep();
        option.subControls = QStyle::SC_All;
        return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, control, &bar).center();
    }
    void Click(QStyle::SubControl control) {
        const QPoint at = Centre(control);
        QTest::mousePress(&bar, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, at);
    }
    std::vector<int> Reported() {
        std::vector<int> positions;
        for (const auto& call : spy) positions.push_back(call.at(0).toInt());
        spy.clear();
        return positions;
    }

    TFlatScrollBar bar{nullptr};
    QSignalSpy spy;
};

TEST_F(FlatScrollBarTest, ValuesSetFromCodeAreNotReported) {
    bar.setValue(5);
    bar.setMaximum(3);
    EXPECT_EQ(bar.value(), 3) << "a lower maximum lowers the position";
    bar.setValue(99);
    EXPECT_EQ(bar.value(), 3);
    EXPECT_TRUE(Reported().empty());
}

TEST_F(FlatScrollBarTest, ArrowsMoveByOneAndDoNothingAtTheEnd) {
    bar.setValue(19);
    Click(QStyle::SC_ScrollBarAddLine);
    EXPECT_EQ(Reported(), (std::vector<int>{20}));
    Click(QStyle::SC_ScrollBarAddLine);
    EXPECT_TRUE(Reported().empty());
    bar.setValue(1);
    Click(QStyle::SC_ScrollBarSubLine);
    EXPECT_TRUE(Reported().empty());
}

// An arrow under the pointer is a shade lighter, pressed it is darker: three looks, not one.
TEST_F(FlatScrollBarTest, ArrowLightsUpUnderThePointer) {
    const QPoint arrow = Centre(QStyle::SC_ScrollBarSubLine);
    const auto face = [&] { return qGray(bar.grab().toImage().pixel(2, 2)); };
    const int normal = face();
    bar.setAttribute(Qt::WA_UnderMouse);
    QHoverEvent move(QEvent::HoverMove, arrow, bar.mapToGlobal(arrow), QPoint(-1, -1));
    QApplication::sendEvent(&bar, &move);
    const int over = face();
    EXPECT_GT(over, normal);
    EXPECT_LT(over, normal + 40) << "a shade, not a flash";
    QTest::mousePress(&bar, Qt::LeftButton, {}, arrow);
    EXPECT_LT(face(), normal);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, arrow);
}

TEST_F(FlatScrollBarTest, TrackPressesMoveByTenAndReportAtTheEnds) {
    bar.setValue(15);
    Click(QStyle::SC_ScrollBarAddPage);
    EXPECT_EQ(Reported(), (std::vector<int>{20}));
    Click(QStyle::SC_ScrollBarSubPage);
    EXPECT_EQ(Reported(), (std::vector<int>{10}));
    bar.setValue(4);
    Click(QStyle::SC_ScrollBarSubPage);
    EXPECT_EQ(Reported(), (std::vector<int>{1}));
}

TEST_F(FlatScrollBarTest, KeysReportEvenWhenTheThumbStays) {
    struct Row {
        int from;
        Qt::Key key;
        int reported;
    };
    // Up is towards the top (the minimum), as the arrow buttons and the track go.
    const Row rows[] = {
        {20, Qt::Key_Down, 20},   {20, Qt::Key_PageDown, 20}, {20, Qt::Key_Up, 19},
        {20, Qt::Key_PageUp, 10}, {1, Qt::Key_Up, 1},         {1, Qt::Key_PageUp, 1},
        {1, Qt::Key_Down, 2},     {1, Qt::Key_PageDown, 11},  {10, Qt::Key_Up, 9},
        {10, Qt::Key_Down, 11},   {10, Qt::Key_PageUp, 1},    {10, Qt::Key_PageDown, 20},
        {15, Qt::Key_PageUp, 5},  {5, Qt::Key_PageDown, 15},
    };
    for (const Row& row : rows) {
        bar.setValue(row.from);
        QTest::keyClick(&bar, row.key);
        EXPECT_EQ(Reported(), (std::vector<int>{row.reported})) << "key " << row.key << " from " << row.from;
        EXPECT_EQ(bar.value(), row.reported);
    }
}

// A wheel notch goes one position as an arrow does, nothing at the end;
// Home and End do nothing. Turns are in eighths of a degree, 120 a notch.
TEST_F(FlatScrollBarTest, WheelNotchesGoOnePositionHomeAndEndNothing) {
    struct Row {
        int from;
        std::vector<int> turns;  // one wheel event each; 0 for Home, 1 for End
        std::vector<int> reported;
    };
    const Row rows[] = {
        {10, {120}, {9}}, {10, {-120}, {11}}, {10, {240}, {9, 8}}, {10, {60, 60}, {9}}, {1, {120}, {}},
        {20, {-120}, {}}, {10, {0}, {}},      {10, {1}, {}},       {2, {360}, {1}},
    };
    for (const Row& row : rows) {
        bar.setValue(row.from);
        for (int turn : row.turns) {
            if (turn == 0 || turn == 1) {
                QTest::keyClick(&bar, turn == 0 ? Qt::Key_Home : Qt::Key_End);
                continue;
            }
            QWheelEvent wheel(QPointF(11, 60), bar.mapToGlobal(QPointF(11, 60)), {}, QPoint(0, turn),
                              Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&bar, &wheel);
        }
        const std::vector<int> reported = Reported();
        EXPECT_EQ(reported, row.reported) << "from " << row.from << ", first turn " << row.turns[0];
        EXPECT_EQ(bar.value(), reported.empty() ? row.from : reported.back());
    }
}

// Held down, a track press repeats every 100 ms, the first repeat too. Timed
// against the press itself, so a late tick under load makes no failure while
// Qt's own timing (500 ms, then every 50) does.
TEST_F(FlatScrollBarTest, HoldingTheTrackRepeatsEveryTenthOfASecond) {
    bar.setRange(1, 500);
    bar.setValue(1);
    QElapsedTimer clock;
    std::vector<qint64> at;
    QObject::connect(&bar, &TFlatScrollBar::Scroll, [&] { at.push_back(clock.elapsed()); });
    const QPoint track = Centre(QStyle::SC_ScrollBarAddPage);
    clock.start();
    QTest::mousePress(&bar, Qt::LeftButton, {}, track);
    QTest::qWait(650);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, track);
    const qint64 held = clock.elapsed();
    QTest::qWait(150);
    ASSERT_GE(at.size(), 3u) << "held " << held << " ms";
    EXPECT_LT(at[0], 50) << "the press itself moves at once";
    EXPECT_LT(at[1], 450) << "the first repeat does not wait longer";
    for (std::size_t n = 1; n < at.size(); ++n)
        EXPECT_GE(at[n], qint64(n) * 100 - 10) << "repeat " << n << " came early";
    EXPECT_LE(at.back(), held) << "nothing after the release";
    EXPECT_EQ(bar.value(), 1 + 10 * int(at.size())) << "each page reported";
}

TEST_F(FlatScrollBarTest, HeldTrackStopsWhereTheThumbReachesThePointer) {
    bar.setValue(1);
    const QPoint belowThumb(11,
                            Centre(QStyle::SC_ScrollBarSlider).y() + 26);  // one page on, the thumb covers it
    QTest::mousePress(&bar, Qt::LeftButton, {}, belowThumb);
    QTest::qWait(350);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, belowThumb);
    EXPECT_EQ(Reported(), (std::vector<int>{11}));
}

TEST_F(FlatScrollBarTest, DraggingReportsEveryMove) {
    bar.setValue(1);
    const QPoint handle = Centre(QStyle::SC_ScrollBarSlider);
    QTest::mousePress(&bar, Qt::LeftButton, {}, handle);
    EXPECT_TRUE(Reported().empty()) << "pressing the thumb moves nothing";
    QTest::mouseMove(&bar, handle + QPoint(0, 1));
    EXPECT_EQ(Reported(), (std::vector<int>{1})) << "a move of 1 px reports, though the position stays";
    for (int dy = 10; dy <= 40; dy += 10) QTest::mouseMove(&bar, handle + QPoint(0, dy));
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, handle + QPoint(0, 40));
    const std::vector<int> positions = Reported();
    ASSERT_EQ(positions.size(), 4u) << "one report per move";
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_GT(positions.back(), 1);
    EXPECT_EQ(positions.back(), bar.value())
        << "the level under the thumb at the end is the one reported last";
}

}  // namespace
