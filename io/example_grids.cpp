// The example set-ups. Cells are painted as the editor paints them: the flag
// word through setCell, then the cell's u and v.
#include "io/example_grids.h"

#include "core/immersed_boundary.h"

#include <cmath>

namespace {

// A cell's face velocities when it is painted.
struct Velocity {
    double u;
    double v;
};

// Paints the cells i0..i1 x j0..j1 (inclusive) with one word and velocity.
void paintBlock(Grid& g, int i0, int i1, int j0, int j1, int32_t word, Velocity vel = {0.0, 0.0})
{
    for (int i = i0; i <= i1; ++i)
        for (int j = j0; j <= j1; ++j) {
            g.setCell(i, j, word);
            g.u[i][j] = vel.u;
            g.v[i][j] = vel.v;
        }
}

// No-slip walls along the whole south and north borders.
void paintChannelWalls(Grid& g)
{
    paintBlock(g, 0, g.NX - 1, 0, 0, CELL_NOSLIP_WALL);
    paintBlock(g, 0, g.NX - 1, g.NY - 1, g.NY - 1, CELL_NOSLIP_WALL);
}

ExampleGrid startExample(const char* name, int nx, int ny, int reynolds, int defaultU)
{
    ExampleGrid e;
    e.fileName = name;
    makeFluidGrid(e.grid, nx, ny);
    e.settings.reynolds = reynolds;
    // Gauss-Seidel needs over a thousand sweeps a step on this grid.
    e.settings.pressure = PressureSolver::Multigrid;
    e.settings.defaultU = defaultU;
    e.settings.defaultV = 0;
    return e;
}

}  // namespace

ExampleGrid channelExample()
{
    ExampleGrid e = startExample("channel.grid", 40, 20, 100, 1);
    Grid& g = e.grid;
    paintChannelWalls(g);
    paintBlock(g, 0, 0, 1, g.NY - 2, CELL_INFLOW, {1.0, 0.0});
    paintBlock(g, g.NX - 1, g.NX - 1, 1, g.NY - 2, CELL_OUTFLOW);
    // A square obstacle a quarter along, on the centre line.
    paintBlock(g, 9, 12, 8, 11, CELL_NOSLIP_WALL);
    return e;
}

ExampleGrid cavityExample()
{
    ExampleGrid e = startExample("cavity.grid", 20, 20, 100, 0);
    Grid& g = e.grid;
    paintBlock(g, 0, g.NX - 1, 0, g.NY - 1, CELL_NOSLIP_WALL);
    paintBlock(g, 1, g.NX - 2, 1, g.NY - 2, CELL_FLUID);
    paintBlock(g, 1, g.NX - 2, g.NY - 1, g.NY - 1, CELL_MOVING_WALL, {1.0, 0.0});
    return e;
}

ExampleGrid stepExample()
{
    ExampleGrid e = startExample("step.grid", 60, 20, 100, 0);
    Grid& g = e.grid;
    const int stepTop = g.NY / 2 - 1;  // the highest row of the step block
    paintChannelWalls(g);
    paintBlock(g, 0, 0, 1, stepTop, CELL_NOSLIP_WALL);
    paintBlock(g, 0, 0, stepTop + 1, g.NY - 2, CELL_INFLOW, {1.0, 0.0});
    paintBlock(g, 1, 10, 1, stepTop, CELL_NOSLIP_WALL);
    paintBlock(g, g.NX - 1, g.NX - 1, 1, g.NY - 2, CELL_OUTFLOW);
    return e;
}

ExampleGrid squareCylinderExample()
{
    constexpr int side = 6;                    // D in cells
    constexpr int height = 8 * side;           // H in cells: blockage D/H = 1/8
    constexpr int ny = height + 1;             // H runs between the wall cells' centres
    constexpr int nx = 5 * ny;                 // square cells in a domain 5 wide
    // Re_D = Umax D / nu = 100 with D = side / ny in the domain 1 high, so
    // the domain's Reynolds number Umax 1 / nu is 100 ny / side.
    constexpr double reynolds = 100.0 * ny / side;
    ExampleGrid e = startExample("square_cylinder.grid", nx, ny, 0, 1);
    e.settings.reynolds = reynolds;
    // Gauss-Seidel needs over a thousand sweeps a step on this grid.
    e.settings.pressure = PressureSolver::Multigrid;
    Grid& g = e.grid;
    paintChannelWalls(g);
    // Parabolic inflow, 0 at the centres of the wall cells (where the
    // no-slip value sits) and Umax = 1 on the centre line.
    for (int j = 1; j <= g.NY - 2; ++j) {
        const double y = static_cast<double>(j) / height;
        paintBlock(g, 0, 0, j, j, CELL_INFLOW, {4.0 * y * (1.0 - y), 0.0});
    }
    paintBlock(g, g.NX - 1, g.NX - 1, 1, g.NY - 2, CELL_OUTFLOW);
    // 8 D behind the inflow; the centre line runs through row height / 2, so
    // an even side sits half a cell above it, which starts the shedding.
    const int west = 8 * side;
    const int south = height / 2 - side / 2 + 1;
    paintBlock(g, west, west + side - 1, south, south + side - 1, CELL_NOSLIP_WALL);
    return e;
}

ExampleGrid airfoilExample()
{
    constexpr double chord = 0.4, angle = 6.0;
    ExampleGrid e = startExample("airfoil.grid", 240, 60, 0, 1);
    e.settings.reynolds = 500.0 / chord;
    e.settings.convection = Convection::RungeKutta;
    Grid& g = e.grid;
    paintBlock(g, 0, g.NX - 1, 0, 0, CELL_SLIP_WALL);
    paintBlock(g, 0, g.NX - 1, g.NY - 1, g.NY - 1, CELL_SLIP_WALL);
    paintBlock(g, 0, 0, 1, g.NY - 2, CELL_INFLOW, {1.0, 0.0});
    paintBlock(g, g.NX - 1, g.NX - 1, 1, g.NY - 2, CELL_OUTFLOW);
    BodyOutline wing;
    nacaOutline("2412", {1.0, 0.5 + 0.5 * chord * std::sin(angle * 3.14159265358979323846 / 180.0)}, chord, angle,
                80, wing);
    g.outlines.push_back(std::move(wing));
    markCoveredCells(g);
    return e;
}

ExampleGrid squareCylinderStreaksExample()
{
    ExampleGrid e = squareCylinderExample();
    e.fileName = "square_cylinder_streaks.grid";
    Grid& g = e.grid;
    // The cylinder spans x = 48..54 cells and y = 22..28 cells (dx = dy =
    // 1/49); the rake stands 2 D ahead of it, its outer points just
    // outside the cylinder's sides, its inner ones beside the centre line.
    const double x = 36.0 * g.dx;
    int32_t colour = 0;
    for (double y : {20.5, 24.0, 26.0, 29.5}) {
        g.emitters.push_back(Emitter{x, y * g.dy, x, y * g.dy, 1, colour});
        ++colour;
    }
    return e;
}

std::vector<ExampleGrid> exampleGrids()
{
    std::vector<ExampleGrid> all;
    all.push_back(channelExample());
    all.push_back(cavityExample());
    all.push_back(stepExample());
    all.push_back(squareCylinderExample());
    all.push_back(airfoilExample());
    all.push_back(squareCylinderStreaksExample());
    return all;
}
