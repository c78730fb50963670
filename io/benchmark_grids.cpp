#include "io/benchmark_grids.h"

#include "core/cell_flags.h"

namespace {

// The mean of 4 s (1 - s) over a..b, in channel heights.
double meanParabola(double a, double b)
{
    return 4.0 * ((b * b - a * a) / 2.0 - (b * b * b - a * a * a) / 3.0) / (b - a);
}

}  // namespace

ChannelBenchmark schaeferTurekChannel(int cellsPerDiameter, double reynolds)
{
    ChannelBenchmark b;
    const int channelCells = cellsPerDiameter * 41 / 10;  // 0.41 / 0.1 diameters
    const int ny = channelCells + 2;
    makeFluidGrid(b.grid, 6 * ny, ny);
    Grid& g = b.grid;
    for (int32_t i = 0; i < g.NX; ++i) {
        g.setCell(i, 0, CELL_NOSLIP_WALL);
        g.setCell(i, g.NY - 1, CELL_NOSLIP_WALL);
    }
    const double meanSpeed = 1.0, peakSpeed = 1.5 * meanSpeed;
    // Each inflow face carries the parabola's mean over its height, so the
    // flux is exactly U_mean times the channel's height.
    for (int32_t j = 1; j <= g.NY - 2; ++j) {
        g.setCell(0, j, CELL_INFLOW);
        g.u[0][j] = peakSpeed * meanParabola(static_cast<double>(j - 1) / channelCells,
                                             static_cast<double>(j) / channelCells);
        g.setCell(g.NX - 1, j, CELL_OUTFLOW);
    }
    b.diameter = cellsPerDiameter * g.dy;
    b.lengthScale = b.diameter / 0.1;
    auto place = [&](double x, double y) { return BenchmarkPoint{g.dx + x * b.lengthScale, g.dy + y * b.lengthScale}; };
    const BenchmarkPoint centre = place(0.2, 0.2);
    b.circle = BodyOutline::circle(centre.x, centre.y, 0.5 * b.diameter);
    b.front = place(0.15, 0.2);
    b.back = place(0.25, 0.2);
    b.settings.reynolds = reynolds * ny / cellsPerDiameter;
    b.settings.defaultU = meanSpeed;
    b.settings.defaultV = 0.0;
    b.settings.convection = Convection::RungeKutta;
    b.settings.pressure = PressureSolver::Multigrid;
    return b;
}
