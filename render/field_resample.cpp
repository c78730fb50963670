#include "field_resample.h"

// Number of whole pixel-grid points p = 0, 1, ... with p < limit.
int pointsBelow(double limit)
{
    int count = 0;
    while (count < limit)
        ++count;
    return count;
}

// t = p / cellSize, index = trunc(t), fraction = t - index for each point.
void AxisWeights::compute(int count, double cellSize)
{
    index.resize(count);
    fraction.resize(count);
    for (int p = 0; p < count; ++p) {
        const double t = p / cellSize;
        index[p] = static_cast<int>(t);
        fraction[p] = t - index[p];
    }
}

// Points x < W - cw and y < H - ch, with cw = W / NX and ch = H / NY.
void PixelGrid::compute(int32_t NX, int32_t NY, int k)
{
    const int W = k * NX;
    const int H = k * NY;
    const double cw = static_cast<double>(W) / NX;
    const double ch = static_cast<double>(H) / NY;
    columns = pointsBelow(W - cw);
    rows = pointsBelow(H - ch);
    alongX.compute(columns, cw);
    alongY.compute(rows, ch);
}

void FieldRows::start(int32_t NX, int32_t NY, const Array2D<double>& a, int k)
{
    points.compute(NX, NY, k);
    array = &a;
    southLine.resize(NX);
    northLine.resize(NX);
    values.resize(points.columns);
    gatheredRow = -1;
}

// PixelGrid::interpolate at every point of the row; the two grid rows the
// pixel row lies between are first laid out in i.
const double* FieldRows::row(int y)
{
    const int iy = points.alongY.index[y];
    const double fy = points.alongY.fraction[y];
    if (iy != gatheredRow) {
        const int32_t NX = static_cast<int32_t>(southLine.size());
        for (int32_t i = 0; i < NX; ++i) {
            southLine[i] = (*array)[i][iy];
            northLine[i] = (*array)[i][iy + 1];
        }
        gatheredRow = iy;
    }
    const int* index = points.alongX.index.data();
    const double* fraction = points.alongX.fraction.data();
    for (int x = 0; x < points.columns; ++x) {
        const int ix = index[x];
        const double fx = fraction[x];
        values[x] = (1 - fy) * ((1 - fx) * southLine[ix] + fx * southLine[ix + 1]) +
                    fy * ((1 - fx) * northLine[ix] + fx * northLine[ix + 1]);
    }
    return values.data();
}
