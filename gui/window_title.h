// The editor's title: the grid's file name first, so that windows of
// several grids tell apart in a task bar, then the program's name.
#pragma once

#include <string>

// "channel.grid - <program>" for a grid with a file ("channel.grid* - ..."
// while it differs from the file); without a file "<program>", or
// "*<program>" while it holds changes. Only the last component of the path
// is shown.
std::string editorWindowTitle(const std::string& programName, const std::string& filePath, bool modified);
