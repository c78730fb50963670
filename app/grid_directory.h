// Where the grid file dialogs start: ./Grids when the working directory has
// one; otherwise the examples installed with the program for loading, and
// the working directory itself for saving.
#pragma once

#include <string>

enum class GridDirectoryUse { Load, Save };

// preferred is "./Grids"; installed is the folder of the installed example
// grids (may be empty when the program runs from its build tree).
std::string gridDialogDirectory(GridDirectoryUse use, const std::string& preferred,
                                const std::string& installed);
