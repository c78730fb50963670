#include "field_resample.h"

#include <cstddef>

// Number of whole pixel-grid points p = 0, 1, ... with p < limit.
int pointsBelow(double limit)
{
    int count = 0;
    while (count < limit)
        ++count;
    return count;
}

// Points p < k * cells - k * cells / cells, with the division in double.
int resampledPoints(int32_t cells, int k)
{
    const int size = k * cells;
    return pointsBelow(size - static_cast<double>(size) / cells);
}

namespace {

// Where a pixel-grid coordinate falls between two grid lines:
// t = p / cellSize, index = trunc(t), fraction = t - index.
struct Weights {
    std::vector<int> index;
    std::vector<double> fraction;

    void compute(int count, double cellSize)
    {
        index.resize(count);
        fraction.resize(count);
        for (int p = 0; p < count; ++p) {
            const double t = p / cellSize;
            index[p] = static_cast<int>(t);
            fraction[p] = t - index[p];
        }
    }
};

// Kept between calls, like the resampled fields themselves.
Weights alongX;
Weights alongY;
std::vector<double> southLine;  // a[i][iy] for every i
std::vector<double> northLine;  // a[i][iy + 1] for every i

}  // namespace

// With cw = W / NX, ch = H / NY, for each point x < W - cw, y < H - ch:
//   tx = x / cw, ix = trunc(tx), fx = tx - ix   (likewise ty, iy, fy)
//   value = (1 - fy) ((1 - fx) a[ix][iy]   + fx a[ix+1][iy])
//         +      fy  ((1 - fx) a[ix][iy+1] + fx a[ix+1][iy+1])
void resampleInto(int32_t NX, int32_t NY, const Array2D<double>& a, int k,
                  double* out, size_t stride, int& columns, int& rows)
{
    const double cw = static_cast<double>(k * NX) / NX;
    const double ch = static_cast<double>(k * NY) / NY;
    columns = resampledPoints(NX, k);
    rows = resampledPoints(NY, k);
    alongX.compute(columns, cw);
    alongY.compute(rows, ch);
    southLine.resize(NX);
    northLine.resize(NX);

    double* value = out;
    int gatheredRow = -1;
    for (int y = 0; y < rows; ++y) {
        const int iy = alongY.index[y];
        const double fy = alongY.fraction[y];
        if (iy != gatheredRow) {
            // The two grid rows this pixel row lies between, laid out in i.
            for (int32_t i = 0; i < NX; ++i) {
                southLine[i] = a[i][iy];
                northLine[i] = a[i][iy + 1];
            }
            gatheredRow = iy;
        }
        for (int x = 0; x < columns; ++x) {
            const int ix = alongX.index[x];
            const double fx = alongX.fraction[x];
            *value = (1 - fy) * ((1 - fx) * southLine[ix] + fx * southLine[ix + 1]) +
                     fy * ((1 - fx) * northLine[ix] + fx * northLine[ix + 1]);
            value += stride;
        }
    }
}

// The resampled array in a buffer of its own.
void resampleField(int32_t NX, int32_t NY, const Array2D<double>& a, int k, ResampledField& out)
{
    out.columns = resampledPoints(NX, k);
    out.rows = resampledPoints(NY, k);
    out.values.resize(static_cast<size_t>(out.columns) * out.rows);
    resampleInto(NX, NY, a, k, out.values.data(), 1, out.columns, out.rows);
}
