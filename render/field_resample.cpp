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

// With cw = W / NX, ch = H / NY, for each point x < W - cw, y < H - ch:
//   tx = x / cw, ix = trunc(tx), fx = tx - ix   (likewise ty, iy, fy)
//   value = (1 - fy) ((1 - fx) a[ix][iy]   + fx a[ix+1][iy])
//         +      fy  ((1 - fx) a[ix][iy+1] + fx a[ix+1][iy+1])
void resampleField(int32_t NX, int32_t NY, const Array2D<double>& a, int k, ResampledField& out)
{
    const int W = k * NX;
    const int H = k * NY;
    const double cw = static_cast<double>(W) / NX;
    const double ch = static_cast<double>(H) / NY;
    out.columns = pointsBelow(W - cw);
    out.rows = pointsBelow(H - ch);
    out.values.resize(static_cast<size_t>(out.columns) * out.rows);

    // The row weights depend on y only: work them out once per call.
    std::vector<int> iys(out.rows);
    std::vector<double> fys(out.rows);
    for (int y = 0; y < out.rows; ++y) {
        const double ty = y / ch;
        iys[y] = static_cast<int>(ty);
        fys[y] = ty - iys[y];
    }

    double* value = out.values.data();
    for (int x = 0; x < out.columns; ++x) {
        const double tx = x / cw;
        const int ix = static_cast<int>(tx);
        const double fx = tx - ix;
        const double gx = 1 - fx;
        const double* west = a[ix];
        const double* east = a[ix + 1];
        for (int y = 0; y < out.rows; ++y) {
            const int iy = iys[y];
            const double fy = fys[y];
            *value++ = (1 - fy) * (gx * west[iy] + fx * east[iy]) +
                       fy * (gx * west[iy + 1] + fx * east[iy + 1]);
        }
    }
}
