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

namespace {

// Kept between calls, like the resampled fields themselves.
PixelGrid pixelGrid;
std::vector<double> southLine;  // a[i][iy] for every i
std::vector<double> northLine;  // a[i][iy + 1] for every i

}  // namespace

// The interpolation of PixelGrid::interpolate at every point, row by row;
// the two grid rows a pixel row lies between are first laid out in i.
void resampleField(int32_t NX, int32_t NY, const Array2D<double>& a, int k, ResampledField& out)
{
    pixelGrid.compute(NX, NY, k);
    out.columns = pixelGrid.columns;
    out.rows = pixelGrid.rows;
    out.values.resize(static_cast<size_t>(out.columns) * out.rows);
    southLine.resize(NX);
    northLine.resize(NX);

    double* value = out.values.data();
    int gatheredRow = -1;
    for (int y = 0; y < out.rows; ++y) {
        const int iy = pixelGrid.alongY.index[y];
        const double fy = pixelGrid.alongY.fraction[y];
        if (iy != gatheredRow) {
            for (int32_t i = 0; i < NX; ++i) {
                southLine[i] = a[i][iy];
                northLine[i] = a[i][iy + 1];
            }
            gatheredRow = iy;
        }
        for (int x = 0; x < out.columns; ++x) {
            const int ix = pixelGrid.alongX.index[x];
            const double fx = pixelGrid.alongX.fraction[x];
            *value++ = (1 - fy) * ((1 - fx) * southLine[ix] + fx * southLine[ix + 1]) +
                       fy * ((1 - fx) * northLine[ix] + fx * northLine[ix + 1]);
        }
    }
}
