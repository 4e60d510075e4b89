#include <gtest/gtest.h>

#include "view/OpeningEffect.h"
#include "view/WindowFrame.h"

namespace {

// The help window (562 x 665 with its frame) beside the game's 502 x 387 frame,
// whose board is the 500 x 333 below the title bar and the tool bar.
TEST(WindowFrame, HelpGoesBesideTheGameElseWhereItHidesLeastOfTheBoard) {
    struct Case {
        QRect screen;
        QPoint game;
        QRect place;
    };
    for (const Case& c : {
             Case{{0, 0, 1920, 1080}, {709, 346}, {1219, 346, 562, 665}},  // right, room to spare
             Case{{0, 0, 1280, 1024}, {389, 318}, {899, 318, 381, 665}},   // right, narrowed
             Case{{0, 0, 1280, 1024}, {778, 500}, {208, 359, 562, 665}},   // left, lifted onto the screen
             Case{{0, 0, 1024, 768}, {261, 190}, {462, 103, 562, 665}},    // no room: a corner
             Case{{0, 0, 800, 600}, {149, 106}, {238, 0, 562, 600}},       // lower to fit
             Case{{0, 0, 1280, 1024}, {0, 200}, {510, 200, 562, 665}},
         }) {
        const QRect game(c.game, QSize(502, 387));
        const QRect board(game.topLeft() + QPoint(1, 20 + 33), QSize(500, 333));
        EXPECT_EQ(BesidePlace(QSize(562, 665), 320, game, board, c.screen), c.place) << c.screen.width();
    }
}

// Forty rectangles, in even steps from the pointer, the last on the window.
TEST(OpeningEffect, GrowsFromThePointerOntoTheWindow) {
    const QRect window(100, 50, 502, 387);
    struct Case {
        QPoint pointer;
        int step;
        QRect rectangle;
    };
    for (const Case& c : {Case{{0, 0}, 1, {3, 1, 13, 10}}, Case{{1000, 800}, 20, {550, 425, 251, 194}},
                          Case{{0, 0}, 40, window}, Case{{1000, 800}, 40, window}}) {
        const std::vector<QRect> all = OpeningRectangles(c.pointer, window);
        ASSERT_EQ(all.size(), 40u);
        EXPECT_EQ(all[static_cast<std::size_t>(c.step - 1)], c.rectangle) << "step " << c.step;
    }
}

}  // namespace
