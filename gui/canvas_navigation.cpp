#include "gui/canvas_navigation.h"

#include <cmath>
#include <cstdlib>

void CanvasNavigation::wheel(int x, int y, int amount)
{
    const double notches = static_cast<double>(amount) / Navigation::wheelNotch;
    view.zoomAbout(x + 0.5, y + 0.5, std::pow(Navigation::zoomStep, notches));
}

void CanvasNavigation::command(ZoomCommand command)
{
    const double middleX = 0.5 * view.canvasWidth();
    const double middleY = 0.5 * view.canvasHeight();
    switch (command) {
    case ZoomCommand::In: view.zoomAbout(middleX, middleY, Navigation::zoomStep); break;
    case ZoomCommand::Out: view.zoomAbout(middleX, middleY, 1.0 / Navigation::zoomStep); break;
    case ZoomCommand::Fit: view.fit(); break;
    case ZoomCommand::OneToOne: view.oneToOne(); break;
    }
}

void CanvasNavigation::pressMiddle(int x, int y)
{
    middleDown = true;
    dragged = false;
    pressX = lastX = x;
    pressY = lastY = y;
}

// Within clickSlop of the press the view stays, so that a click does not
// nudge it; past it the content follows the pointer from where it was
// pressed.
bool CanvasNavigation::dragMiddle(int x, int y)
{
    if (!middleDown)
        return false;
    if (!dragged && std::abs(x - pressX) <= Navigation::clickSlop && std::abs(y - pressY) <= Navigation::clickSlop)
        return false;
    dragged = true;
    const double beforeX = view.originX(), beforeY = view.originY();
    view.panBy(x - lastX, y - lastY);
    lastX = x;
    lastY = y;
    return view.originX() != beforeX || view.originY() != beforeY;
}

bool CanvasNavigation::releaseMiddle(int x, int y)
{
    if (!middleDown)
        return false;
    dragMiddle(x, y);
    middleDown = false;
    return !dragged;
}
