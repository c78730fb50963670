// The fields of one grid state as a VTK XML image-data file (.vti), for
// ParaView and VTK's own readers.
//
// The image has one cell per grid cell, border ring included: WholeExtent
// "0 NX 0 NY 0 0" in points, Origin 0 0 0, Spacing dx dy dx, and cell (i, j)
// is cell i + NX * j of the image. Its cell data, in this order:
//   u, v, speed, vorticity   at the cell centres (core/centre_values.h)
//   p                        the cell's pressure
//   cell_type                the flag word of core/cell_flags.h (type bit
//                            and direction bits), not the grid file's byte,
//                            which drops north and south
// then, for a grid with heat, T and wall_nusselt (the local Nusselt number
// of core/wall_heat.h in each wall cell holding its temperature, the mean
// over its faces to the flow; 0 elsewhere), and for one with dye, c.
// The values are Float64, so they equal the solver's doubles and the CSV
// dump's bit for bit; cell_type is Int32. All arrays are raw appended binary
// with UInt64 byte counts in the machine's byte order, which the header names.
#pragma once

#include "core/grid.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vtk_fields {
// The arrays in file order, and how many there are.
constexpr const char* arrayNames[] = {"u", "v", "speed", "vorticity", "p", "cell_type"};
constexpr int arrayCount = 6;
constexpr int float64Arrays = 5;  // all but cell_type
}  // namespace vtk_fields

// The whole file for the grid's NX x NY cells into bytes, which is resized
// (its capacity is kept, so a run's frames reuse one block).
void encodeVtkFields(const Grid& grid, std::vector<char>& bytes);

