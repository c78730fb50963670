#include "render/frame_image.h"

#include "render/frame_plot.h"
#include "render/pixel_trunc.h"
#include "render/render_constants.h"

#include <algorithm>

// height separately allocated rows of width zeroed floats, and their table.
void FrameImage::allocatePlane(Plane& plane, int width, int height)
{
    plane.rows.clear();
    plane.table.clear();
    plane.rows.reserve(height);
    plane.table.reserve(height);
    for (int row = 0; row < height; ++row) {
        plane.rows.emplace_back(new float[width]());
        plane.table.push_back(plane.rows.back().get());
    }
}

void FrameImage::allocate(int width, int height)
{
    release();  // the old rows go before the new ones are taken
    imageWidth = std::max(width, 0);
    imageHeight = std::max(height, 0);
    capped = true;
    allocatePlane(red, imageWidth, imageHeight);
    allocatePlane(green, imageWidth, imageHeight);
    allocatePlane(blue, imageWidth, imageHeight);
}

void FrameImage::release()
{
    for (Plane* plane : {&red, &green, &blue}) {
        plane->rows.clear();
        plane->table.clear();
    }
    imageWidth = 0;
    imageHeight = 0;
}

int FrameImage::pixelRed(int column, int row) const
{
    return inside(column, row) ? truncPixel(red.table[row][column]) : 0;
}

int FrameImage::pixelGreen(int column, int row) const
{
    return inside(column, row) ? truncPixel(green.table[row][column]) : 0;
}

int FrameImage::pixelBlue(int column, int row) const
{
    return inside(column, row) ? truncPixel(blue.table[row][column]) : 0;
}

FramePlanes FrameImage::planes()
{
    return FramePlanes{red.table.data(), green.table.data(), blue.table.data(), imageWidth, imageHeight, capped};
}

RgbPlanes FrameImage::rgbPlanes() const
{
    return RgbPlanes{red.table.data(), green.table.data(), blue.table.data(), imageWidth, imageHeight};
}

// A value above 255 breaks the cap; values within range over all that
// plots reach restore it.
void FrameImage::noteRectangleSet(int x0, int y0, int x1, int y1, float highest)
{
    if (highest > render_constants::channelMax)
        capped = false;
    else if (x0 <= 1 && y0 <= 1 && x1 >= imageWidth - 1 && y1 >= imageHeight - 1)
        capped = true;
}

// Callers keep the rectangle inside the picture; any part outside is
// skipped, not written.
void FrameImage::clearRect(int x0, int y0, int x1, int y1, int value)
{
    const float stored = static_cast<float>(value);
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, imageWidth - 1);
    y1 = std::min(y1, imageHeight - 1);
    if (x0 > x1 || y0 > y1)
        return;
    noteRectangleSet(x0, y0, x1, y1, stored);
    // Rows of a large picture go to the threads: each value is set alone.
    const int rows = y1 - y0 + 1;
    const int rowsWorthAThread = 128;
    const int bands = std::clamp(rows / rowsWorthAThread, 1, parts.threads());
    parts.run(bands, [&](int band) {
        for (int row = y0 + rows * band / bands; row < y0 + rows * (band + 1) / bands; ++row)
            for (Plane* plane : {&red, &green, &blue})
                std::fill(plane->table[row] + x0, plane->table[row] + x1 + 1, stored);
    });
}

// Clamps both corners into the picture, then sets the inclusive rectangle.
void FrameImage::fillRect(int x0, int y0, int x1, int y1, int r, int g, int b)
{
    if (imageWidth <= 0 || imageHeight <= 0)
        return;
    x0 = std::clamp(x0, 0, imageWidth - 1);
    x1 = std::clamp(x1, 0, imageWidth - 1);
    y0 = std::clamp(y0, 0, imageHeight - 1);
    y1 = std::clamp(y1, 0, imageHeight - 1);
    if (x0 > x1 || y0 > y1)
        return;  // an empty rectangle
    noteRectangleSet(x0, y0, x1, y1, static_cast<float>(std::max({r, g, b})));
    for (int row = y0; row <= y1; ++row) {
        std::fill(red.table[row] + x0, red.table[row] + x1 + 1, static_cast<float>(r));
        std::fill(green.table[row] + x0, green.table[row] + x1 + 1, static_cast<float>(g));
        std::fill(blue.table[row] + x0, blue.table[row] + x1 + 1, static_cast<float>(b));
    }
}

// plane[row][column] += 0.78 * clamp(c, 0, 255), summed in double and stored
// as float; then the pixel and its neighbours saturate at 255.
void FrameImage::addPixel(int column, int row, int r, int g, int b)
{
    frame_plot::plotPixel(planes(), column, row, r, g, b);
}

// All planes: += 1.78 at (column, row), += 0.178 at each neighbour, then
// the five pixels saturate at 255.
void FrameImage::addStreamDot(int column, int row)
{
    frame_plot::plotStreamDot(planes(), column, row);
}

// For t = 0, 0.01, ... while t < 1 (t summed step by step):
//   addPixel(trunc((1 - t) x0 + t x1), trunc((1 - t) y0 + t y1))
// Consecutive dots on the same pixel are plotted together: nothing else
// draws in between.
void FrameImage::drawLine(int x0, int y0, int x1, int y1, int r, int g, int b, int firstRow, int endRow)
{
    const FramePlanes rows = planes();
    const auto plot = [&](int column, int row, int count) {
        if (row >= firstRow && row < endRow)
            frame_plot::plotPixelRepeatedly(rows, column, row, r, g, b, count);
    };
    int runColumn = 0;
    int runRow = 0;
    int runCount = 0;
    for (double t = 0.0; t < 1.0; t += render_constants::lineParameterStep) {
        const int column = truncCoordinate((1.0 - t) * x0 + t * x1);
        const int row = truncCoordinate((1.0 - t) * y0 + t * y1);
        if (runCount > 0 && column == runColumn && row == runRow) {
            ++runCount;
            continue;
        }
        plot(runColumn, runRow, runCount);
        runColumn = column;
        runRow = row;
        runCount = 1;
    }
    plot(runColumn, runRow, runCount);
}
