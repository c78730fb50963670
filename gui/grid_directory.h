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

// The installed examples of the running program: relativeToProgram (e.g.
// "../share/kelvo/Grids") taken from the folder the program file lies in,
// so any installation prefix works. Empty when the program's own path
// cannot be read.
std::string installedGridsFolder(const std::string& relativeToProgram);
