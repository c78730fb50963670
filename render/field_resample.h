// FieldResample: a grid array bilinearly resampled at picture resolution,
// the common first step of the scalar fields and the streamlines.
#pragma once

#include "array2d.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The resampled points of one array. Point (x, y) stands for the fractional
// grid position (x / cw, y / ch); only the points with x < W - cw and
// y < H - ch exist (columns x = 0..columns-1, rows y = 0..rows-1).
struct ResampledField {
    std::vector<double> values;  // values[y * columns + x], row by row
    int columns = 0;
    int rows = 0;

    double at(int x, int y) const { return values[static_cast<size_t>(y) * columns + x]; }
    const double* row(int y) const { return values.data() + static_cast<size_t>(y) * columns; }
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

// Writes the resampled array a to out[(y * columns + x) * stride], for
// callers that interleave several fields; returns columns and rows.
void resampleInto(int32_t NX, int32_t NY, const Array2D<double>& a, int k,
                  double* out, size_t stride, int& columns, int& rows);

// Resampled points along one axis of `cells` cells at k pixels per cell:
// the p = 0, 1, ... with p < k * cells - cellSize (the last cell has none).
int resampledPoints(int32_t cells, int k);

// Fills out with the resampled array a (first index i, second j); out keeps
// its storage between calls. The caller has checked fieldFits.
void resampleField(int32_t NX, int32_t NY, const Array2D<double>& a, int k, ResampledField& out);
