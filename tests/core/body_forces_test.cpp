// Bodies, their forces and point probes.
#include "core/body_forces.h"
#include "core/flow_solver.h"
#include "core/probe.h"
#include "support/scenario_grids.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A channel 2 x 1 of 60 x 30 square cells: no-slip walls south and north,
// inflow west with inflowAt(j), outflow east, and optionally a no-slip
// square of 4 x 4 cells (i = 15..18, j = 13..16).
template <class Inflow>
void makeTestChannel(Grid& g, bool square, Inflow inflowAt)
{
    makeFluidGrid(g, 60, 30);
    for (int32_t i = 0; i < g.NX; ++i) {
        g.setCell(i, 0, CELL_NOSLIP_WALL);
        g.setCell(i, g.NY - 1, CELL_NOSLIP_WALL);
    }
    for (int32_t j = 1; j < g.NY - 1; ++j) {
        g.setCell(0, j, CELL_INFLOW);
        g.u[0][j] = inflowAt(j);
        g.setCell(g.NX - 1, j, CELL_OUTFLOW);
    }
    if (square)
        for (int32_t i = 15; i <= 18; ++i)
            for (int32_t j = 13; j <= 16; ++j) g.setCell(i, j, CELL_NOSLIP_WALL);
    writeDefaultVelocities(g, 0.0, 0.0);
}

std::unique_ptr<FlowSolver> runToSteady(const Grid& g, int reynolds, int steps)
{
    // The forward-Euler central step: its walls sit at the wall-cell centres.
    SolverSettings settings;
    settings.reynolds = reynolds;
    settings.convection = Convection::Central;
    settings.automaticDt = true;
    auto solver = std::make_unique<FlowSolver>(g, settings);
    for (int n = 0; n < steps; ++n) solver->step();
    return solver;
}

double centreU(const Grid& g, int32_t i, int32_t j) { return 0.5 * (g.u[i - 1][j] + g.u[i][j]); }

// The x-force on whatever lies inside the box of open cells i0..i1 x j0..j1
// from a steady momentum balance of the box: the force of the fluid outside
// on the box faces minus the x-momentum leaving through them.
double boxMomentumBalance(const Grid& g, double Re, int32_t i0, int32_t i1, int32_t j0, int32_t j1)
{
    double force = 0.0;
    for (int32_t j = j0; j <= j1; ++j)  // east (n = +x) and west (n = -x) faces
        for (const auto& [iu, sign] : {std::pair<int32_t, int>{i1, 1}, {i0 - 1, -1}}) {
            const double u = g.u[iu][j];
            const double p = 0.5 * (g.p[iu][j] + g.p[iu + 1][j]);
            const double dudx = (g.u[iu + 1][j] - g.u[iu - 1][j]) / (2.0 * g.dx);
            force += sign * (-u * u - p + 2.0 / Re * dudx) * g.dy;
        }
    for (int32_t i = i0; i <= i1; ++i)  // north (n = +y) and south (n = -y) faces
        for (const auto& [jv, sign] : {std::pair<int32_t, int>{j1, 1}, {j0 - 1, -1}}) {
            const double u = 0.5 * (centreU(g, i, jv) + centreU(g, i, jv + 1));
            const double v = g.v[i][jv];
            const double dudy = (centreU(g, i, jv + 1) - centreU(g, i, jv)) / g.dy;
            const double dvdx = (g.v[i + 1][jv] - g.v[i - 1][jv]) / (2.0 * g.dx);
            force += sign * (-u * v + (dudy + dvdx) / Re) * g.dx;
        }
    return force;
}

}  // namespace

TEST(Bodies, InnerGroupsLargestFirstThenAllWalls)
{
    Grid g;
    makeFluidGrid(g, 20, 20);
    for (int32_t i = 0; i < 20; ++i) g.setCell(i, 0, CELL_NOSLIP_WALL);       // border: no body
    g.setCell(3, 3, CELL_SLIP_WALL);                                            // one cell
    for (int32_t j = 8; j <= 10; ++j) g.setCell(12, j, CELL_MOVING_WALL);       // three cells
    g.setCell(13, 9, CELL_NOSLIP_WALL);                                         // joins them: four
    g.setCell(4, 4, CELL_NOSLIP_WALL);                                          // diagonal: separate
    const std::vector<Body> bodies = findBodies(g);
    ASSERT_EQ(bodies.size(), 4u);
    EXPECT_EQ(bodies[0].cells, 4);
    EXPECT_DOUBLE_EQ(bodies[0].height, 3 * g.dy);
    EXPECT_EQ(bodies[0].faces.size(), 10u);
    EXPECT_EQ(bodies[1].cells, 1);
    EXPECT_EQ(bodies[2].cells, 1);
    EXPECT_TRUE(bodies[3].allWalls);
    EXPECT_EQ(bodies[3].cells, 26);
}

