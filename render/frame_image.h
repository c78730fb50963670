// FrameImage: an RGB picture of 32-bit float pixels, composed in software
// and then shown, or saved as PPM or AVI frames. Its owner (a simulation
// window, a batch run) hands it to every element that draws into it.
//
// width = pixelsPerCell * NX columns, height = pixelsPerCell * NY rows.
// Column 0 is the west (left) edge, row 0 the north (top) edge. Each plane
// is a table of rows, each row a separate block of floats:
// plane[row][column].
#pragma once

#include "core/parallel_parts.h"
#include "io/rgb_planes.h"

#include <climits>
#include <memory>
#include <vector>

// The three row tables and the size, for the elements that plot many dots
// and must reach the rows directly. Valid until the next allocation.
struct FramePlanes {
    float** red;
    float** green;
    float** blue;
    int width;
    int height;
    // True while every value a plot can reach (rows and columns 1 .. size-1)
    // is at most 255: plots add only non-negative amounts and saturate what
    // they add to, so then a plot's saturation of the pixels around the one
    // it adds to changes nothing. Only a rectangle set above 255 breaks it.
    bool capped;
};

class FrameImage {
public:
    // An empty picture (0 x 0) until allocate.
    FrameImage() = default;
    // Allocates width x height, all zero.
    FrameImage(int width, int height) { allocate(width, height); }
    FrameImage(const FrameImage&) = delete;
    FrameImage& operator=(const FrameImage&) = delete;

    // Replaces the picture by an all-zero one of width x height.
    void allocate(int width, int height);
    // Frees the planes; the size drops to 0.
    void release();

    int width() const { return imageWidth; }
    int height() const { return imageHeight; }

    // Plane value at (column, row), truncated toward zero; 0 outside.
    int pixelRed(int column, int row) const;
    int pixelGreen(int column, int row) const;
    int pixelBlue(int column, int row) const;

    // Whole rows of a plane, or null outside the picture.
    const float* redRow(int row) const { return rowOf(red, row); }
    const float* greenRow(int row) const { return rowOf(green, row); }
    const float* blueRow(int row) const { return rowOf(blue, row); }

    // Sets all three planes to value in rows y0..y1 and columns x0..x1
    // (inclusive); the part outside the picture is skipped.
    void clearRect(int x0, int y0, int x1, int y1, int value);
    // Clamps the rectangle into the picture, then sets every pixel to (r, g, b).
    void fillRect(int x0, int y0, int x1, int y1, int r, int g, int b);
    // Additive plot of 0.78 * (r, g, b), saturating at 255; a two-pixel
    // margin is never plotted.
    void addPixel(int column, int row, int r, int g, int b);
    // Additive soft white dot with its four neighbours.
    void addStreamDot(int column, int row);
    // 100 addPixel dots from (x0, y0) toward (x1, y1), the end point excluded;
    // only those on rows firstRow <= row < endRow, when given (a capped
    // picture's dot changes its own pixel alone).
    void drawLine(int x0, int y0, int x1, int y1, int r, int g, int b, int firstRow = INT_MIN,
                  int endRow = INT_MAX);

    // The row tables for the elements that plot many dots.
    FramePlanes planes();
    // The read-only view the writers take.
    RgbPlanes rgbPlanes() const;

    // The threads the picture's large passes use.
    const ParallelParts& parallel() const { return parts; }
    void setThreads(int threads) { parts.setThreads(threads); }

private:
    // One plane: the row table and the rows it points to.
    struct Plane {
        std::vector<std::unique_ptr<float[]>> rows;
        std::vector<float*> table;
    };
    static void allocatePlane(Plane& plane, int width, int height);
    const float* rowOf(const Plane& plane, int row) const
    {
        return row >= 0 && row < imageHeight ? plane.table[row] : nullptr;
    }
    bool inside(int column, int row) const
    {
        return column >= 0 && row >= 0 && column < imageWidth && row < imageHeight;
    }
    void noteRectangleSet(int x0, int y0, int x1, int y1, float highest);

    int imageWidth = 0;
    int imageHeight = 0;
    Plane red, green, blue;
    bool capped = true;  // see FramePlanes::capped
    ParallelParts parts;
};
