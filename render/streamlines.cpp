#include "streamlines.h"

#include "field_resample.h"
#include "frame_image.h"
#include "pixel_trunc.h"
#include "render_constants.h"

#include <algorithm>
#include <cmath>

namespace {

// The resampled u and v of the latest call; reused while the size holds.
ResampledField planeU;
ResampledField planeV;

// What one path needs about the picture and the velocity planes.
struct TraceSpace {
    int k;           // pixels per cell
    int H;           // picture rows
    double width;    // W
    double height;   // H
    int lastColumn;  // last resampled column, W - k - 1
    int lastRow;     // last resampled row, H - k - 1
};

// True when every value that a dot at (column, row) touches is 255 or NaN,
// so further dots there change nothing.
bool crossSaturated(const FramePlanes& planes, int column, int row)
{
    float** tables[3] = {planes.red, planes.green, planes.blue};
    for (float** plane : tables) {
        const float values[5] = {plane[row][column], plane[row + 1][column], plane[row - 1][column],
                                 plane[row][column + 1], plane[row][column - 1]};
        for (float value : values)
            if (value != render_constants::channelMax && !std::isnan(value))
                return false;
    }
    return true;
}

// The remaining dots of a path that stands still all fall on one pixel;
// they are plotted until that pixel's cross stops changing.
void repeatStillDot(int column, int row, int dotsLeft)
{
    const FramePlanes planes = framePlanes();
    using render_constants::plotMargin;
    if (column > planes.width - plotMargin || row > planes.height - plotMargin ||
        column < plotMargin || row < plotMargin)
        return;
    for (; dotsLeft > 0 && !crossSaturated(planes, column, row); --dotsLeft)
        addStreamDot(column, row);
}

// Traces one path from (sx, sy): each step
//   1. ends outside 0 <= px <= W, 0 <= py <= H (NaN counts as below 0);
//   2. for 0 < px < W - 1: ends unless 0 < py < H - 1, else looks up
//      (vx, vy) = (U, V)[trunc px][trunc py], clamped to the filled points;
//   3. px += 0.09 vx, py += 0.09 vy;
//   4. addStreamDot(trunc(px) + k, H - trunc(py)).
void tracePath(const TraceSpace& space, int sx, int sy)
{
    using render_constants::tracerStepFactor;
    double px = sx;
    double py = sy;
    double vx = 0.0;
    double vy = 0.0;
    for (int dot = 1; dot <= render_constants::tracerDotLimit; ++dot) {
        if (!(px >= 0) || !(py >= 0) || py > space.height || px > space.width)
            return;
        if (px > 0 && px < space.width - 1) {
            if (py <= 0 || py >= space.height - 1)
                return;
            const int x = std::min(static_cast<int>(px), space.lastColumn);
            const int y = std::min(static_cast<int>(py), space.lastRow);
            vx = planeU.at(x, y);
            vy = planeV.at(x, y);
        }
        const double nextX = px + tracerStepFactor * vx;
        const double nextY = py + tracerStepFactor * vy;
        const int column = truncCoordinate(nextX) + space.k;
        const int row = space.H - truncCoordinate(nextY);
        addStreamDot(column, row);
        if (nextX == px && nextY == py) {
            // Same position, same lookup, same step from here on.
            repeatStillDot(column, row, render_constants::tracerDotLimit - dot);
            return;
        }
        px = nextX;
        py = nextY;
    }
}

}  // namespace

// Seeds: sx = trunc(cw), trunc(sx + 1.5 cw), ... while sx < W - 2 cw, and
// for each sx: sy = trunc(ch), trunc(sy + 1.5 ch), ... while sy < H - 2 ch.
void drawStreamlines(int32_t NX, int32_t NY, const SimGrid& grid, int k)
{
    if (!fieldFits(NX, NY, grid.u, k) || !fieldFits(NX, NY, grid.v, k))
        return;
    const int W = k * NX;
    const int H = k * NY;
    const double cw = static_cast<double>(W) / NX;
    const double ch = static_cast<double>(H) / NY;
    if (!(cw < W - 2 * cw && ch < H - 2 * ch))
        return;  // no seed fits: NX or NY is 3 or less
    resampleField(NX, NY, grid.u, k, planeU);
    resampleField(NX, NY, grid.v, k, planeV);
    const TraceSpace space{k, H, static_cast<double>(W), static_cast<double>(H),
                           planeU.columns - 1, planeU.rows - 1};

    using render_constants::seedSpacingFactor;
    for (int sx = truncCoordinate(cw); sx < W - 2 * cw; sx = truncCoordinate(sx + seedSpacingFactor * cw))
        for (int sy = truncCoordinate(ch); sy < H - 2 * ch; sy = truncCoordinate(sy + seedSpacingFactor * ch))
            tracePath(space, sx, sy);
}
