// Cells and dye painted into a running flow: a strip of walls across the
// channel stops the flow past it within a few steps and fluid painted over
// it lets it through again, the fluid keeps its state, a rebuild keeps the
// painted cells, and painted dye goes where the flow can carry it.
#include "sim/simulation_run.h"
#include "support/channel_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr int32_t stripColumn = 30;

// The volume flux east through the faces u[i][1..NY-2].
double fluxThrough(const SimGrid& state, int32_t i)
{
    double flux = 0.0;
    for (int32_t j = 1; j <= state.NY - 2; ++j)
        flux += state.u[i][j] * state.dy;
    return flux;
}

// The word in every cell of column i between the two channel walls.
std::vector<CellPaint> columnOf(const Grid& grid, int32_t i, int32_t word)
{
    std::vector<CellPaint> cells;
    for (int32_t j = 1; j <= grid.NY - 2; ++j)
        cells.push_back(CellPaint{i, j, word});
    return cells;
}

void cycles(SimulationRun& run, int count)
{
    for (int n = 0; n < count; ++n)
        run.cycle(1, [](int32_t) { return true; });
}

}  // namespace

// Just past the strip the channel carries almost nothing three steps after
// the strip was painted, with either method; fluid painted over the strip
// again opens it as fast. (Further down the outflow's zero-gradient
// condition lets the fluid drain slowly.)
TEST(PaintedFlow, AWallAcrossTheChannelBlocksItAndFluidOpensItAgain)
{
    for (const Convection method : {Convection::RungeKutta, Convection::Central}) {
        SCOPED_TRACE(static_cast<int>(method));
        Grid grid;
        makeChannel(grid, 60, 20);
        SimulationRun run(grid, SolverSettings{100, 0.003, method, false});
        run.step();
        cycles(run, 20);
        const double before = fluxThrough(run.state(), stripColumn + 1);
        ASSERT_GT(before, 0.5);  // the channel carries its inflow

        run.repaint(columnOf(grid, stripColumn, CELL_NOSLIP_WALL));
        cycles(run, 3);
        EXPECT_EQ(run.cycles(), 23);  // the count goes on
        EXPECT_EQ(fluxThrough(run.state(), stripColumn), 0.0);
        EXPECT_LT(std::fabs(fluxThrough(run.state(), stripColumn + 1)), 0.05 * before);
        EXPECT_FALSE(run.unstable());

        run.repaint(columnOf(grid, stripColumn, CELL_FLUID));
        cycles(run, 3);
        EXPECT_GT(fluxThrough(run.state(), stripColumn + 1), 0.5 * before);
        EXPECT_EQ(run.paintedCells().size(), 36u);
    }
}

// Away from the painted cells the forward-Euler state is taken over as it
// stands (the projection method makes the field fit the new walls first).
TEST(PaintedFlow, TheFluidKeepsItsVelocityAndPressure)
{
    Grid grid;
    makeChannel(grid, 60, 20);
    SimulationRun run(grid, 100, 0.003);
    run.step();
    cycles(run, 10);
    const double u = run.state().u[10][10], v = run.state().v[10][10], p = run.state().p[10][10];
    run.repaint({CellPaint{45, 9, CELL_SLIP_WALL}, CellPaint{45, 10, CELL_SLIP_WALL}});
    EXPECT_EQ(run.state().u[10][10], u);
    EXPECT_EQ(run.state().v[10][10], v);
    EXPECT_EQ(run.state().p[10][10], p);
    EXPECT_EQ(run.state().flags[45][9] & CELL_SLIP_WALL, CELL_SLIP_WALL);
}

// Stop rebuilds from the grid with the painted cells; the editor's grid is
// left as it was.
TEST(PaintedFlow, ARebuildKeepsThePaintedCells)
{
    Grid grid;
    makeChannel(grid, 60, 20);
    SimulationRun run(grid, SolverSettings{});
    run.step();
    run.repaint({CellPaint{5, 10, CELL_INFLOW, 0.5, 0.0}});
    run.rebuild();
    EXPECT_EQ(run.state().flags[5][10] & CELL_INFLOW, CELL_INFLOW);
    EXPECT_EQ(run.editedGrid().u[5][10], 0.5);
    EXPECT_EQ(grid.flags[5][10] & CELL_FLUID, CELL_FLUID);
}

// The tracer reads the painted cells too: an emitter along a wall painted
// across the channel releases nothing there, one upstream goes on
// releasing, and emitters placed in the window outlive a rebuild.
TEST(PaintedFlow, ATracerReleasesNothingInAPaintedWallAndPlacedEmittersOutliveARebuild)
{
    Grid grid;
    makeChannel(grid, 60, 20);
    SimulationRun run(grid, SolverSettings{100, 0.003, Convection::RungeKutta, false});
    run.step();
    run.repaint(columnOf(grid, stripColumn, CELL_NOSLIP_WALL));
    const double wallX = (stripColumn + 0.5) * grid.dx;
    const Emitter onWall{wallX, 1.5 * grid.dy, wallX, 18.5 * grid.dy, 5, 0};
    const Emitter upstream{5.5 * grid.dx, 10.5 * grid.dy, 5.5 * grid.dx, 10.5 * grid.dy, 5, 1};
    for (const Emitter& emitter : {onWall, upstream})
        run.placeEmitter(emitter);
    cycles(run, 20);
    ASSERT_FALSE(run.particles().particles().empty());
    for (const Particle& p : run.particles().particles())
        EXPECT_EQ(p.colour, upstream.colour) << p.x << ", " << p.y;
    run.rebuild();
    ASSERT_EQ(run.particles().emitterList().size(), 2u);
    EXPECT_EQ(run.particles().emitterList()[0], onWall);
    EXPECT_EQ(run.particles().emitterList()[1], upstream);
}

