#include "gui/grid_settings.h"

bool sameSettings(const GridSettings& a, const GridSettings& b)
{
    const GridFileSettings& f = a.file;
    const GridFileSettings& g = b.file;
    return f.reynolds == g.reynolds && f.defaultU == g.defaultU && f.defaultV == g.defaultV && f.dt == g.dt &&
           f.convection == g.convection && f.pressure == g.pressure &&
           f.startsFromStoredField == g.startsFromStoredField && a.heat.prandtl == b.heat.prandtl &&
           a.heat.rayleigh == b.heat.rayleigh && a.heat.gravity == b.heat.gravity &&
           a.dye.schmidt == b.dye.schmidt && a.dye.bandWidth == b.dye.bandWidth;
}
