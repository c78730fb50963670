#include "render/field_resample.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

void FieldRows::start(const PixelGrid& grid, int32_t NX, const Array2D<double>& a, int firstRow, int endRow)
{
    points = &grid;
    array = &a;
    lineLength = NX;
    keptLinesEnd = endRow > firstRow ? grid.alongY.index[endRow - 1] + 2 : 0;
    values.resize(grid.columns);
    firstLine = -1;
    lineCount = 0;
}

// The array holds a column of j after another, so a line of i touches one
// cache line in every column, and the columns lie a power of two apart: the
// lines are copied in tiles of a few columns by some lines, each cache line
// of a column read once and the tile's lines kept in the cache meanwhile.
void FieldRows::gatherLinesFrom(int iy)
{
    constexpr int32_t columnsPerTile = 8;
    constexpr int linesPerTile = 64;
    firstLine = iy;
    lineCount = std::min(std::max(keptLinesEnd, iy + 2), array->colCount()) - iy;
    if (lines.size() < static_cast<size_t>(lineCount) * lineLength)
        lines.resize(static_cast<size_t>(lineCount) * lineLength);
    for (int n0 = 0; n0 < lineCount; n0 += linesPerTile) {
        const int n1 = std::min(n0 + linesPerTile, lineCount);
        for (int32_t i0 = 0; i0 < lineLength; i0 += columnsPerTile) {
            const int32_t i1 = std::min(i0 + columnsPerTile, lineLength);
            for (int n = n0; n < n1; ++n) {
                double* line = lines.data() + static_cast<size_t>(n) * lineLength;
                for (int32_t i = i0; i < i1; ++i)
                    line[i] = (*array)[i][iy + n];
            }
        }
    }
}

namespace {

// value = (1 - fy) ((1 - fx) south[ix] + fx south[ix + 1])
//       +      fy  ((1 - fx) north[ix] + fx north[ix + 1])
// for points x0 <= x < x1.
void interpolateRow(const double* south, const double* north, const int* index, const double* fraction,
                    double fy, int x0, int x1, double* out)
{
    for (int x = x0; x < x1; ++x) {
        const int ix = index[x];
        const double fx = fraction[x];
        out[x] = (1 - fy) * ((1 - fx) * south[ix] + fx * south[ix + 1]) +
                 fy * ((1 - fx) * north[ix] + fx * north[ix + 1]);
    }
}

#if defined(__SSE2__)

// The same, two points at a time: every packed operation rounds as its
// scalar one does. Returns the first point left for the scalar loop.
int interpolatePairs(const double* south, const double* north, const int* index, const double* fraction,
                     double fy, int count, double* out)
{
    const __m128d one = _mm_set1_pd(1.0);
    const __m128d northWeight = _mm_set1_pd(fy);
    const __m128d southWeight = _mm_set1_pd(1 - fy);
    int x = 0;
    for (; x + 2 <= count; x += 2) {
        const int first = index[x];
        const int second = index[x + 1];
        const __m128d fx = _mm_loadu_pd(fraction + x);
        const __m128d westShare = _mm_sub_pd(one, fx);
        const __m128d southWest = _mm_loadh_pd(_mm_load_sd(south + first), south + second);
        const __m128d southEast = _mm_loadh_pd(_mm_load_sd(south + first + 1), south + second + 1);
        const __m128d northWest = _mm_loadh_pd(_mm_load_sd(north + first), north + second);
        const __m128d northEast = _mm_loadh_pd(_mm_load_sd(north + first + 1), north + second + 1);
        const __m128d southValue = _mm_add_pd(_mm_mul_pd(westShare, southWest), _mm_mul_pd(fx, southEast));
        const __m128d northValue = _mm_add_pd(_mm_mul_pd(westShare, northWest), _mm_mul_pd(fx, northEast));
        _mm_storeu_pd(out + x, _mm_add_pd(_mm_mul_pd(southWeight, southValue), _mm_mul_pd(northWeight, northValue)));
    }
    return x;
}

#else

int interpolatePairs(const double*, const double*, const int*, const double*, double, int, double*)
{
    return 0;
}

#endif

}  // namespace

// PixelGrid::interpolate at every point of the row; the two grid lines the
// pixel row lies between are first laid out in i, with the next few, as
// rows are mostly read in order.
const double* FieldRows::row(int y)
{
    const int iy = points->alongY.index[y];
    const double fy = points->alongY.fraction[y];
    if (iy < firstLine || iy + 1 >= firstLine + lineCount)
        gatherLinesFrom(iy);
    const double* south = lines.data() + static_cast<size_t>(iy - firstLine) * lineLength;
    const double* north = south + lineLength;
    const int* index = points->alongX.index.data();
    const double* fraction = points->alongX.fraction.data();
    const int done = interpolatePairs(south, north, index, fraction, fy, points->columns, values.data());
    interpolateRow(south, north, index, fraction, fy, done, points->columns, values.data());
    return values.data();
}
