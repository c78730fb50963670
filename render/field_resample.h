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
    std::vector<double> values;  // values[x * rows + y]
    int columns = 0;
    int rows = 0;

    double at(int x, int y) const { return values[static_cast<size_t>(x) * rows + y]; }
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

// Fills out with the resampled array a (first index i, second j); out keeps
// its storage between calls. The caller has checked fieldFits.
void resampleField(int32_t NX, int32_t NY, const Array2D<double>& a, int k, ResampledField& out);
