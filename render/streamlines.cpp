#include "render/streamlines.h"

#include "render/field_resample.h"
#include "render/frame_image.h"
#include "render/pixel_trunc.h"
#include "render/render_constants.h"
#include "render/stream_dots.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using Seed = StreamlinePass::Seed;
using PartRuns = StreamlinePass::PartRuns;

// Parts per thread: paths differ in length, so more parts than threads
// keep the threads evenly busy.
constexpr int partsPerThread = 4;

// What one path needs about the grid and the picture.
struct TraceSpace {
    const SimGrid& grid;
    const PixelGrid& pixelGrid;
    int k;           // pixels per cell
    int H;           // picture rows
    double width;    // W
    double height;   // H
    int lastColumn;  // last interpolated column, W - k - 1
    int lastRow;     // last interpolated row, H - k - 1
};

// Consecutive dots of a path that fall on the same pixel, recorded as one
// run when the path moves on (nothing else draws in between).
struct DotRun {
    int column = 0;
    int row = 0;
    int count = 0;

    void add(std::vector<StreamRun>& runs, int dotColumn, int dotRow)
    {
        if (count > 0 && dotColumn == column && dotRow == row) {
            ++count;
            return;
        }
        flush(runs);
        column = dotColumn;
        row = dotRow;
        count = 1;
    }
    void flush(std::vector<StreamRun>& runs)
    {
        if (count > 0)
            runs.push_back(StreamRun{column, row, count});
        count = 0;
    }
};

// The unit cell of the picture grid that holds the position of the last
// lookup, cut to the open lookup region 0 < px < W - 1, 0 < py < H - 1.
// While the position stays in it, every check of a step passes and the
// lookup gives the same velocity; a dot landing in it falls on its pixel.
struct LookupBox {
    double lowX = 1.0, highX = 0.0, lowY = 1.0, highY = 0.0;  // empty

    bool holds(double px, double py) const
    {
        return px >= lowX && px < highX && py >= lowY && py < highY;
    }
    // The cell of (cellX, cellY); a cell on the 0 line starts just above 0.
    void set(int cellX, int cellY, double width, double height)
    {
        lowX = cellX == 0 ? DBL_MIN : cellX;
        lowY = cellY == 0 ? DBL_MIN : cellY;
        highX = std::min(cellX + 1.0, width - 1);
        highY = std::min(cellY + 1.0, height - 1);
    }
};