// Plane Poiseuille flow fed with its own profile: the no-slip value sits at
// the wall cells' centres, so H = (NY - 1) dy is the distance between them
// and s the distance from the south one; U is the mean speed. The shear of
// both walls together, per unit length, is 2 * 6 U / (Re H), taken over the
// developed columns 10..40 (the outflow column bends the profile). The
// discrete flux is the exact shear half a cell from the wall, dy/H = 3.4 %
// below the wall value here.
TEST(BodyForces, DevelopedChannelWallFriction)
{
    Grid g;
    const double H = 29.0 / 30.0, U = 1.0, Re = 20.0;
    makeTestChannel(g, false, [&](int32_t j) {
        const double s = j / 30.0;
        return 6.0 * U * s * (H - s) / (H * H);
    });
    const auto solver = runToSteady(g, 20, 1500);
    const std::vector<Body> bodies = findBodies(solver->state());
    ASSERT_EQ(bodies.size(), 1u);
    Body section = bodies[0];
    section.faces.clear();
    section.viscousFaces.clear();
    for (const ViscousFace& f : bodies[0].viscousFaces)
        if (f.i >= 10 && f.i <= 40) section.viscousFaces.push_back(f);
    const BodyForce f = bodyForce(solver->state(), section, Re);
    const double perLength = f.fx / (31 * g.dx);
    EXPECT_NEAR(perLength, 12.0 * U / (Re * H), 0.04 * 12.0 * U / (Re * H));
    EXPECT_NEAR(bodyForce(solver->state(), bodies[0], Re).fy, 0.0, 1e-6);
}

// The same friction with the walls on the faces (the projection method):
// the channel is NY - 2 rows high, and the shear of a u face beside a wall
// is taken over the half cell to the wall face. A channel fed with a
// uniform 1 develops the mean speed 1; the flux is the shear a quarter cell
// from the wall, about dy / (2 H) = 1.8 % below the wall value here.
TEST(BodyForces, DevelopedChannelWallFrictionWithWallsOnTheFaces)
{
    Grid grid;
    makeOpenChannel(grid, 100, 30, CELL_NOSLIP_WALL);
    SolverSettings settings;
    settings.reynolds = 20;
    settings.convection = Convection::RungeKutta;
    settings.automaticDt = true;
    settings.pressure = PressureSolver::Multigrid;
    FlowSolver solver(grid, settings);
    for (int n = 0; n < 400; ++n)
        solver.step();
    const std::vector<Body> bodies = findBodies(solver.state());
    ASSERT_EQ(bodies.size(), 1u);
    Body section = bodies[0];
    section.faces.clear();
    section.viscousFaces.clear();
    for (const ViscousFace& f : bodies[0].viscousFaces)
        if (f.i >= 60 && f.i <= 90) section.viscousFaces.push_back(f);
    const double H = 28.0 / 30.0, exact = 12.0 / (20.0 * H);
    const double perLength = bodyForce(solver.state(), section, 20.0, true).fx / (31 * grid.dx);
    EXPECT_NEAR(perLength, exact, 0.03 * exact);
    // Taken as if the walls sat at the wall-cell centres, it is half that.
    EXPECT_NEAR(bodyForce(solver.state(), section, 20.0, false).fx / (31 * grid.dx), 0.5 * perLength, 1e-12);
}

// The force of the steady flow past a square, from its surface, against the
// x-momentum balance of boxes of open cells round it: what enters minus what
// leaves plus the pressure and viscous forces on the box faces.
TEST(BodyForces, SurfaceIntegralMatchesBoxMomentumBalance)
{
    Grid g;
    makeTestChannel(g, true, [](int32_t) { return 1.0; });
    const double Re = 20.0;
    const auto solver = runToSteady(g, 20, 2000);
    const Grid& s = solver->state();
    const std::vector<Body> bodies = findBodies(s);
    ASSERT_EQ(bodies.size(), 2u);
    const BodyForce f = bodyForce(s, bodies[0], Re);
    EXPECT_GT(f.fx, 0.0);
    const int32_t boxes[][4] = {{14, 19, 12, 17}, {11, 23, 9, 20}, {8, 30, 5, 24}};
    for (const auto& b : boxes) {
        const double balance = boxMomentumBalance(s, Re, b[0], b[1], b[2], b[3]);
        EXPECT_NEAR(f.fx, balance, 0.02 * std::fabs(balance)) << b[0] << ".." << b[1];
    }
    // A box beside the body holds no force.
    EXPECT_NEAR(boxMomentumBalance(s, Re, 30, 40, 5, 24), 0.0, 0.005 * f.fx);
    EXPECT_DOUBLE_EQ(setUpReferenceSpeed(g), 1.0);
    EXPECT_DOUBLE_EQ(forceCoefficient(f.fx, 1.0, bodies[0].height), 2.0 * f.fx / (4.0 / 30.0));
}

// A field linear in x and y is reproduced exactly wherever it is sampled
// inside the stored points, each from its own staggered positions.
TEST(Probe, BilinearFromEachStoredPosition)
{
    Grid g;
    makeFluidGrid(g, 12, 6);
    auto field = [](double x, double y, double a) { return a + 2.0 * x - 3.0 * y; };
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j) {
            g.u[i][j] = field((i + 1.0) * g.dx, (j + 0.5) * g.dy, 1.0);
            g.v[i][j] = field((i + 0.5) * g.dx, (j + 1.0) * g.dy, 2.0);
            g.p[i][j] = field((i + 0.5) * g.dx, (j + 0.5) * g.dy, 3.0);
        }
    const double points[][2] = {{1.05, 0.5}, {0.3, 0.27}, {1.5, 0.8}, {1.0, 0.5}};
    for (const auto& pt : points) {
        const ProbeValues values = sampleProbe(g, pt[0], pt[1]);
        EXPECT_NEAR(values.u, field(pt[0], pt[1], 1.0), 1e-12) << pt[0] << "," << pt[1];
        EXPECT_NEAR(values.v, field(pt[0], pt[1], 2.0), 1e-12);
        EXPECT_NEAR(values.p, field(pt[0], pt[1], 3.0), 1e-12);
    }
    const ProbeValues corner = sampleProbe(g, 0.0, 0.0);  // beyond the first u: nearest kept
    EXPECT_DOUBLE_EQ(corner.u, g.u[0][0]);
}
