// The projection method's boundary plan, its pressure solves and its mass
// balance: every neighbourhood of a face, both pressure solvers on a
// closed region, and the divergence left after every step.
#include "core/face_boundaries.h"
#include "core/flow_solver.h"
#include "core/multigrid_pressure.h"
#include "support/scenario_grids.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A 7 x 7 grid of fluid with no-slip walls round it; the cells listed are
// painted, each with its set-up u (a moving wall's speed).
struct Painted {
    int i, j;
    int32_t word;
    double u;
};

void makeBox(Grid& grid, std::initializer_list<Painted> cells)
{
    makeFluidGrid(grid, 7, 7);
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j)
            if (grid.onBorder(i, j))
                grid.setCell(i, j, CELL_NOSLIP_WALL);
    for (const Painted& c : cells) {
        grid.setCell(c.i, c.j, c.word);
        grid.u[c.i][c.j] = c.u;
    }
}

}  // namespace

// The u face between cells (2, 3) and (3, 3) with what lies above and
// below it: the couplings across, the diagonal and the source of its
// Laplacian, in units of 1/dx^2 = 1/dy^2 = a.
TEST(FaceBoundaries, EveryNeighbourhoodOfAUFace)
{
    struct Case {
        const char* name;
        std::initializer_list<Painted> cells;
        double low, high, diag, source;  // / a
    };
    const Case cases[] = {
        {"open all round", {}, 1, 1, -4, 0},
        {"no-slip wall above", {{2, 4, CELL_NOSLIP_WALL, 0}, {3, 4, CELL_NOSLIP_WALL, 0}}, 1, 0, -5, 0},
        {"moving wall above", {{2, 4, CELL_MOVING_WALL, 0.5}, {3, 4, CELL_MOVING_WALL, 0.5}}, 1, 0, -5, 1.0},
        {"slip wall above", {{2, 4, CELL_SLIP_WALL, 0}, {3, 4, CELL_SLIP_WALL, 0}}, 1, 0, -3, 0},
        {"no-slip beats slip", {{2, 4, CELL_SLIP_WALL, 0}, {3, 4, CELL_NOSLIP_WALL, 0}}, 1, 0, -5, 0},
        {"walls above and below",
         {{2, 4, CELL_NOSLIP_WALL, 0}, {3, 4, CELL_NOSLIP_WALL, 0}, {2, 2, CELL_SLIP_WALL, 0}, {3, 2, CELL_SLIP_WALL, 0}},
         0, 0, -4, 0},
        {"a corner above: a wall on one side only", {{2, 4, CELL_NOSLIP_WALL, 0}}, 1, 1, -4, 0},
    };
    for (const Case& c : cases) {
        Grid grid;
        makeBox(grid, c.cells);
        const FaceBoundaries plan = planFaceBoundaries(grid);
        const double a = 1.0 / (grid.dx * grid.dx);
        ASSERT_DOUBLE_EQ(a, 1.0 / (grid.dy * grid.dy));
        EXPECT_EQ(plan.u.unknown[2][3], 1.0) << c.name;
        EXPECT_DOUBLE_EQ(plan.u.low[2][3], c.low * a) << c.name;
        EXPECT_DOUBLE_EQ(plan.u.high[2][3], c.high * a) << c.name;
        EXPECT_DOUBLE_EQ(plan.u.diag[2][3], c.diag * a) << c.name;
        EXPECT_DOUBLE_EQ(plan.u.source[2][3], c.source * a) << c.name;
    }
}

