// FramePlot: the additive plots of the picture written once, inline, over
// the row tables, so that addPixel, addStreamDot and the elements that plot
// millions of dots share one definition.
#pragma once

#include "render/frame_image.h"
#include "render/render_constants.h"

#include <initializer_list>

namespace frame_plot {

// True when (column, row) lies in the margin that plots never reach:
// column < 2, row < 2, column > W - 2 or row > H - 2.
inline bool inMargin(const FramePlanes& planes, int column, int row)
{
    using render_constants::plotMargin;
    return column > planes.width - plotMargin || row > planes.height - plotMargin ||
           column < plotMargin || row < plotMargin;
}

// Lowers a value above 255 to 255; anything else (NaN included) stays.
inline void saturate(float& value)
{
    if (value > render_constants::channelMax)
        value = render_constants::channelMax;
}

// Saturates the four neighbours of (column, row) in every plane. In a
// capped picture they are at most 255 already and nothing is done.
inline void saturateNeighbours(const FramePlanes& planes, int column, int row)
{
    if (planes.capped)
        return;
    for (float* const* plane : {planes.red, planes.green, planes.blue}) {
        saturate(plane[row + 1][column]);
        saturate(plane[row - 1][column]);
        saturate(plane[row][column + 1]);
        saturate(plane[row][column - 1]);
    }
}

// A colour argument held to 0..255: above 255 first, then below 0.
inline int clampColour(int value)
{
    if (value > 255)
        value = 255;
    if (value < 0)
        value = 0;
    return value;
}

// plane[row][column] += 0.78 * clamp(c) for each plane (the sum in double,
// stored as float), then the pixel and its neighbours saturate at 255. The
// pixel saturating before its neighbours changes nothing: each value is
// saturated on its own.
// The caller has checked the margin.
inline void plotPixelInside(const FramePlanes& planes, int column, int row, int r, int g, int b)
{
    using render_constants::plotWeight;
    planes.red[row][column] += plotWeight * clampColour(r);
    planes.green[row][column] += plotWeight * clampColour(g);
    planes.blue[row][column] += plotWeight * clampColour(b);
    saturate(planes.red[row][column]);
    saturate(planes.green[row][column]);
    saturate(planes.blue[row][column]);
    saturateNeighbours(planes, column, row);
}

// count additions of 0.78 * colour to one value, each saturating at 255.
// Once the value is 255, adding a share of 0 or more leaves it there. Below
// 256 an addition rounded to float loses less than 2^-16, so a run that adds
// at least share - 2^-15 each time surely gets there: it is set at once.
inline void addShareRepeatedly(float& value, int colour, int count)
{
    using render_constants::channelMax;
    const double share = render_constants::plotWeight * clampColour(colour);
    const double leastGain = share - 0x1p-15;
    if (leastGain > 0 && value >= -channelMax && value + count * leastGain >= channelMax) {
        value = channelMax;
        return;
    }
    for (int n = 0; n < count && value != channelMax; ++n) {
        value += share;
        saturate(value);
    }
}

// count calls of addPixel(column, row, r, g, b) in a row: the pixel takes
// its additions one after another, and its neighbours, which none of them
// changes, saturate once.
inline void plotPixelRepeatedly(const FramePlanes& planes, int column, int row, int r, int g, int b, int count)
{
    if (count <= 0 || inMargin(planes, column, row))
        return;
    addShareRepeatedly(planes.red[row][column], r, count);
    addShareRepeatedly(planes.green[row][column], g, count);
    addShareRepeatedly(planes.blue[row][column], b, count);
    saturateNeighbours(planes, column, row);
}

// addPixel on the given planes.
inline void plotPixel(const FramePlanes& planes, int column, int row, int r, int g, int b)
{
    if (!inMargin(planes, column, row))
        plotPixelInside(planes, column, row, r, g, b);
}

// One plane of a stream dot: += 1.78 at the centre, += 0.178 at each
// neighbour, then the five values saturate.
inline void streamDotPlane(float* const* plane, int column, int row)
{
    using render_constants::streamDotCentre;
    using render_constants::streamDotNeighbour;
    float* centre = plane[row];
    float* south = plane[row + 1];
    float* north = plane[row - 1];
    centre[column] += streamDotCentre;
    south[column] += streamDotNeighbour;
    centre[column + 1] += streamDotNeighbour;
    north[column] += streamDotNeighbour;
    centre[column - 1] += streamDotNeighbour;
    saturate(centre[column]);
    saturate(south[column]);
    saturate(north[column]);
    saturate(centre[column + 1]);
    saturate(centre[column - 1]);
}

// addStreamDot on the given planes.
inline void plotStreamDot(const FramePlanes& planes, int column, int row)
{
    if (inMargin(planes, column, row))
        return;
    streamDotPlane(planes.red, column, row);
    streamDotPlane(planes.green, column, row);
    streamDotPlane(planes.blue, column, row);
}

}  // namespace frame_plot