uint64_t doubleBits(double value)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}
double doubleOf(uint64_t bits)
{
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Steps a path may take from p (a coordinate of the box [low, high), low
// at least 1) and still lie in the box, up to limit, with stride set to
// what each step adds. The box lies in one binade of doubles, where p +
// step rounds to p + stride for every p alike, unless the sum is a tie
// (then p + ulp would move by another amount) or leaves the binade (kept
// an ulp away from its ends). The positions p + n stride are then exact.
// 0 where that cannot be shown.
int stepsInBox(double p, double step, double low, double high, int limit, double& stride)
{
    if (!(low >= 1.0) || !(p >= low && p < high) || !std::isfinite(step))
        return 0;
    const uint64_t field = doubleBits(p) >> 52;  // p is positive and finite
    const double binadeLow = doubleOf(field << 52);
    const double binadeHigh = 2 * binadeLow;
    const double ulp = doubleOf((field - 52) << 52);  // p at least 1: a normal power of two
    stride = (p + step) - p;
    const double other = p + ulp < binadeHigh ? p + ulp : p - ulp;
    if ((other + step) - other != stride)
        return 0;
    if (stride == 0)
        return limit;
    const double top = std::min(high, binadeHigh - ulp);
    const double bottom = std::max(low, binadeLow + ulp);
    const double room = stride > 0 ? (top - p) / stride : (bottom - p) / stride;
    int n = static_cast<int>(std::clamp(std::floor(room) - 1, 0.0, static_cast<double>(limit)));
    const auto inside = [&](int steps) {
        const double q = p + steps * stride;
        return q >= bottom && q < top;
    };
    while (n < limit && inside(n + 1))
        ++n;
    while (n > 0 && !inside(n))
        --n;
    return n;
}

// Consecutive steps inside one lookup box after which the rest of the box
// is crossed in one move: slow paths stay in a box for hundreds of steps,
// while a path that crosses a box in a few is not worth the look.
constexpr int stepsBeforeSkip = 24;

// Steps by (stepX, stepY) from (px, py) while each ends inside the box, up
// to limit of them; p is left at the last position inside. The loop holds
// only the additions and the box test, the bulk of a path's steps.
int stepsStayingIn(const LookupBox& box, double stepX, double stepY, int limit, double& px, double& py)
{
    double x = px;
    double y = py;
    int steps = 0;
    while (steps < limit) {
        const double nextX = x + stepX;
        const double nextY = y + stepY;
        if (!box.holds(nextX, nextY))
            break;
        x = nextX;
        y = nextY;
        ++steps;
    }
    px = x;
    py = y;
    return steps;
}

// Steps a slow path takes through the rest of its box in one move, up to
// limit, where stepsInBox shows them exact; 0 otherwise.
int skipThroughBox(const LookupBox& box, double stepX, double stepY, int limit, double& px, double& py)
{
    double strideX = 0.0;
    double strideY = 0.0;
    const int n = std::min(stepsInBox(px, stepX, box.lowX, box.highX, limit, strideX),
                           stepsInBox(py, stepY, box.lowY, box.highY, limit, strideY));
    if (n > 0) {
        px += n * strideX;
        py += n * strideY;
    }
    return n;
}

// Steps from (px, py) inside the box of the last lookup while they stay in
// it, up to limit: every one of their dots lands on the pixel of the dot
// before. A path still inside after stepsBeforeSkip of them is slow, and
// the rest of the box is crossed in one move where that is exact.
int stepsThroughBox(const LookupBox& box, double stepX, double stepY, int limit, double& px, double& py)
{
    int steps = stepsStayingIn(box, stepX, stepY, std::min(limit, stepsBeforeSkip), px, py);
    if (steps == stepsBeforeSkip && steps < limit) {
        steps += skipThroughBox(box, stepX, stepY, limit - steps, px, py);
        steps += stepsStayingIn(box, stepX, stepY, limit - steps, px, py);
    }
    return steps;
}

// Traces one path from (sx, sy): each step
//   1. ends outside 0 <= px <= W, 0 <= py <= H (NaN counts as below 0);
//   2. for 0 < px < W - 1: ends unless 0 < py < H - 1, else looks up
//      (vx, vy) = (U, V)[trunc px][trunc py], clamped to the filled points;
//   3. px += 0.09 vx, py += 0.09 vy;
//   4. addStreamDot(trunc(px) + k, H - trunc(py)).
// Steps that start inside the box of the last lookup skip the checks and
// the lookup, whose outcome they know.
void tracePath(const TraceSpace& space, int sx, int sy, DotRun& run, std::vector<StreamRun>& runs)
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
    LookupBox box;
    int dot = 1;
    while (dot <= tracerDotLimit) {
        if (box.holds(px, py)) {
            const int steps = stepsThroughBox(box, stepX, stepY, tracerDotLimit - dot + 1, px, py);
            run.count += steps;  // the pixel of the previous dot, also in the box
            dot += steps;
            if (dot > tracerDotLimit)
                return;
            // This step leaves the box: the dot lands on another pixel.
            px += stepX;
            py += stepY;
            run.add(runs, truncCoordinate(px) + space.k, space.H - truncCoordinate(py));
            ++dot;
            continue;
        }
        if (!(px >= 0) || !(py >= 0) || py > space.height || px > space.width)
            return;
        box = LookupBox();
        if (px > 0 && px < space.width - 1) {
            if (py <= 0 || py >= space.height - 1)
                return;
            const int cellX = static_cast<int>(px);
            const int cellY = static_cast<int>(py);
            const int x = std::min(cellX, space.lastColumn);
            const int y = std::min(cellY, space.lastRow);
            if (x != lookedUpX || y != lookedUpY) {
                stepX = tracerStepFactor * space.pixelGrid.interpolate(space.grid.u, x, y);
                stepY = tracerStepFactor * space.pixelGrid.interpolate(space.grid.v, x, y);
                lookedUpX = x;
                lookedUpY = y;
            }
            box.set(cellX, cellY, space.width, space.height);
        }
        const double nextX = px + stepX;
        const double nextY = py + stepY;
        run.add(runs, truncCoordinate(nextX) + space.k, space.H - truncCoordinate(nextY));
        if (nextX == px && nextY == py) {
            run.count += tracerDotLimit - dot;  // same position, same lookup, same step
            return;
        }
        px = nextX;
        py = nextY;
        ++dot;
    }
}

// The dots of a grey picture, drawn in red, into the other two planes in
// the band's rows of 1..H-1, columns 1..W-1, the part every dot stays in.
void copyRedIntoGreenAndBlue(const FramePlanes& picture, RowBand band)
{
    for (int row = std::max(band.first, 1); row < std::min(band.end, picture.height); ++row) {
        const float* red = picture.red[row];
        std::copy(red + 1, red + picture.width, picture.green[row] + 1);
        std::copy(red + 1, red + picture.width, picture.blue[row] + 1);
    }
}

// Seeds: sx = trunc(cw), trunc(sx + 1.5 cw), ... while sx < W - 2 cw, and
// for each sx: sy = trunc(ch), trunc(sy + 1.5 ch), ... while sy < H - 2 ch.
void listSeeds(std::vector<Seed>& seeds, int W, int H, double cw, double ch, int minSpacing)
{
    seeds.clear();
    if (minSpacing > 1.5 * cw) {
        // Spaced for the screen: every m-th cell, m cells at least minSpacing.
        const int m = static_cast<int>((minSpacing + cw - 1) / cw);
        for (int sx = truncCoordinate(cw); sx < W - 2 * cw; sx += static_cast<int>(m * cw))
            for (int sy = truncCoordinate(ch); sy < H - 2 * ch; sy += static_cast<int>(m * ch))
                seeds.push_back(Seed{sx, sy});
        return;
    }
    using render_constants::seedSpacingFactor;
    for (int sx = truncCoordinate(cw); sx < W - 2 * cw; sx = truncCoordinate(sx + seedSpacingFactor * cw))
        for (int sy = truncCoordinate(ch); sy < H - 2 * ch; sy = truncCoordinate(sy + seedSpacingFactor * ch))
            seeds.push_back(Seed{sx, sy});
}

// Traces the seeds of every part into its own list of runs.
void traceParts(const TraceSpace& space, const std::vector<Seed>& seeds, std::vector<PartRuns>& partRuns,
                const ParallelParts& parallel, int parts, const StopRequest* stop)
{
    if (static_cast<int>(partRuns.size()) < parts)
        partRuns.resize(parts);
    const size_t total = seeds.size();
    parallel.run(parts, [&](int part) {
        std::vector<StreamRun>& runs = partRuns[part].runs;
        runs.clear();
        DotRun run;
        for (size_t s = total * part / parts; s < total * (part + 1) / parts && !stopRequested(stop); ++s) {
            tracePath(space, seeds[s].x, seeds[s].y, run, runs);
            run.flush(runs);
        }
    });
}

// Bands of rows, one per thread, holding about as many dots each.
std::vector<RowBand> balancedBands(const std::vector<PartRuns>& partRuns, std::vector<long>& rowDots, int parts,
                                   int H, int bandCount)
{
    rowDots.assign(H, 0);
    long total = 0;
    for (int part = 0; part < parts; ++part)
        for (const StreamRun& run : partRuns[part].runs)
            if (run.row >= 0 && run.row < H) {
                rowDots[run.row] += run.count;
                total += run.count;
            }
    std::vector<RowBand> bands;
    int first = 0;
    long counted = 0;
    for (int row = 0; row < H && static_cast<int>(bands.size()) + 1 < bandCount; ++row) {
        counted += rowDots[row];
        if (counted * bandCount >= total * static_cast<long>(bands.size() + 1)) {
            bands.push_back(RowBand{first, row + 1});
            first = row + 1;
        }
    }
    bands.push_back(RowBand{first, H});
    return bands;
}

}  // namespace

