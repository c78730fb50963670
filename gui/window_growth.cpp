#include "gui/window_growth.h"

#include <algorithm>

PlaceRect grownPlace(const PlaceRect& designed, Growth growth, int dx, int dy)
{
    dx = std::max(dx, 0);
    dy = std::max(dy, 0);
    PlaceRect place = designed;
    switch (growth) {
    case Growth::Fill:
        place.width += dx;
        place.height += dy;
        break;
    case Growth::Right:
        place.x += dx;
        break;
    case Growth::Down:
        place.y += dy;
        break;
    case Growth::DownCentred:
        place.x += dx / 2;
        place.y += dy;
        break;
    }
    return place;
}
