// Heat and dye carried by the projection method: the limited face values,
// bounds and totals of dye, and conduction to the exact profile.
#include "core/field_extremes.h"
#include "core/flow_solver.h"
#include "core/scalar_transport.h"
#include "core/wall_heat.h"
#include "io/example_grids.h"

#include "support/steady_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

struct DyeFigures {
    double lowest = HUGE_VAL, highest = -HUGE_VAL, total = 0.0;
};

DyeFigures dyeFigures(const Grid& g)
{
    DyeFigures f;
    for (int32_t i = 1; i <= g.NX - 2; ++i)
        for (int32_t j = 1; j <= g.NY - 2; ++j)
            if (isOpen(g.flags[i][j])) {
                f.lowest = std::min(f.lowest, g.scalars.c[i][j]);
                f.highest = std::max(f.highest, g.scalars.c[i][j]);
                f.total += g.scalars.c[i][j];
            }
    return f;
}

}  // namespace

TEST(ScalarTransport, LimitedFaceValueStaysBetweenItsNeighbours)
{
    struct Case {
        double upwind, farUpwind, downwind, expected;
    };
    const Case cases[] = {
        {1.0, 0.0, 2.0, 1.5},     // a straight line: the face value exactly
        {1.0, 0.9, 2.0, 1.1},     // steep ahead: twice the slope behind
        {1.0, 0.0, 1.1, 1.1},     // steep behind: no further than the downwind value
        {1.0, 0.0, 0.5, 1.0},     // a peak: upwind, no new extreme
        {1.0, 1.0, 3.0, 1.0},     // flat behind: upwind
        {-1.0, 0.0, -2.0, -1.5},  // falling
    };
    for (const Case& c : cases)
        EXPECT_NEAR(limitedFaceValue(c.upwind, c.farUpwind, c.downwind), c.expected, 1e-15)
            << c.upwind << " " << c.farUpwind << " " << c.downwind;
}

// A square of dye stirred by the lid of a closed cavity: every value stays
// in 0..1 and the total in the box does not change.
TEST(ScalarTransport, DyeInAClosedBoxKeepsItsBoundsAndItsTotal)
{
    ExampleGrid e = cavityExample();
    Grid& g = e.grid;
    enableDye(g.scalars, g.NX, g.NY);
    for (int i = 4; i <= 9; ++i)
        for (int j = 10; j <= 15; ++j)
            g.scalars.c[i][j] = 1.0;
    writeDefaultVelocities(g, 0.0, 0.0);
    FlowSolver solver(g, projectionSettings(100));
    const double start = dyeFigures(solver.state()).total;
    for (int n = 0; n < 2000; ++n)
        solver.step();
    const DyeFigures end = dyeFigures(solver.state());
    EXPECT_GE(end.lowest, 0.0);
    EXPECT_LE(end.highest, 1.0);
    EXPECT_NEAR(end.total / start, 1.0, 1e-10);
    EXPECT_LT(end.highest, 0.999);  // stirred and spread, not held still
    ASSERT_NE(solver.transport(), nullptr);
    EXPECT_GT(solver.transport()->lastSubsteps(), 1);  // the step runs past the limit of one stage
}

// Dye brought in by the inflow in bands of 2 cells keeps within 0..1 all
// the way through the channel and leaves through the outflow.
TEST(ScalarTransport, InflowBandsStayWithinBoundsThroughTheChannel)
{
    ExampleGrid e = channelExample();
    Grid& g = e.grid;
    enableDye(g.scalars, g.NX, g.NY);
    g.scalars.dyeSettings.bandWidth = 2;
    writeDefaultVelocities(g, 1.0, 0.0);
    FlowSolver solver(g, projectionSettings(100));
    for (int n = 0; n < 1500; ++n) {
        solver.step();
        const DyeFigures f = dyeFigures(solver.state());
        ASSERT_GE(f.lowest, -1e-14) << n;
        ASSERT_LE(f.highest, 1.0 + 1e-14) << n;
    }
    const SimGrid& s = solver.state();
    double leaving = 0.0;
    for (int32_t j = 1; j <= s.NY - 2; ++j)
        leaving += s.scalars.c[s.NX - 2][j];
    EXPECT_GT(leaving, 1.0);
    EXPECT_EQ(s.scalars.c[0][1], 1.0);  // the first band carries dye
    EXPECT_EQ(s.scalars.c[0][3], 0.0);  // the second none
}

// No buoyancy (Ra 0) between a wall at 1 and one at 0: the fluid stays at
// rest and the temperature settles to the straight conduction profile, so
// each wall's Nusselt number is 1 and the two balance.
TEST(ScalarTransport, ConductionBetweenTwoWallsGivesNusseltOne)
{
    ExampleGrid e = heatedCavityExample(18, 0.0);
    FlowSolver solver(e.grid, projectionSettings(10.0));
    for (int n = 0; n < 400; ++n)
        solver.step();
    const SimGrid& s = solver.state();
    const HeatScales scales = heatScalesFor(s.scalars, s.flags, s.NX, s.NY, s.dy, 10.0);
    const std::vector<HeatedWall> walls = findHeatedWalls(s);
    ASSERT_EQ(walls.size(), 2u);
    EXPECT_EQ(walls[0].temperature, 1.0);
    EXPECT_EQ(walls[0].faces.size(), 16u);
    EXPECT_NEAR(meanNusselt(s, walls[0], scales), 1.0, 1e-6);
    EXPECT_NEAR(meanNusselt(s, walls[1], scales), -1.0, 1e-6);
    for (int i = 1; i <= 16; ++i)
        EXPECT_NEAR(s.scalars.T[i][9], 1.0 - (i - 0.5) / 16.0, 1e-6) << i;
    EXPECT_LT(fieldExtremes(s).fastest.v, 1e-12);
}
