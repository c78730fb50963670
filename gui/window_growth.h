// Where a window's fixed children go when the window is larger than its
// designed size: the canvas takes the room, what lies right of it moves
// right and what lies under it moves down. At the designed size (and
// below it, where nothing shrinks) every child keeps its designed place.
// No toolkit here; placeGrown is written for any window type with the
// toolkit's position and default-size calls.
#pragma once

enum class Growth {
    Fill,          // grows by the window's growth both ways
    Right,         // moves right by the growth across
    Down,          // moves down by the growth up
    DownCentred,   // moves down, and right by half the growth across
};

struct PlaceRect {
    int x = 0;
    int y = 0;
    int width = 0;   // 0: the child's own default width
    int height = 0;  // 0: its default height
};

// The place of a child designed at designed, in a window grown by (dx, dy)
// pixels beyond its designed size; growths below 0 count as 0.
PlaceRect grownPlace(const PlaceRect& designed, Growth growth, int dx, int dy);

template <typename Window>
void placeGrown(Window* child, const PlaceRect& designed, Growth growth, int dx, int dy)
{
    if (!child)
        return;
    const PlaceRect place = grownPlace(designed, growth, dx, dy);
    child->position(place.x, place.y, place.width > 0 ? place.width : child->getDefaultWidth(),
                    place.height > 0 ? place.height : child->getDefaultHeight());
}
