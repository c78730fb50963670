// The user's ways of moving a canvas view, the same in the editor and the
// simulation window: the wheel zooms about the pointer, a middle-button
// drag pans, and the View commands zoom about the canvas's middle, fit the
// content or show it at one pixel a unit. A middle press and release that
// did not move the pointer past clickSlop is a click, left to the window
// (the simulation window places a probe with it). No toolkit here.
#pragma once

#include "gui/canvas_view.h"

enum class ZoomCommand { In, Out, Fit, OneToOne };

namespace Navigation {
// One wheel notch or one Zoom In enlarges the content this much.
constexpr double zoomStep = 1.25;
// The toolkit reports one wheel notch as this much.
constexpr int wheelNotch = 120;
// Pixels the pointer may move, either way, during a middle click.
constexpr int clickSlop = 3;
}  // namespace Navigation

class CanvasNavigation {
public:
    explicit CanvasNavigation(const ViewLimits& limits) : view(limits) {}

    // Zooms about canvas pixel (x, y) by zoomStep per notch; amount is the
    // wheel's report, positive away from the user (zoom in).
    void wheel(int x, int y, int amount);
    void command(ZoomCommand command);

    // A middle-button drag: press, moves, release. dragMiddle says whether
    // the view moved; releaseMiddle whether the whole was a click.
    void pressMiddle(int x, int y);
    bool dragMiddle(int x, int y);
    bool releaseMiddle(int x, int y);
    bool panning() const { return middleDown; }

    CanvasView view;

private:
    bool middleDown = false;
    bool dragged = false;   // the pointer went past clickSlop since the press
    int pressX = 0, pressY = 0;
    int lastX = 0, lastY = 0;
};
