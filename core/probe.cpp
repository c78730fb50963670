#include "core/probe.h"

#include <algorithm>
#include <cmath>

namespace {

// a sampled at (x, y) when a[i][j] sits at ((i + ox) dx, (j + oy) dy).
double bilinear(const Grid& g, const Array2D<double>& a, double x, double y, double ox, double oy)
{
    const double fx = std::clamp(x / g.dx - ox, 0.0, g.NX - 1.0);
    const double fy = std::clamp(y / g.dy - oy, 0.0, g.NY - 1.0);
    const int32_t i = std::min(static_cast<int32_t>(std::floor(fx)), g.NX - 2);
    const int32_t j = std::min(static_cast<int32_t>(std::floor(fy)), g.NY - 2);
    const double sx = fx - i, sy = fy - j;
    return (1 - sx) * (1 - sy) * a[i][j] + sx * (1 - sy) * a[i + 1][j]
         + (1 - sx) * sy * a[i][j + 1] + sx * sy * a[i + 1][j + 1];
}

}  // namespace

ProbeValues sampleProbe(const Grid& grid, double x, double y)
{
    ProbeValues values;
    values.u = bilinear(grid, grid.u, x, y, 1.0, 0.5);
    values.v = bilinear(grid, grid.v, x, y, 0.5, 1.0);
    values.p = bilinear(grid, grid.p, x, y, 0.5, 0.5);
    return values;
}
