#include "gui/window_placement.h"

#include <algorithm>

namespace {
// The side window's top: level with main unless the screen ends first.
int levelTop(int screenHeight, const ScreenRect& main, int height)
{
    return std::max(0, std::min(main.y, screenHeight - height));
}
}  // namespace

SidePlacement placeBeside(int screenWidth, int screenHeight, const ScreenRect& main, int wantedWidth,
                          int wantedHeight, int gap, int minWidth)
{
    SidePlacement placed{main, {0, 0, wantedWidth, std::min(wantedHeight, screenHeight)}};
    ScreenRect& side = placed.side;
    const int roomRight = screenWidth - (main.x + main.width + gap);
    const int roomLeft = main.x - gap;
    if (roomRight >= wantedWidth) {
        side.x = main.x + main.width + gap;
    } else if (roomLeft >= wantedWidth) {
        side.x = main.x - gap - wantedWidth;
    } else if (screenWidth - main.width - gap >= minWidth) {
        // The roomier side, made wide enough by moving main away from it.
        side.width = std::min(wantedWidth, std::max(minWidth, std::max(roomRight, roomLeft)));
        if (roomRight >= roomLeft) {
            placed.main.x = std::min(main.x, screenWidth - side.width - gap - main.width);
            side.x = placed.main.x + main.width + gap;
        } else {
            placed.main.x = std::max(main.x, side.width + gap);
            side.x = placed.main.x - gap - side.width;
        }
    } else {
        side.x = std::max(0, screenWidth - wantedWidth);
    }
    side.y = levelTop(screenHeight, main, side.height);
    return placed;
}
