#include "sim/scalar_options.h"
#include "sim/number_option.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

bool parseGravity(const std::string& text, Gravity& g)
{
    static const char* const names[] = {"down", "up", "west", "east"};
    for (int k = 0; k < 4; ++k)
        if (text == names[k]) {
            g = static_cast<Gravity>(k);
            return true;
        }
    return false;
}

}  // namespace

const char* const scalarUsage =
    "  --prandtl PR       heat: the Prandtl number (0.71 unless the grid file says)\n"
    "  --rayleigh RA      heat: the Rayleigh number on the inner height of the domain\n"
    "  --gravity DIR      heat: down (default), up, west or east\n"
    "  --schmidt SC       dye: the Schmidt number (1000 unless the grid file says)\n"
    "  --dye-bands W      dye: the inflow carries dye in bands W cells wide (0: none)\n";

bool isScalarOption(const std::string& name)
{
    return name == "--prandtl" || name == "--rayleigh" || name == "--gravity" || name == "--schmidt" ||
           name == "--dye-bands";
}

bool applyScalarOption(const std::string& name, const std::string& text, ScalarOptions& o, std::string& error)
{
    double number = 0.0;
    if (name == "--gravity") {
        Gravity g;
        if (!parseGravity(text, g)) {
            error = "--gravity needs down, up, west or east, not '" + text + "'";
            return false;
        }
        o.gravity = g;
        return true;
    }
    if (!parseFiniteNumber(text, number)) {
        error = name + " needs a finite number, not '" + text + "'";
        return false;
    }
    if (name == "--rayleigh") {
        o.rayleigh = number;
    } else if (name == "--dye-bands") {
        if (number < 0.0 || number > 65536.0 || number != std::floor(number)) {
            error = "--dye-bands needs a whole number from 0 to 65536, not '" + text + "'";
            return false;
        }
        o.dyeBands = static_cast<int>(number);
    } else if (!(number > 0.0)) {
        error = name + " needs a number above 0, not '" + text + "'";
        return false;
    } else {
        (name == "--prandtl" ? o.prandtl : o.schmidt) = number;
    }
    return true;
}

void applyScalarOptions(const ScalarOptions& o, Grid& grid)
{
    GridScalars& s = grid.scalars;
    if (o.prandtl || o.rayleigh || o.gravity) {
        enableHeat(s, grid.NX, grid.NY);
        if (o.prandtl)
            s.heatSettings.prandtl = *o.prandtl;
        if (o.rayleigh)
            s.heatSettings.rayleigh = *o.rayleigh;
        if (o.gravity)
            s.heatSettings.gravity = *o.gravity;
    }
    if (o.schmidt || o.dyeBands) {
        enableDye(s, grid.NX, grid.NY);
        if (o.schmidt)
            s.dyeSettings.schmidt = *o.schmidt;
        if (o.dyeBands)
            s.dyeSettings.bandWidth = *o.dyeBands;
    }
}
