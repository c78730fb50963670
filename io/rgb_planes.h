// RgbPlanes: a read-only view of a picture's three float planes, what the
// PPM and AVI writers take. plane[row][column]; row 0 is the top row.
#pragma once

#include <climits>
#include <cmath>

struct RgbPlanes {
    const float* const* red = nullptr;    // height row pointers, each to width floats
    const float* const* green = nullptr;
    const float* const* blue = nullptr;
    int width = 0;
    int height = 0;
};

// A stored pixel value: not finite -> 0; beyond the int range -> the
// nearest int.
inline int truncPixel(float value)
{
    if (!std::isfinite(value))
        return 0;
    if (value >= 2147483648.0f)
        return INT_MAX;
    if (value < -2147483648.0f)
        return INT_MIN;
    return static_cast<int>(value);
}
