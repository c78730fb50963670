#include "render/quantity_field.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double centreU(const Grid& g, int32_t i, int32_t j)
{
    return i > 0 ? 0.5 * (g.u[i - 1][j] + g.u[i][j]) : g.u[i][j];
}

double centreV(const Grid& g, int32_t i, int32_t j)
{
    return j > 0 ? 0.5 * (g.v[i][j - 1] + g.v[i][j]) : g.v[i][j];
}

// dv/dx - du/dy at the north-east corner of cell (i, j), i <= NX-2, j <= NY-2.
double cornerVorticity(const Grid& g, int32_t i, int32_t j)
{
    return (g.v[i + 1][j] - g.v[i][j]) / g.dx - (g.u[i][j + 1] - g.u[i][j]) / g.dy;
}

// The mean of the corners of cell (i, j) that lie inside the grid.
double cellVorticity(const Grid& g, int32_t NX, int32_t NY, int32_t i, int32_t j)
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

double cellValue(const Grid& g, int32_t NX, int32_t NY, ColourQuantity quantity, int32_t i, int32_t j)
{
    switch (quantity) {
    case ColourQuantity::U: return centreU(g, i, j);
    case ColourQuantity::V: return centreV(g, i, j);
    case ColourQuantity::Speed: return std::hypot(centreU(g, i, j), centreV(g, i, j));
    case ColourQuantity::Pressure: return g.p[i][j];
    case ColourQuantity::Vorticity: return cellVorticity(g, NX, NY, i, j);
    case ColourQuantity::None: break;
    }
    return 0.0;
}

}  // namespace

void cellCentreQuantity(const Grid& grid, int32_t NX, int32_t NY, ColourQuantity quantity, Array2D<double>& out)
{
    if (out.rowCount() != NX || out.colCount() != NY)
        out.allocate(NX, NY);
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j)
            out[i][j] = cellValue(grid, NX, NY, quantity, i, j);
}

ValueExtent fluidExtent(const Grid& grid, int32_t NX, int32_t NY, const Array2D<double>& values)
{
    ValueExtent extent{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    bool anyFluid = false;
    for (int pass = 0; pass < 2 && !anyFluid; ++pass)
        for (int32_t i = 0; i < NX; ++i)
            for (int32_t j = 0; j < NY; ++j) {
                const bool fluid = isFluid(grid.flags[i][j]);
                anyFluid = anyFluid || fluid;
                const double value = values[i][j];
                if ((fluid || pass == 1) && std::isfinite(value)) {
                    extent.smallest = std::min(extent.smallest, value);
                    extent.largest = std::max(extent.largest, value);
                }
            }
    return extent;
}
