// Where the Measurements window goes beside the simulation window.
#include "gui/window_placement.h"

#include <gtest/gtest.h>

namespace {

// A 650 x 533 simulation window and a 560 x 640 side window, 8 apart, at
// least 360 wide.
TEST(WindowPlacement, TheSideWindowGoesBesideMainAndInsideTheScreen)
{
    const struct {
        const char* what;
        int screenWidth, screenHeight;
        ScreenRect main;
        ScreenRect movedMain, side;
    } cases[] = {
        {"room on the right", 1600, 1200, {100, 50, 650, 533}, {100, 50, 650, 533}, {758, 50, 560, 640}},
        {"room on the left only", 1600, 1200, {900, 50, 650, 533}, {900, 50, 650, 533}, {332, 50, 560, 640}},
        {"narrowed on the right", 1280, 1024, {187, 100, 650, 533}, {187, 100, 650, 533}, {845, 100, 435, 640}},
        {"main moved left for the least width", 1024, 768, {187, 117, 650, 533},
         {6, 117, 650, 533}, {664, 117, 360, 640}},
        {"main moved right for the least width", 1024, 768, {300, 0, 650, 533}, {368, 0, 650, 533},
         {0, 0, 360, 640}},
        {"raised where the screen ends", 1600, 700, {100, 300, 650, 533}, {100, 300, 650, 533},
         {758, 60, 560, 640}},
        {"no taller than the screen", 1600, 600, {0, 0, 650, 533}, {0, 0, 650, 533}, {658, 0, 560, 600}},
        {"a screen too narrow for both", 800, 600, {0, 0, 650, 533}, {0, 0, 650, 533}, {240, 0, 560, 600}},
    };
    for (const auto& c : cases) {
        const SidePlacement placed = placeBeside(c.screenWidth, c.screenHeight, c.main, 560, 640, 8, 360);
        EXPECT_EQ(placed.main, c.movedMain) << c.what;
        EXPECT_EQ(placed.side, c.side) << c.what << ": " << placed.side.x << "," << placed.side.y << " "
                                       << placed.side.width << "x" << placed.side.height;
    }
}

}  // namespace
