#include "core/centre_values.h"

namespace {

// dv/dx - du/dy at the north-east corner of cell (i, j), i <= NX-2, j <= NY-2.
double cornerVorticity(const Grid& g, int32_t i, int32_t j)
{
    return (g.v[i + 1][j] - g.v[i][j]) / g.dx - (g.u[i][j + 1] - g.u[i][j]) / g.dy;
}

}  // namespace

// The mean of the corners of cell (i, j) that lie inside the grid.
double centreVorticity(const Grid& g, int32_t NX, int32_t NY, int32_t i, int32_t j)
{
    double sum = 0.0;
    int count = 0;
    for (int32_t ci = i - 1; ci <= i; ++ci)
        for (int32_t cj = j - 1; cj <= j; ++cj)
            if (ci >= 0 && cj >= 0 && ci <= NX - 2 && cj <= NY - 2) {
                sum += cornerVorticity(g, ci, cj);
                ++count;
            }
    return count > 0 ? sum / count : 0.0;
}
