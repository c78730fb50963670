// Conversions of picture doubles and floats to int. Every one truncates
// toward zero, and none of them ever converts a value that int cannot hold
// (which would be undefined behaviour).
#pragma once

#include "io/rgb_planes.h"
#include "render/render_constants.h"

#include <climits>
#include <cmath>

// A picture coordinate: not finite -> 0; beyond +-2^30 -> +-2^30.
inline int truncCoordinate(double value)
{
    if (!std::isfinite(value))
        return 0;
    if (value > render_constants::coordinateLimit)
        return static_cast<int>(render_constants::coordinateLimit);
    if (value < -render_constants::coordinateLimit)
        return -static_cast<int>(render_constants::coordinateLimit);
    return static_cast<int>(value);
}

// A colour channel product: not finite -> 0; beyond the int range -> 255,
// which addPixel would clamp it to anyway.
inline int truncChannel(double value)
{
    if (!std::isfinite(value))
        return 0;
    if (value >= 2147483648.0 || value <= -2147483649.0)
        return static_cast<int>(render_constants::channelMax);
    return static_cast<int>(value);
}

