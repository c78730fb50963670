// GridSettings: the Simulation Properties page's settings that go with a
// grid: those its file stores, and the numbers of heat and dye. The editor
// keeps them beside the grid, so that every undo step brings the page back
// as it stood with the cells.
#pragma once

#include "core/grid_scalars.h"
#include "io/grid_file.h"

struct GridSettings {
    GridFileSettings file;
    HeatSettings heat;
    DyeSettings dye;
};

// Every field equal; an unset optional equals only an unset one.
bool sameSettings(const GridSettings& a, const GridSettings& b);
