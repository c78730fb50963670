#include "render/field_resample.h"

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

void FieldRows::start(const PixelGrid& grid, int32_t NX, const Array2D<double>& a)
{
    points = &grid;
    array = &a;
    southLine.resize(NX);
    northLine.resize(NX);
    values.resize(grid.columns);
    gatheredRow = -1;
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

// PixelGrid::interpolate at every point of the row; the two grid rows the
// pixel row lies between are first laid out in i.
const double* FieldRows::row(int y)
{
    const int iy = points->alongY.index[y];
    const double fy = points->alongY.fraction[y];
    if (iy != gatheredRow) {
        const int32_t NX = static_cast<int32_t>(southLine.size());
        // Rows are mostly read in order: the line north of one row is the
        // line south of the next, and the array's lines are far apart.
        if (gatheredRow >= 0 && iy == gatheredRow + 1) {
            southLine.swap(northLine);
            for (int32_t i = 0; i < NX; ++i)
                northLine[i] = (*array)[i][iy + 1];
        } else {
            for (int32_t i = 0; i < NX; ++i) {
                southLine[i] = (*array)[i][iy];
                northLine[i] = (*array)[i][iy + 1];
            }
        }
        gatheredRow = iy;
    }
    const int* index = points->alongX.index.data();
    const double* fraction = points->alongX.fraction.data();
    const int done = interpolatePairs(southLine.data(), northLine.data(), index, fraction, fy,
                                      points->columns, values.data());
    interpolateRow(southLine.data(), northLine.data(), index, fraction, fy, done, points->columns, values.data());
    return values.data();
}