// Which faces are unknown, and what the pressure operator couples, beside
// walls, an inflow and an outflow.
TEST(FaceBoundaries, FacesAndPressureCouplingsBesideEachKindOfCell)
{
    Grid grid;
    makeBox(grid, {{3, 3, CELL_NOSLIP_WALL, 0}, {0, 2, CELL_INFLOW, 1.0}, {6, 2, CELL_OUTFLOW, 0}});
    const FaceBoundaries plan = planFaceBoundaries(grid);
    EXPECT_EQ(plan.u.unknown[2][3], 0.0);  // against the wall cell
    EXPECT_EQ(plan.u.unknown[0][2], 0.0);  // the inflow face
    EXPECT_EQ(plan.u.unknown[5][2], 0.0);  // the outflow face
    EXPECT_EQ(plan.u.unknown[4][2], 1.0);
    ASSERT_EQ(plan.outflow.size(), 1u);
    EXPECT_EQ(plan.outflow[0].i, 5);
    EXPECT_EQ(plan.outflow[0].insideI, 4);
    EXPECT_DOUBLE_EQ(plan.inflowRate, 1.0 * grid.dy);

    const CellOperator op = pressureOperator(grid, plan);
    const double ax = 1.0 / (grid.dx * grid.dx);
    auto k = [&](int i, int j) { return static_cast<size_t>(j) * grid.NX + i; };
    EXPECT_DOUBLE_EQ(op.diag[k(3, 3)], 0.0);      // a wall cell has no unknown
    EXPECT_DOUBLE_EQ(op.diag[k(2, 3)], 3 * ax);   // wall to the east: no coupling there
    EXPECT_DOUBLE_EQ(op.diag[k(1, 2)], 3 * ax);   // inflow to the west: its face is given
    EXPECT_DOUBLE_EQ(op.west[k(1, 2)], 0.0);
    EXPECT_DOUBLE_EQ(op.diag[k(1, 1)], 2 * ax);   // the corner
}

// A closed region has a pressure only up to a constant: both solvers reach
// the same residual limit from the same right side and agree, mean 0.
TEST(MultigridPressure, SingularOperatorSolvedByBothSolvers)
{
    Grid grid;
    makeLidCavity(grid, 24);
    const FaceBoundaries plan = planFaceBoundaries(grid);
    const CellOperator op = pressureOperator(grid, plan);
    const size_t cells = op.diag.size();
    std::vector<double> b(cells, 0.0);
    for (size_t k = 0; k < cells; ++k)
        if (op.diag[k] != 0.0)
            b[k] = std::sin(0.37 * static_cast<double>(k)) + 0.25;  // a mean the solve must take out
    const double limit = 1e-9;
    std::vector<double> byCycles(cells, 0.0), bySweeps(cells, 0.0);
    MultigridPressure cycles({op.diag, op.west, op.south}, grid.NX, grid.NY);
    MultigridPressure sweeps({op.diag, op.west, op.south}, grid.NX, grid.NY);
    EXPECT_LT(cycles.solveTo(b.data(), byCycles.data(), limit, 100), 30);
    EXPECT_LE(cycles.lastResidual(), limit);
    sweeps.sweepTo(b.data(), bySweeps.data(), limit, 100000);
    EXPECT_LE(sweeps.lastResidual(), limit);
    double mean = 0.0, largestGap = 0.0;
    for (size_t k = 0; k < cells; ++k) {
        mean += byCycles[k];
        largestGap = std::max(largestGap, std::fabs(byCycles[k] - bySweeps[k]));
    }
    EXPECT_NEAR(mean, 0.0, 1e-9);
    EXPECT_LT(largestGap, 1e-6);
}

// Mass is kept in every solved cell after every step, from the first, with
// either pressure solver: a channel with a plate (walls, inflow, outflow, a
// body) and a lid-driven cavity.
TEST(ProjectionStep, EverySolvedCellFreeOfDivergenceAfterEveryStep)
{
    for (PressureSolver pressure : {PressureSolver::Multigrid, PressureSolver::GaussSeidel})
        for (bool cavity : {false, true}) {
            Grid grid;
            if (cavity)
                makeLidCavity(grid, 40);
            else
                makeChannelScenario(grid, 60, 20);
            SolverSettings settings;
            settings.reynolds = 400;
            settings.convection = Convection::RungeKutta;
            settings.automaticDt = true;
            settings.pressure = pressure;
            FlowSolver solver(grid, settings);
            EXPECT_LE(solver.largestDivergence(), 1e-6) << "the starting field";
            for (int n = 0; n < 30; ++n) {
                const StepReport report = solver.step();
                ASSERT_TRUE(report.converged);
                ASSERT_LE(solver.largestDivergence(), 1e-6) << "step " << n << " cavity " << cavity;
            }
        }
}
