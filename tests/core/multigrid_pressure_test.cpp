// The multigrid pressure solver against the Gauss-Seidel sweeps on the same
// flows: it must leave no more divergence after a step and reach the same
// fields.
#include "core/cell_flags.h"
#include "core/face_boundaries.h"
#include "core/flow_check.h"
#include "core/flow_solver.h"
#include "core/solver_constants.h"
#include "io/grid_file.h"
#include "support/scenario_grids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// A channel whose flow must pass a wall with a single open cell in it.
void makeOneCellGap(Grid& g, int NX, int NY)
{
    makeChannelScenario(g, NX, NY);
    for (int j = 1; j <= NY - 2; ++j)
        if (j != NY / 2)
            g.setCell(NX / 2, j, CELL_NOSLIP_WALL);
}

// A cavity holding a fluid pocket walled off from the rest of the flow.
void makeClosedRegion(Grid& g, int NX, int NY)
{
    makeCavityScenario(g, NX, NY);
    for (int i = 4; i <= 12; ++i) {
        g.setCell(i, 4, CELL_NOSLIP_WALL);
        g.setCell(i, 12, CELL_NOSLIP_WALL);
    }
    for (int j = 4; j <= 12; ++j) {
        g.setCell(4, j, CELL_NOSLIP_WALL);
        g.setCell(12, j, CELL_NOSLIP_WALL);
    }
}

struct FlowSetUp {
    std::string name;
    std::function<bool(Grid&)> build;
};

std::function<bool(Grid&)> exampleGrid(const std::string& file)
{
    return [file](Grid& g) {
        GridFileSettings settings;
        return readGridFile(std::string(KELVO_GRIDS_DIR) + "/" + file, g, settings) == GridFileStatus::Ok;
    };
}

const FlowSetUp flowSetUps[] = {
    {"cavity 64x64", [](Grid& g) { makeLidCavity(g, 64); return true; }},
    {"odd cavity 37x23", [](Grid& g) { makeCavityScenario(g, 37, 23); return true; }},
    {"channel 101x33", [](Grid& g) { makeChannelScenario(g, 101, 33); return true; }},
    {"one-cell gap 61x21", [](Grid& g) { makeOneCellGap(g, 61, 21); return true; }},
    {"closed region 29x31", [](Grid& g) { makeClosedRegion(g, 29, 31); return true; }},
    {"example cavity", exampleGrid("cavity.grid")},
    {"example channel", exampleGrid("channel.grid")},
    {"example step", exampleGrid("step.grid")},
};

FlowSolver solverFor(const Grid& g, Convection method, PressureSolver pressure)
{
    SolverSettings settings;
    settings.convection = method;
    settings.pressure = pressure;
    return FlowSolver(g, settings);
}

double largestSpeed(const Grid& g)
{
    double largest = 0.0;
    for (int i = 0; i < g.NX; ++i)
        for (int j = 0; j < g.NY; ++j)
            largest = std::max({largest, std::fabs(g.u[i][j]), std::fabs(g.v[i][j])});
    return largest;
}

double largestDifference(const Array2D<double>& a, const Array2D<double>& b, int NX, int NY)
{
    double largest = 0.0;
    for (int i = 0; i < NX; ++i)
        for (int j = 0; j < NY; ++j)
            largest = std::max(largest, std::fabs(a[i][j] - b[i][j]));
    return largest;
}

}  // namespace

// Both solvers stop on the same rule, the divergence left in any open cell,
// so both leave every open cell below it from the first step and reach the
// same fields, with the projection method and the central Euler step alike.
TEST(MultigridPressure, MatchesGaussSeidelOnEverySetUp)
{
    for (const FlowSetUp& setUp : flowSetUps)
        for (Convection method : {Convection::RungeKutta, Convection::Central}) {
            SCOPED_TRACE(setUp.name + (method == Convection::Central ? " central" : " rk3"));
            Grid g;
            ASSERT_TRUE(setUp.build(g));
            // The sweeps need thousands of passes a step on the larger grids.
            if (g.NX * g.NY > 1500)
                continue;
            FlowSolver sweeps = solverFor(g, method, PressureSolver::GaussSeidel);
            FlowSolver multigrid = solverFor(g, method, PressureSolver::Multigrid);
            for (int step = 0; step < 6; ++step) {
                const StepReport swept = sweeps.step();
                const StepReport cycled = multigrid.step();
                ASSERT_TRUE(swept.converged && cycled.converged);
                EXPECT_GT(swept.sweeps, 0);
                EXPECT_EQ(cycled.sweeps, 0);
                EXPECT_LE(sweeps.largestDivergence(), solver_constants::divergenceLimit * 1.001);
                EXPECT_LE(multigrid.largestDivergence(), solver_constants::divergenceLimit * 1.001);
            }
            const SimGrid& a = sweeps.state();
            const SimGrid& b = multigrid.state();
            const double allowed = 1e-5 * largestSpeed(a);
            EXPECT_LT(largestDifference(a.u, b.u, a.NX, a.NY), allowed);
            EXPECT_LT(largestDifference(a.v, b.v, a.NX, a.NY), allowed);
        }
}

bool sameBits(const Array2D<double>& a, const Array2D<double>& b, int NX, int NY)
{
    for (int i = 0; i < NX; ++i)
        if (std::memcmp(a[i], b[i], sizeof(double) * NY) != 0)
            return false;
    return true;
}

