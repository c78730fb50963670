// A picture as a set-up (kelvo-batch PICTURE, the Python module's
// Grid.from_picture): decoded as the editor decodes it and turned into cells
// by the editor's own mapping.
#pragma once

#include "core/grid.h"

#include <string>

// The grid of NX x NY cells sampled from the picture file; an empty message
// means success, otherwise it says why the file was not taken.
std::string loadPictureGrid(const std::string& path, int NX, int NY, Grid& grid);
