#include "streamlines.h"

#include "field_resample.h"
#include "frame_image.h"
#include "pixel_trunc.h"
#include "render_constants.h"
#include "stream_dots.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

// The resampled u and v of the latest call, interleaved: point (x, y) has
// U at [2 (y * columns + x)] and V right after it, so one lookup reads one
// place. Reused while the size holds.
std::vector<double> velocity;
int velocityColumns = 0;

// What one path needs about the picture and the velocity planes.
struct TraceSpace {
    FramePlanes planes;
    int k;           // pixels per cell
    int H;           // picture rows
    double width;    // W
    double height;   // H
    int lastColumn;  // last resampled column, W - k - 1
    int lastRow;     // last resampled row, H - k - 1
};

// Consecutive dots of a path that fall on the same pixel, plotted together
// when the path moves on (nothing else draws in between).
struct DotRun {
    int column = 0;
    int row = 0;
    int count = 0;

    void add(const FramePlanes& planes, int dotColumn, int dotRow)
    {
        if (count > 0 && dotColumn == column && dotRow == row) {
            ++count;
            return;
        }
        flush(planes);
        column = dotColumn;
        row = dotRow;
        count = 1;
    }
    void flush(const FramePlanes& planes)
    {
        if (count > 0)
            plotStreamDots(planes, column, row, count);
        count = 0;
    }
};

// Traces one path from (sx, sy): each step
//   1. ends outside 0 <= px <= W, 0 <= py <= H (NaN counts as below 0);
//   2. for 0 < px < W - 1: ends unless 0 < py < H - 1, else looks up
//      (vx, vy) = (U, V)[trunc px][trunc py], clamped to the filled points;
//   3. px += 0.09 vx, py += 0.09 vy;
//   4. addStreamDot(trunc(px) + k, H - trunc(py)).
void tracePath(const TraceSpace& space, int sx, int sy, DotRun& run)
{
    using render_constants::tracerDotLimit;
    using render_constants::tracerStepFactor;
    double px = sx;
    double py = sy;
    // The step 0.09 v of the last lookup, and where that lookup was: the
    // same point gives the same velocity, so the product is reused.
    double stepX = tracerStepFactor * 0.0;
    double stepY = tracerStepFactor * 0.0;
    int lookedUpX = -1;
    int lookedUpY = -1;
    for (int dot = 1; dot <= tracerDotLimit; ++dot) {
        if (!(px >= 0) || !(py >= 0) || py > space.height || px > space.width)
            return;
        if (px > 0 && px < space.width - 1) {
            if (py <= 0 || py >= space.height - 1)
                return;
            const int x = std::min(static_cast<int>(px), space.lastColumn);
            const int y = std::min(static_cast<int>(py), space.lastRow);
            if (x != lookedUpX || y != lookedUpY) {
                const double* point = &velocity[2 * (static_cast<size_t>(y) * velocityColumns + x)];
                stepX = tracerStepFactor * point[0];
                stepY = tracerStepFactor * point[1];
                lookedUpX = x;
                lookedUpY = y;
            }
        }
        const double nextX = px + stepX;
        const double nextY = py + stepY;
        run.add(space.planes, truncCoordinate(nextX) + space.k, space.H - truncCoordinate(nextY));
        if (nextX == px && nextY == py) {
            // Same position, same lookup, same step: every dot left falls
            // on this pixel.
            run.count += tracerDotLimit - dot;
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
    const int columns = resampledPoints(NX, k);
    const int rows = resampledPoints(NY, k);
    velocity.resize(2 * static_cast<size_t>(columns) * rows);
    int filledColumns = 0;
    int filledRows = 0;
    resampleInto(NX, NY, grid.u, k, velocity.data(), 2, filledColumns, filledRows);
    resampleInto(NX, NY, grid.v, k, velocity.data() + 1, 2, filledColumns, filledRows);
    velocityColumns = columns;
    const TraceSpace space{framePlanes(), k, H, static_cast<double>(W), static_cast<double>(H),
                           columns - 1, rows - 1};

    using render_constants::seedSpacingFactor;
    DotRun run;
    for (int sx = truncCoordinate(cw); sx < W - 2 * cw; sx = truncCoordinate(sx + seedSpacingFactor * cw))
        for (int sy = truncCoordinate(ch); sy < H - 2 * ch; sy = truncCoordinate(sy + seedSpacingFactor * ch)) {
            tracePath(space, sx, sy, run);
            run.flush(space.planes);
        }
}
