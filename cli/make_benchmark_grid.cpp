// Writes the channel of Schäfer & Turek (1996) with its circle at a
// resolution and prints the kelvo-batch arguments that run it as they
// measured it: the Reynolds number, the probes of the pressure difference
// and the reference speed and length (io/benchmark_grids.h).
//
//   make_benchmark_grid CELLS_PER_DIAMETER RE FILE
#include "core/immersed_boundary.h"
#include "io/benchmark_grids.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    const int cells = argc == 4 ? std::atoi(argv[1]) : 0;
    const double reynolds = argc == 4 ? std::atof(argv[2]) : 0.0;
    if (cells <= 0 || cells % 10 != 0 || !(reynolds > 0.0)) {
        std::fprintf(stderr, "usage: make_benchmark_grid CELLS_PER_DIAMETER(10, 20, 40...) RE FILE\n");
        return 2;
    }
    ChannelBenchmark b = schaeferTurekChannel(cells, reynolds);
    b.grid.outlines.push_back(b.circle);
    markCoveredCells(b.grid);
    if (!saveGridFile(argv[3], b.grid, b.settings)) {
        std::fprintf(stderr, "make_benchmark_grid: cannot write '%s'\n", argv[3]);
        return 1;
    }
    std::printf("--re %.17g --probe %.17g,%.17g --probe %.17g,%.17g --ref-speed 1 --ref-length %.17g\n",
                b.settings.reynolds, b.front.x, b.front.y, b.back.x, b.back.y, b.diameter);
    return 0;
}
