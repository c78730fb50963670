#include "core/grid_scalars.h"

#include "core/cell_flags.h"

#include <algorithm>
#include <cmath>

void GridScalars::release()
{
    fixedTemperature.release();
    T.release();
    c.release();
    heat = dye = false;
}

void enableHeat(GridScalars& s, int32_t NX, int32_t NY)
{
    if (!s.heat || s.T.rowCount() != NX || s.T.colCount() != NY) {
        s.fixedTemperature.allocate(NX, NY);
        s.T.allocate(NX, NY);
    }
    s.heat = true;
}

void enableDye(GridScalars& s, int32_t NX, int32_t NY)
{
    if (!s.dye || s.c.rowCount() != NX || s.c.colCount() != NY)
        s.c.allocate(NX, NY);
    s.dye = true;
}

namespace {

template <class T>
void copyArray(const Array2D<T>& from, Array2D<T>& to)
{
    if (from.empty()) {
        to.release();
        return;
    }
    to.allocate(from.rowCount(), from.colCount());
    to.copyFrom(from);
}

}  // namespace

void copyScalars(const GridScalars& from, GridScalars& to)
{
    to.heat = from.heat;
    to.dye = from.dye;
    to.heatSettings = from.heatSettings;
    to.dyeSettings = from.dyeSettings;
    copyArray(from.fixedTemperature, to.fixedTemperature);
    copyArray(from.T, to.T);
    copyArray(from.c, to.c);
}

bool holdsTemperature(const GridScalars& s, int32_t flagWord, int32_t i, int32_t j)
{
    return isInflow(flagWord) || (isWall(flagWord) && s.fixedTemperature[i][j] != 0);
}

HeatScales heatScalesFor(const GridScalars& s, const Array2D<int32_t>& flags, int32_t NX, int32_t NY, double dy,
                         double reynolds)
{
    HeatScales scales;
    scales.length = (NY - 2) * dy;
    double lowest = HUGE_VAL, highest = -HUGE_VAL;
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j)
            if (holdsTemperature(s, flags[i][j], i, j)) {
                lowest = std::min(lowest, s.T[i][j]);
                highest = std::max(highest, s.T[i][j]);
            }
    if (highest > lowest) {
        scales.span = highest - lowest;
        scales.reference = 0.5 * (highest + lowest);
    } else if (highest == lowest) {
        scales.reference = highest;
    }
    const HeatSettings& h = s.heatSettings;
    const double cubed = scales.length * scales.length * scales.length;
    scales.buoyancy = h.rayleigh / (h.prandtl * reynolds * reynolds * cubed);
    scales.diffusivity = 1.0 / (reynolds * h.prandtl);
    static const double pointing[4][2] = {{0.0, -1.0}, {0.0, 1.0}, {-1.0, 0.0}, {1.0, 0.0}};
    scales.gx = pointing[static_cast<int>(h.gravity)][0];
    scales.gy = pointing[static_cast<int>(h.gravity)][1];
    return scales;
}

double inflowDye(const DyeSettings& d, int32_t i, int32_t j, int32_t NX, int32_t NY)
{
    if (d.bandWidth <= 0)
        return 0.0;
    const bool alongX = (j == 0 || j == NY - 1) && i > 0 && i < NX - 1;
    const int32_t along = alongX ? i - 1 : j - 1;
    return (std::max<int32_t>(along, 0) / d.bandWidth) % 2 == 0 ? 1.0 : 0.0;
}
