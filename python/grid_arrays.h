// The per-cell arrays of a grid as the module hands them out, one line each:
// Grid shows them writable, Simulation shows the solver's read-only. A new
// array of Grid is one more line here.
#pragma once

#include "core/grid.h"

template <class Visit>
void forEachGridArray(Visit visit)
{
    visit("cells", "Flag word of each cell (int32): a cell type from kelvo.cell_types, plus a direction bit\n"
                   "for inflow and outflow cells.",
          &Grid::flags);
    visit("u", "x velocity (float64) on the east face of each cell: u[i, j] sits at x = (i+1) dx,\n"
               "y = (j+1/2) dy.",
          &Grid::u);
    visit("v", "y velocity (float64) on the north face of each cell: v[i, j] sits at x = (i+1/2) dx,\n"
               "y = (j+1) dy.",
          &Grid::v);
    visit("p", "Pressure (float64) at each cell centre, x = (i+1/2) dx, y = (j+1/2) dy.", &Grid::p);
}
