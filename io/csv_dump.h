// The state of a grid as CSV: a header line "i,j,flags,u,v,p" (then ",T"
// for a grid with heat and ",c" for one with dye), then one line per cell, i outer and j inner, values with 17 significant digits so
// every double reads back exactly.
#pragma once

#include "core/grid.h"

#include <cstdio>
#include <string>

// Writes the dump to an open stream; false when a write fails.
bool writeCsv(std::FILE* out, const Grid& grid);

// Writes the dump to a file, or to stdout for "-"; false on any failure,
// the close included.
bool writeCsvFile(const std::string& path, const Grid& grid);
