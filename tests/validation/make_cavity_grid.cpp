// Writes a lid-driven cavity grid file for the accuracy measurements:
// no-slip walls round an N x N grid and a lid of moving-wall cells (u = 1)
// along the north border, painted as the cavity example paints them.
//
//   make_cavity_grid N REYNOLDS FILE
#include "io/grid_file.h"
#include "io/grid_file_v2.h"
#include "support/scenario_grids.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const int n = argc == 4 ? std::atoi(argv[1]) : 0;
    // Beyond the classic file's 255 cells the grid is saved in version 2.
    if (n < grid_file::minCells || static_cast<std::size_t>(n) * n > grid_file_v2::maxTotalCells) {
        std::fprintf(stderr, "usage: make_cavity_grid N REYNOLDS FILE (N from 3 to 1024)\n");
        return 2;
    }
    Grid grid;
    makeLidCavity(grid, n);
    GridFileSettings settings;
    settings.reynolds = std::atoi(argv[2]);
    if (!saveGridFile(argv[3], grid, settings)) {
        std::fprintf(stderr, "make_cavity_grid: cannot write '%s'\n", argv[3]);
        return 1;
    }
    return 0;
}