struct ThreadedSetUp {
    std::string name;
    std::function<void(Grid&)> build;
    SolverSettings settings;
};

SolverSettings multigridWith(Convection convection, bool automaticDt)
{
    SolverSettings settings;
    settings.convection = convection;
    settings.automaticDt = automaticDt;
    settings.pressure = PressureSolver::Multigrid;
    return settings;
}

// Large enough that the finest levels are split among the threads, with
// row counts that leave a short last band.
const ThreadedSetUp threadedSetUps[] = {
    {"cavity 421x331 central", [](Grid& g) { makeCavityScenario(g, 421, 331); }, multigridWith(Convection::Central, false)},
    {"channel 620x230 blended, automatic dt", [](Grid& g) { makeChannelScenario(g, 620, 230); },
     multigridWith(Convection::UpwindBlended, true)},
    {"one-cell gap 471x301 designed", [](Grid& g) { makeOneCellGap(g, 471, 301); },
     multigridWith(Convection::Designed, false)},
};

// Run again, and on more threads, a solver takes the same iterations and
// reaches the same bits: on one thread every level is smoothed with the
// second colour a row behind the first, on more the large levels colour by
// colour in bands.
TEST(MultigridPressure, SameBitsWithAnyNumberOfThreads)
{
    for (const ThreadedSetUp& setUp : threadedSetUps) {
        SCOPED_TRACE(setUp.name);
        Grid g;
        setUp.build(g);
        FlowSolver reference(g, setUp.settings);
        reference.setThreads(1);
        std::vector<int> cycles;
        for (int step = 0; step < 6; ++step)
            cycles.push_back(reference.step().cycles);
        for (int threads : {1, 2, 3}) {
            SCOPED_TRACE(threads);
            FlowSolver solver(g, setUp.settings);
            solver.setThreads(threads);
            for (int step = 0; step < 6; ++step)
                EXPECT_EQ(solver.step().cycles, cycles[step]);
            const SimGrid& a = reference.state();
            const SimGrid& b = solver.state();
            EXPECT_TRUE(sameBits(a.u, b.u, g.NX, g.NY));
            EXPECT_TRUE(sameBits(a.v, b.v, g.NX, g.NY));
            EXPECT_TRUE(sameBits(a.p, b.p, g.NX, g.NY));
        }
    }
}

namespace {

// b = A x for the operator as MultigridPressure reads it: each cell's own
// west and south couplings, and its east and north ones from the neighbour.
std::vector<double> applyOperator(const CellOperator& op, int NX, const std::vector<double>& x)
{
    std::vector<double> b(x.size(), 0.0);
    for (size_t k = 0; k < x.size(); ++k) {
        if (op.diag[k] == 0.0)
            continue;
        b[k] = op.diag[k] * x[k] - op.west[k] * x[k - 1] - op.south[k] * x[k - NX];
        if (k + 1 < x.size())
            b[k] -= op.west[k + 1] * x[k + 1];
        if (k + NX < x.size())
            b[k] -= op.south[k + NX] * x[k + NX];
    }
    return b;
}

struct IterationCase {
    std::string name;
    std::function<void(Grid&)> build;
    int mostIterations;
};

}  // namespace

// The projection method's pressure operator (zero gradient at every wall,
// inflow and outflow, so singular) on open boxes, obstacles, a one-cell gap
// and walled-off pockets: from zero, the interpolated coarse corrections
// reach a residual 1e-10 of the right side in few iterations, and the
// answer satisfies the operator as the test applies it. The limits are
// three above what the bilinear interpolation takes.
TEST(MultigridPressure, FewIterationsOnEveryKindOfRegion)
{
    const IterationCase cases[] = {
        {"cavity 130x130", [](Grid& g) { makeLidCavity(g, 130); }, 14},
        {"odd cavity 37x23", [](Grid& g) { makeCavityScenario(g, 37, 23); }, 17},
        {"channel 201x61", [](Grid& g) { makeChannelScenario(g, 201, 61); }, 15},
        {"one-cell gap 61x21", [](Grid& g) { makeOneCellGap(g, 61, 21); }, 21},
        {"closed region 29x31", [](Grid& g) { makeClosedRegion(g, 29, 31); }, 18},
    };
    for (const IterationCase& c : cases) {
        SCOPED_TRACE(c.name);
        Grid g;
        c.build(g);
        const CellOperator op = pressureOperator(g, planFaceBoundaries(g));
        std::vector<double> wanted(op.diag.size(), 0.0);
        for (size_t k = 0; k < wanted.size(); ++k)
            if (op.diag[k] != 0.0)
                wanted[k] = std::sin(0.37 * static_cast<double>(k)) + 0.001 * static_cast<double>(k % 97);
        const std::vector<double> b = applyOperator(op, g.NX, wanted);
        double largest = 0.0;
        for (double value : b)
            largest = std::max(largest, std::fabs(value));
        const double limit = 1e-10 * largest;
        std::vector<double> x(b.size(), 0.0);
        MultigridPressure solver({op.diag, op.west, op.south}, g.NX, g.NY);
        const int iterations = solver.solveTo(b.data(), x.data(), limit, 200);
        EXPECT_LE(iterations, c.mostIterations);
        const std::vector<double> reached = applyOperator(op, g.NX, x);
        double residual = 0.0;
        for (size_t k = 0; k < b.size(); ++k)
            residual = std::max(residual, std::fabs(b[k] - reached[k]));
        EXPECT_LE(residual, 1.01 * limit);
    }
}
