#include <gtest/gtest.h>

#include <algorithm>

#include "store/WindowPlacement.h"

namespace {

TEST(WindowPlacement, RestoresThePositionInsideTheScreenOrCentres) {
    struct Case {
        const char* text;
        int width, height, screenWidth, screenHeight;
        int left, top;
        bool centred;
    };
    for (const Case& c : {
             Case{"200,0,1,312,184,818,583", 506, 399, 800, 600, 294, 184, false},
             Case{"200,0,1,10,20,516,419", 506, 399, 800, 600, 10, 20, false},
             Case{"200,0,1,10,300,516,699", 506, 399, 800, 600, 10, 201, false},
             Case{"200,0,1,700,500,1,1", 506, 399, 800, 600, 294, 201, false},
             Case{"200,0,1,-50,-20,456,379", 506, 399, 800, 600, -50, -20, false},  // negative stays
             Case{"200,0,1,0,0,1000,700", 1000, 700, 800, 600, -200, -100, false},
             // A final comma adds no field.
             Case{"200,0,1,312,184,818,583,", 506, 399, 800, 600, 294, 184, false},
             Case{"200,junk,,312,184,818,583", 506, 399, 800, 600, 294, 184, false},  // fields 2 and 3 unused
             Case{"200,0,1,2147483647,2147483647,0,0", 506, 399, 800, 600, 294, 201, false},
             Case{"200,0,1,312,184,818", 506, 399, 800, 600, 147, 100, true},  // six fields
             Case{"100,0,1,312,184,818,583", 506, 399, 800, 600, 147, 100, true},
             Case{"200,0,1,312,184,818,583,,", 506, 399, 800, 600, 147, 100, true},
             Case{" 200,0,1,312,184,818,583", 506, 399, 800, 600, 147, 100, true},
             Case{"", 506, 399, 800, 600, 147, 100, true},
             Case{",", 506, 399, 800, 600, 147, 100, true},
             // Fields 4 to 7 that are no integers centre the window.
             Case{"200,0,1,abc,184,818,583", 506, 399, 800, 600, 147, 100, true},
             Case{"200,0,1,312,184,818,5x", 506, 399, 800, 600, 147, 100, true},
             Case{"200,0,1,312,184,818,,", 506, 399, 800, 600, 147, 100, true},
             Case{"200,0,1,312,99999999999,818,583", 506, 399, 800, 600, 147, 100, true},
             // Centring truncates toward zero.
             Case{"", 801, 601, 800, 600, 0, 0, true},
             Case{"", 803, 599, 800, 600, -1, 0, true},
             // Far off the screen, a negative position is not kept, and an
             // int's extremes compute without overflow.
             Case{"200,0,1,-1500,184,818,583", 506, 399, 800, 600, 147, 100, true},
             Case{"200,0,1,312,-400,818,583", 506, 399, 800, 600, 147, 100, true},
             Case{"200,0,1,-100000000,184,818,583", 506, 399, 800, 600, 147, 100, true},
             Case{"200,0,1,-2147483648,-2147483648,0,0", 506, 399, 800, 600, 147, 100, true},
             Case{"200,0,1,-505,-398,1,1", 506, 399, 800, 600, -505, -398, false},  // a corner still on it
             Case{"200,0,1,-506,184,0,583", 506, 399, 800, 600, 147, 100, true},
         }) {
        SCOPED_TRACE(c.text);
        const WindowPosition p = RestoredPosition(c.text, c.width, c.height, c.screenWidth, c.screenHeight);
        EXPECT_EQ(p.left, c.left);
        EXPECT_EQ(p.top, c.top);
        EXPECT_EQ(p.centred, c.centred);
    }
}

// The window measured as it is placed: its frame (margins in device pixels)
// included, at the screen's scale.
TEST(WindowPlacement, RestoresAndCentresTheFrameAtEveryScale) {
    struct Case {
        const char* text;
        int marginLeft, marginTop, marginRight, marginBottom;
        double scale;
        int screenWidth, screenHeight;
        int left, top;
        bool centred;
    };
    for (const Case& c : {
             Case{"200,0,1,312,184,818,583", 1, 20, 1, 1, 1, 800, 600, 298, 184, false},
             Case{"200,0,1,10,500,818,583", 1, 20, 1, 1, 1, 800, 600, 10, 213, false},  // bottom edge
             Case{"", 1, 20, 1, 1, 1, 1280, 1024, 389, 318, true},
             Case{"", 0, 0, 0, 0, 1, 1280, 1024, 390, 329, true},
             Case{"200,0,1,312,184,818,583", 0, 0, 0, 0, 1, 800, 600, 300, 184, false},
             Case{"200,0,1,-40,-19,0,0", 1, 20, 1, 1, 1, 800, 600, -40, -19, false},  // one row of title bar
             Case{"200,0,1,-40,-20,0,0", 1, 20, 1, 1, 1, 800, 600, 149, 106, true},   // none of it
             Case{"200,0,1,-501,0,0,0", 1, 20, 1, 1, 1, 800, 600, -501, 0, false},
             Case{"200,0,1,-502,0,0,0", 1, 20, 1, 1, 1, 800, 600, 149, 106, true},
             // 1280 x 1024 device pixels at scale 2: the frame is 1002 x 753.
             Case{"200,0,1,100,300,0,0", 1, 20, 1, 1, 2, 640, 512, 100, 135, false},
             Case{"200,0,1,400,0,0,0", 1, 20, 1, 1, 2, 640, 512, 139, 0, false},
             Case{"", 1, 20, 1, 1, 2, 640, 512, 69, 67, true},
             Case{"200,0,1,100,300,0,0", 2, 40, 2, 2, 2, 640, 512, 100, 125, false},
             Case{"200,0,1,100,305,0,0", 1, 20, 1, 1, 1.5, 853, 682, 100, 302, false},
         }) {
        SCOPED_TRACE(c.text);
        const OuterWindow outer =
            WithFrame(500, 366, c.marginLeft, c.marginTop, c.marginRight, c.marginBottom, c.scale);
        const WindowPosition p = RestoredPosition(c.text, outer, c.screenWidth, c.screenHeight);
        EXPECT_EQ(p.left, c.left);
        EXPECT_EQ(p.top, c.top);
        EXPECT_EQ(p.centred, c.centred);
        EXPECT_LE(p.top + outer.height, std::max(c.screenHeight, outer.height));
    }
    EXPECT_EQ(ClampedCoordinate(2147483647), 1 << 24);
    EXPECT_EQ(ClampedCoordinate(-2147483648LL), -(1 << 24));
    EXPECT_EQ(ClampedCoordinate(-1500), -1500);
}

TEST(WindowPlacement, StoresTheNormalRectangleWithTheShowState) {
    EXPECT_EQ(PlacementText(PlacementOf(312, 184, 506, 399, false, false)), "200,0,1,312,184,818,583");
    EXPECT_EQ(PlacementText(PlacementOf(312, 184, 506, 399, false, true)), "200,0,3,312,184,818,583");
    EXPECT_EQ(PlacementText(PlacementOf(312, 184, 506, 399, true, false)), "200,0,2,312,184,818,583");
    EXPECT_EQ(PlacementText(PlacementOf(312, 184, 506, 399, true, true)), "200,2,2,312,184,818,583");
    EXPECT_EQ(PlacementText(PlacementOf(-30, -4, 506, 399, false, false)), "200,0,1,-30,-4,476,395");

    const WindowPlacement stored = PlacementOf(-30, 7, 506, 399, true, true);
    EXPECT_EQ(ParsePlacementText(PlacementText(stored)), stored);
}

}  // namespace
