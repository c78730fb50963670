// Where a side window (the Measurements window) goes beside its main
// window (the simulation window): plain rectangle arithmetic on screen
// pixels, so it can be tested without a display.
#pragma once

struct ScreenRect {
    int x, y, width, height;
    bool operator==(const ScreenRect& other) const
    {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

struct SidePlacement {
    ScreenRect main;  // the main window, moved when that makes room
    ScreenRect side;  // the side window
};

// The side window of the wanted size beside main, gap pixels apart, both on
// a screen of screenWidth x screenHeight: right of main if it fits there,
// else left of it; else on the roomier side, narrowed to the room but not
// below minWidth, main moved toward the far edge as far as that needs.
// Level with main, raised where the screen ends below; no taller than the
// screen. Only on a screen too narrow for both does the side window
// overlap main (at the screen's right edge).
SidePlacement placeBeside(int screenWidth, int screenHeight, const ScreenRect& main, int wantedWidth,
                          int wantedHeight, int gap, int minWidth);
