#include "render/quantity_field.h"

#include "core/centre_values.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double cellValue(const Grid& g, int32_t NX, int32_t NY, ColourQuantity quantity, int32_t i, int32_t j)
{
    switch (quantity) {
    case ColourQuantity::U: return centreU(g, i, j);
    case ColourQuantity::V: return centreV(g, i, j);
    case ColourQuantity::Speed: return centreSpeed(g, i, j);
    case ColourQuantity::Pressure: return g.p[i][j];
    case ColourQuantity::Vorticity: return centreVorticity(g, NX, NY, i, j);
    case ColourQuantity::Temperature: return g.scalars.heat ? g.scalars.T[i][j] : 0.0;
    case ColourQuantity::Dye: return g.scalars.dye ? g.scalars.c[i][j] : 0.0;
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
