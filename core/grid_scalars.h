// Heat and dye a grid carries: the temperature condition and value of each
// cell, the initial dye, and the numbers that set buoyancy and diffusion.
//
// Units. Lengths are those of the grid (the domain is 1 high), speeds those
// of the run's Reynolds number Re = U 1 / nu. Temperatures are in any unit;
// the span dT of the fixed temperatures (walls and inflow, 1 when they are
// all alike) is the difference the Rayleigh number is based on, and T_ref,
// the middle of that span, the temperature at which buoyancy vanishes. The
// length of heat L is the inner height of the domain, (NY - 2) dy: for a
// box walled all round, the distance between the faces of its top and
// bottom walls. With s = L / 1:
//   dT/dt + u.grad T = lap T / (Re Pr)
//   dc/dt + u.grad c = lap c / (Re Sc)
//   buoyancy per unit mass  -B (T - T_ref) / dT  g_hat,  B = Ra / (Pr Re^2 s^3)
// so Ra and Pr alone fix the flow, and Re only chooses the unit of speed:
// Re = 1 / (s Pr) gives speeds in units of the thermal diffusivity over L.
#pragma once

#include "core/array2d.h"

#include <cstdint>

// The way gravity points.
enum class Gravity : unsigned char { Down = 0, Up = 1, West = 2, East = 3 };

struct HeatSettings {
    double prandtl = 0.71;
    double rayleigh = 0.0;
    Gravity gravity = Gravity::Down;
};

struct DyeSettings {
    double schmidt = 1000.0;
    // Inflow cells carry dye in alternating bands this many cells wide,
    // starting with dye; 0: the inflow carries none.
    int32_t bandWidth = 0;
};

struct GridScalars {
    bool heat = false;
    bool dye = false;
    HeatSettings heatSettings;
    DyeSettings dyeSettings;
    // Allocated with heat: 1 where a wall cell holds its temperature (the
    // other walls are insulated); the temperature of every cell, fixed for
    // those walls and for inflow cells, the starting value elsewhere.
    Array2D<unsigned char> fixedTemperature;
    Array2D<double> T;
    // Allocated with dye: the concentration, 0..1.
    Array2D<double> c;

    void release();
};

// Switches heat or dye on for an NX x NY grid, every value 0 and every
// wall insulated; a quantity already on keeps its arrays.
void enableHeat(GridScalars& s, int32_t NX, int32_t NY);
void enableDye(GridScalars& s, int32_t NX, int32_t NY);
// Makes to a copy of from (arrays included).
void copyScalars(const GridScalars& from, GridScalars& to);

// Whether a cell's temperature is set rather than computed: a wall that
// holds its temperature, or an inflow cell.
bool holdsTemperature(const GridScalars& s, int32_t flagWord, int32_t i, int32_t j);

// The numbers a heated run derives from its grid and Reynolds number.
struct HeatScales {
    double length = 1.0;          // L, the inner height of the domain
    double span = 1.0;            // dT
    double reference = 0.0;       // T_ref
    double buoyancy = 0.0;        // B
    double diffusivity = 0.0;     // 1 / (Re Pr)
    double gx = 0.0, gy = -1.0;   // the unit vector gravity points along
};
// flags: the grid's flag words (inflow cells and walls found there).
HeatScales heatScalesFor(const GridScalars& s, const Array2D<int32_t>& flags, int32_t NX, int32_t NY, double dy,
                         double reynolds);

// The dye an inflow cell brings in: 1 or 0 in bands of the band width,
// counted along the border the cell lies on; 0 without bands.
double inflowDye(const DyeSettings& d, int32_t i, int32_t j, int32_t NX, int32_t NY);
