// kelvo.Grid: a set-up as the editor holds it, the grid and the settings
// its file carries.
#pragma once

#include "core/grid.h"
#include "io/grid_file.h"

#include <pybind11/pybind11.h>

struct PyGrid {
    Grid grid;
    GridFileSettings settings;  // a new grid's unless loaded from a file
};

void bindGrid(pybind11::module_& m);