// The run's own copy of a painted grid keeps the heat it carries: after
// painting and a rebuild the hot wall still holds its temperature.
TEST(PaintedFlow, APaintedHeatedGridKeepsItsTemperatures)
{
    Grid grid;
    makeChannel(grid, 60, 20);
    enableHeat(grid.scalars, grid.NX, grid.NY);
    for (int32_t i = 0; i < grid.NX; ++i) {
        grid.scalars.fixedTemperature[i][0] = 1;
        grid.scalars.T[i][0] = 1.0;
    }
    SimulationRun run(grid, SolverSettings{100, 0.003, Convection::RungeKutta, false});
    run.step();
    cycles(run, 5);
    run.repaint(columnOf(grid, stripColumn, CELL_NOSLIP_WALL));
    run.rebuild();
    cycles(run, 2);
    ASSERT_TRUE(run.editedGrid().scalars.heat);
    EXPECT_EQ(run.editedGrid().scalars.fixedTemperature[10][0], 1);
    ASSERT_TRUE(run.state().scalars.heat);
    EXPECT_EQ(run.state().scalars.T[10][0], 1.0);
    EXPECT_GT(run.state().scalars.T[10][1], 0.0);  // the hot wall heats the fluid above it
}

namespace {

double totalDye(const SimGrid& state)
{
    double total = 0.0;
    for (int32_t i = 0; i < state.NX; ++i)
        for (int32_t j = 0; j < state.NY; ++j)
            total += state.scalars.c[i][j];
    return total;
}

}  // namespace

// Dye painted across the channel, walls, border and an inflow cell
// included, goes into the 18 fluid cells off the border alone, whether the
// grid carried dye, only heat, or neither; the flow then carries all of it.
// A rebuild (Stop) starts again from the painted dye, as it keeps painted
// cells. The forward-Euler method carries no dye and takes none.
TEST(PaintedFlow, DyeGoesIntoTheFluidCellsAloneAndTheFlowCarriesIt)
{
    enum class Carried { Dye, Heat, Nothing };
    const struct {
        Carried carried;
        Convection method;
        double painted;  // dye the run holds after the painting
    } cases[] = {{Carried::Dye, Convection::RungeKutta, 18.0},
                 {Carried::Heat, Convection::RungeKutta, 18.0},
                 {Carried::Nothing, Convection::RungeKutta, 18.0},
                 {Carried::Nothing, Convection::Central, 0.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(&c - cases));
        Grid grid;
        makeChannel(grid, 60, 20);
        if (c.carried == Carried::Dye)
            enableDye(grid.scalars, grid.NX, grid.NY);
        if (c.carried == Carried::Heat)
            enableHeat(grid.scalars, grid.NX, grid.NY);
        SimulationRun run(grid, SolverSettings{100, 0.003, c.method, false});
        run.step();
        cycles(run, 5);
        std::vector<DyePaint> stroke;
        for (int32_t j = 0; j < grid.NY; ++j)
            stroke.push_back(DyePaint{stripColumn, j});
        stroke.push_back(DyePaint{0, 10});  // an inflow cell
        run.paintDye(stroke);
        EXPECT_EQ(run.cycles(), 5);
        EXPECT_EQ(run.carriesDye(), c.method == Convection::RungeKutta);
        if (c.painted == 0.0) {
            EXPECT_FALSE(run.state().scalars.dye);
            continue;
        }
        ASSERT_TRUE(run.state().scalars.dye);
        EXPECT_EQ(run.state().scalars.c[stripColumn][5], 1.0);
        EXPECT_EQ(run.state().scalars.c[stripColumn][0], 0.0);
        EXPECT_EQ(run.state().scalars.c[0][10], 0.0);
        EXPECT_EQ(totalDye(run.state()), c.painted);
        cycles(run, 10);
        EXPECT_NEAR(totalDye(run.state()), c.painted, 1e-9 * c.painted);
        EXPECT_LT(run.state().scalars.c[stripColumn][5], 1.0);  // carried on
        EXPECT_FALSE(run.unstable());
        EXPECT_EQ(grid.scalars.dye, c.carried == Carried::Dye);  // the caller's grid is never written

        run.rebuild();
        ASSERT_TRUE(run.state().scalars.dye);
        EXPECT_EQ(totalDye(run.state()), c.painted);
        EXPECT_EQ(run.state().scalars.c[stripColumn][5], 1.0);
        EXPECT_EQ(run.state().scalars.c[stripColumn][0], 0.0);
    }
}

// A run that owns its grid rebuilds from its copy, whatever becomes of the
// grid it was given.
TEST(PaintedFlow, ARunOwningItsGridRebuildsFromItsCopy)
{
    auto grid = std::make_unique<Grid>();
    makeChannel(*grid, 60, 20);
    SimulationRun run(*grid, SolverSettings{});
    run.ownTheGrid();
    grid->setCell(stripColumn, 5, CELL_NOSLIP_WALL);
    grid.reset();
    run.rebuild();
    run.step();
    EXPECT_EQ(run.state().flags[stripColumn][5] & CELL_NOSLIP_WALL, 0);
    EXPECT_EQ(run.editedGrid().NX, 60);
}
