// "Release from inflow": one segment emitter along every run of inflow
// cells on the grid's border, a tenth of a cell inside the domain, with a
// particle at the height (or width) of each inflow cell's centre.
#pragma once

#include "core/emitter.h"
#include "core/grid.h"

#include <cstdint>

// The emitters, releasing every `every` steps, coloured from firstColour on.
Emitters inflowEmitters(const Grid& grid, int32_t every, int32_t firstColour);
