// FieldResample: a grid array bilinearly resampled at picture resolution,
// the common first step of the scalar fields and the streamlines.
//
// With cw = W / NX and ch = H / NY, pixel-grid point (x, y) stands for the
// fractional grid position (x / cw, y / ch). Only the points with
// x < W - cw and y < H - ch have a value (the last cell has none).
#pragma once

#include "core/array2d.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Where a pixel-grid coordinate falls between two grid lines:
// t = p / cellSize, index = trunc(t), fraction = t - index.
struct AxisWeights {
    std::vector<int> index;
    std::vector<double> fraction;

    void compute(int count, double cellSize);
};

// The weights of both axes for an NX x NY grid at k pixels per cell.
struct PixelGrid {
    AxisWeights alongX;
    AxisWeights alongY;
    int columns = 0;  // points with a value along x
    int rows = 0;     // and along y

    void compute(int32_t NX, int32_t NY, int k);

    // value = (1 - fy) ((1 - fx) a[ix][iy]   + fx a[ix+1][iy])
    //       +      fy  ((1 - fx) a[ix][iy+1] + fx a[ix+1][iy+1])
    double interpolate(const Array2D<double>& a, int x, int y) const
    {
        const int ix = alongX.index[x];
        const double fx = alongX.fraction[x];
        const int iy = alongY.index[y];
        const double fy = alongY.fraction[y];
        const double* west = a[ix];
        const double* east = a[ix + 1];
        return (1 - fy) * ((1 - fx) * west[iy] + fx * east[iy]) +
               fy * ((1 - fx) * west[iy + 1] + fx * east[iy + 1]);
    }
};

// The resampled points of one array, a pixel-grid row at a time, so that a
// whole picture of doubles is never held. Readers of one array may work on
// several threads at once, each on its own cache lines.
class alignas(64) FieldRows {
public:
    // Reads a at the given points, which outlive the reader's use; the
    // caller has checked fieldFits. The rows firstRow <= y < endRow are
    // those read most: the grid lines they lie between are gathered at the
    // first of them and kept for every later reading.
    void start(const PixelGrid& grid, int32_t NX, const Array2D<double>& a, int firstRow, int endRow);

    int columns() const { return points->columns; }
    int rows() const { return points->rows; }

    // The points of pixel-grid row y, columns() of them; valid until the
    // next call.
    const double* row(int y);

private:
    // Lines iy up to the last the kept rows need (at least iy + 1) of the
    // array laid out in i, line after line.
    void gatherLinesFrom(int iy);

    const PixelGrid* points = nullptr;
    const Array2D<double>* array = nullptr;
    int32_t lineLength = 0;        // NX
    int keptLinesEnd = 0;          // one past the last line the kept rows need
    std::vector<double> lines;     // a[i][firstLine + n] at n * lineLength + i
    int firstLine = -1;
    int lineCount = 0;
    std::vector<double> values;    // the latest row
};

// True when an NX x NY array at k pixels per cell can be drawn: k, NX and NY
// positive, the picture size within int, and the array at least NX x NY.
template <typename T>
bool fieldFits(int32_t NX, int32_t NY, const Array2D<T>& a, int k)
{
    constexpr int64_t largestSide = INT32_MAX / 4;
    if (k < 1 || NX < 1 || NY < 1)
        return false;
    if (int64_t(k) * NX > largestSide || int64_t(k) * NY > largestSide)
        return false;
    return a.rowCount() >= NX && a.colCount() >= NY;
}

// Number of whole pixel-grid points p = 0, 1, ... with p < limit.
int pointsBelow(double limit);
