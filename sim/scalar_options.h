// The heat and dye options of kelvo-batch, and the Python module's keywords
// of the same names: they change what the grid file holds before the run
// starts.
#pragma once

#include "core/grid.h"

#include <optional>
#include <string>

struct ScalarOptions {
    std::optional<double> prandtl;    // --prandtl PR, above 0
    std::optional<double> rayleigh;   // --rayleigh RA
    std::optional<Gravity> gravity;   // --gravity down|up|west|east
    std::optional<double> schmidt;    // --schmidt SC, above 0
    std::optional<int> dyeBands;      // --dye-bands W: inflow dye in bands W cells wide (0: none)

    bool any() const { return prandtl || rayleigh || gravity || schmidt || dyeBands; }
};

bool isScalarOption(const std::string& name);
// One option with its value; false with a reason when it is bad.
bool applyScalarOption(const std::string& name, const std::string& text, ScalarOptions& o, std::string& error);

// Writes the options into the grid: a heat option switches heat on (every
// wall insulated unless the file says otherwise), a dye option dye.
void applyScalarOptions(const ScalarOptions& o, Grid& grid);

// The lines of --help about them.
extern const char* const scalarUsage;
