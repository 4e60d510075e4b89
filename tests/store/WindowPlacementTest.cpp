#include <gtest/gtest.h>

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
         }) {
        SCOPED_TRACE(c.text);
        const WindowPosition p = RestoredPosition(c.text, c.width, c.height, c.screenWidth, c.screenHeight);
        EXPECT_EQ(p.left, c.left);
        EXPECT_EQ(p.top, c.top);
        EXPECT_EQ(p.centred, c.centred);
    }
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
