#include "render/frame_image.h"

#include "render/frame_plot.h"
#include "render/pixel_trunc.h"
#include "render/render_constants.h"

#include <algorithm>
#include <vector>

int32_t ppmFrameCounter = 0;

namespace {

int32_t imageWidth = 0;          // W, pixel columns
int32_t imageHeight = 0;         // H, pixel rows
float** redPlane = nullptr;      // H row pointers, each to W floats
float** greenPlane = nullptr;
float** bluePlane = nullptr;
// See FramePlanes::capped.
bool planesCapped = true;

// A table of height separately allocated rows of width zeroed floats.
float** allocatePlane(int32_t width, int32_t height)
{
    float** table = new float*[height];
    for (int32_t row = 0; row < height; ++row)
        table[row] = new float[width]();
    return table;
}

// Frees every row of a plane and then its table.
void releasePlane(float**& table, int32_t height)
{
    if (!table)
        return;
    for (int32_t row = 0; row < height; ++row)
        delete[] table[row];
    delete[] table;
    table = nullptr;
}

// Keeps planesCapped after a rectangle was set: a value above 255 breaks it;
// values within range over all that plots reach restore it.
void noteRectangleSet(int x0, int y0, int x1, int y1, float highest)
{
    if (highest > render_constants::channelMax)
        planesCapped = false;
    else if (x0 <= 1 && y0 <= 1 && x1 >= imageWidth - 1 && y1 >= imageHeight - 1)
        planesCapped = true;
}

// True when (column, row) lies in the picture.
bool inside(int column, int row)
{
    return column >= 0 && row >= 0 && column < imageWidth && row < imageHeight;
}

}  // namespace

// Sets the size, resets the PPM counter and allocates three zeroed planes.
void allocateFrameImage(int width, int height)
{
    releaseFrameImage();  // a second allocation must not leak the first
    imageWidth = std::max(width, 0);
    ppmFrameCounter = 0;
    imageHeight = std::max(height, 0);
    planesCapped = true;
    redPlane = allocatePlane(imageWidth, imageHeight);
    greenPlane = allocatePlane(imageWidth, imageHeight);
    bluePlane = allocatePlane(imageWidth, imageHeight);
}

// Frees the three planes; the size drops to 0 so no reader touches them.
void releaseFrameImage()
{
    releasePlane(redPlane, imageHeight);
    releasePlane(greenPlane, imageHeight);
    releasePlane(bluePlane, imageHeight);
    imageWidth = 0;
    imageHeight = 0;
}

// W.
int frameWidth() { return imageWidth; }
// H.
int frameHeight() { return imageHeight; }

// Red at (column, row), truncated; 0 outside the picture.
int pixelRed(int column, int row)
{
    return inside(column, row) ? truncPixel(redPlane[row][column]) : 0;
}
// Green at (column, row), truncated; 0 outside the picture.
int pixelGreen(int column, int row)
{
    return inside(column, row) ? truncPixel(greenPlane[row][column]) : 0;
}
// Blue at (column, row), truncated; 0 outside the picture.
int pixelBlue(int column, int row)
{
    return inside(column, row) ? truncPixel(bluePlane[row][column]) : 0;
}

// Red at (row, column).
int redAt(int row, int column) { return pixelRed(column, row); }
// Green at (row, column).
int greenAt(int row, int column) { return pixelGreen(column, row); }
// Blue at (row, column).
int blueAt(int row, int column) { return pixelBlue(column, row); }

// Row of the red plane, or null outside the picture.
const float* redRow(int row) { return row >= 0 && row < imageHeight ? redPlane[row] : nullptr; }
// Row of the green plane, or null outside the picture.
const float* greenRow(int row) { return row >= 0 && row < imageHeight ? greenPlane[row] : nullptr; }
// Row of the blue plane, or null outside the picture.
const float* blueRow(int row) { return row >= 0 && row < imageHeight ? bluePlane[row] : nullptr; }

// The three row tables, for the elements that plot many dots.
FramePlanes framePlanes()
{
    return FramePlanes{redPlane, greenPlane, bluePlane, imageWidth, imageHeight, planesCapped};
}

// Sets rows y0..y1, columns x0..x1 of all planes to value. Callers keep the
// rectangle inside the picture; any part outside is skipped, not written.
void clearFrameRect(int x0, int y0, int x1, int y1, int value)
{
    const float stored = static_cast<float>(value);
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, imageWidth - 1);
    y1 = std::min(y1, imageHeight - 1);
    if (x0 > x1 || y0 > y1)
        return;
    noteRectangleSet(x0, y0, x1, y1, stored);
    for (int row = y0; row <= y1; ++row) {
        std::fill(redPlane[row] + x0, redPlane[row] + x1 + 1, stored);
        std::fill(greenPlane[row] + x0, greenPlane[row] + x1 + 1, stored);
        std::fill(bluePlane[row] + x0, bluePlane[row] + x1 + 1, stored);
    }
}

// Clamps both corners into the picture, then sets the inclusive rectangle.
void fillFrameRect(int x0, int y0, int x1, int y1, int r, int g, int b)
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
        std::fill(redPlane[row] + x0, redPlane[row] + x1 + 1, static_cast<float>(r));
        std::fill(greenPlane[row] + x0, greenPlane[row] + x1 + 1, static_cast<float>(g));
        std::fill(bluePlane[row] + x0, bluePlane[row] + x1 + 1, static_cast<float>(b));
    }
}

// plane[row][column] += 0.78 * clamp(c, 0, 255), summed in double and stored
// as float; then the pixel and its neighbours saturate at 255.
void addPixel(int column, int row, int r, int g, int b)
{
    frame_plot::plotPixel(framePlanes(), column, row, r, g, b);
}

// All planes: += 1.78 at (column, row), += 0.178 at each neighbour, then
// the five pixels saturate at 255.
void addStreamDot(int column, int row)
{
    frame_plot::plotStreamDot(framePlanes(), column, row);
}

namespace {

// The values t takes along every line, summed once as the loop sums them.
const std::vector<double>& lineParameters()
{
    static const std::vector<double> parameters = [] {
        std::vector<double> values;
        for (double t = 0.0; t < 1.0; t += render_constants::lineParameterStep)
            values.push_back(t);
        return values;
    }();
    return parameters;
}

}  // namespace

// For t = 0, 0.01, ... while t < 1:
//   addPixel(trunc((1 - t) x0 + t x1), trunc((1 - t) y0 + t y1))
// Consecutive dots on the same pixel are plotted together: nothing else
// draws in between.
void drawFrameLine(int x0, int y0, int x1, int y1, int r, int g, int b)
{
    const FramePlanes planes = framePlanes();
    int runColumn = 0;
    int runRow = 0;
    int runCount = 0;
    for (double t : lineParameters()) {
        const int column = truncCoordinate((1.0 - t) * x0 + t * x1);
        const int row = truncCoordinate((1.0 - t) * y0 + t * y1);
        if (runCount > 0 && column == runColumn && row == runRow) {
            ++runCount;
            continue;
        }
        frame_plot::plotPixelRepeatedly(planes, runColumn, runRow, r, g, b, runCount);
        runColumn = column;
        runRow = row;
        runCount = 1;
    }
    frame_plot::plotPixelRepeatedly(planes, runColumn, runRow, r, g, b, runCount);
}