// The paths are traced in parts, then drawn by bands of rows: each band
// takes every run in drawing order and draws the pixels in its rows, so
// every pixel sees its dots in the order of a single tracer after another.
void StreamlinePass::draw(FrameImage& image, int32_t NX, int32_t NY, const SimGrid& grid, int k, bool greyPicture,
                          int minSeedSpacing)
{
    if (!fieldFits(NX, NY, grid.u, k) || !fieldFits(NX, NY, grid.v, k))
        return;
    const int W = k * NX;
    const int H = k * NY;
    const double cw = static_cast<double>(W) / NX;
    const double ch = static_cast<double>(H) / NY;
    if (!(cw < W - 2 * cw && ch < H - 2 * ch))
        return;  // no seed fits: NX or NY is 3 or less
    pixelGrid.compute(NX, NY, k);
    const FramePlanes picture = image.planes();
    const ParallelParts& parallel = image.parallel();
    FramePlanes drawn = picture;
    if (greyPicture)
        drawn.green = drawn.blue = nullptr;
    const TraceSpace space{grid, pixelGrid, k, H, static_cast<double>(W), static_cast<double>(H),
                           pixelGrid.columns - 1, pixelGrid.rows - 1};

    listSeeds(seeds, W, H, cw, ch, minSeedSpacing);
    const int threads = parallel.threads();
    const int parts = threads > 1 ? threads * partsPerThread : 1;
    traceParts(space, seeds, partRuns, parallel, parts, stopRequest);
    if (stopRequested(stopRequest))
        return;
    // Two bands a thread, plotted side by side.
    const std::vector<RowBand> bands = balancedBands(partRuns, rowDots, parts, picture.height, 2 * threads);
    spans.clear();
    for (int part = 0; part < parts; ++part)
        spans.push_back(StreamRunSpan{partRuns[part].runs.data(), partRuns[part].runs.size()});
    const int bandCount = static_cast<int>(bands.size());
    parallel.run((bandCount + 1) / 2, [&](int pair) {
        const int first = 2 * pair;
        if (first + 1 < bandCount)
            plotStreamRunsInTwoBands(drawn, spans.data(), spans.size(), bands[first], bands[first + 1]);
        else
            for (const StreamRunSpan& span : spans)
                plotStreamRuns(drawn, span.runs, span.count, bands[first]);
        if (greyPicture)
            for (int b = first; b < std::min(first + 2, bandCount); ++b)
                copyRedIntoGreenAndBlue(picture, bands[b]);
    });
}
