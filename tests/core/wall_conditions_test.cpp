#include "core/flow_solver.h"
#include "reference_step.h"
#include "support/scenario_grids.h"

#include <gtest/gtest.h>

namespace {

// A fluid grid whose u, v, p hold distinct non-zero values, so that every
// write of the wall conditions shows.
class WallConditions : public ::testing::Test {
protected:
    void makeGrid(int NX, int NY)
    {
        makeFluidGrid(grid, NX, NY);
        for (int i = 0; i < NX; ++i)
            for (int j = 0; j < NY; ++j) {
                grid.u[i][j] = 1.0 + i * 0.01 + j * 0.0001;
                grid.v[i][j] = 2.0 + i * 0.01 + j * 0.0001;
            }
    }
    // Copies the grid as a solver does, sets p to distinct values too, then
    // runs one planned wall pass on (u, v, p).
    SimGrid& applyOnce()
    {
        state = copyForSolver(grid);
        SimGrid& g = *state;
        for (int i = 0; i < g.NX; ++i)
            for (int j = 0; j < g.NY; ++j)
                g.p[i][j] = 3.0 + i * 0.01 + j * 0.0001;
        applyWallPlan(planWallConditions(g.flags, g.NX, g.NY), g.u, g.v, g.p);
        return g;
    }
    Grid grid;
    std::unique_ptr<SimGrid> state;
};

}  // namespace

TEST_F(WallConditions, GridWithoutWallsIsNotWritten)
{
    makeGrid(20, 20);
    grid.setCell(0, 5, CELL_INFLOW);
    grid.setCell(19, 5, CELL_OUTFLOW);
    SimGrid& g = applyOnce();
    for (int i = 0; i < 20; ++i)
        for (int j = 0; j < 20; ++j) {
            ASSERT_EQ(g.u[i][j], grid.u[i][j]);
            ASSERT_EQ(g.v[i][j], grid.v[i][j]);
            ASSERT_EQ(g.p[i][j], 3.0 + i * 0.01 + j * 0.0001);
        }
}

TEST_F(WallConditions, SingleWallCellIsClosedOnAllFourFaces)
{
    for (int word : {CELL_NOSLIP_WALL, CELL_SLIP_WALL, CELL_MOVING_WALL}) {
        makeGrid(40, 20);
        grid.setCell(10, 10, word);
        SimGrid& g = applyOnce();
        EXPECT_EQ(g.u[9][10], 0.0) << word;
        EXPECT_EQ(g.u[10][10], 0.0) << word;
        EXPECT_EQ(g.v[10][9], 0.0) << word;
        EXPECT_EQ(g.v[10][10], 0.0) << word;
        EXPECT_EQ(g.p[10][10], g.p[11][10]) << word;  // the west case of (11, 10) writes last
    }
}

// A no-slip wall met before any other wall in the scan used to act as a
// slip wall: the factor now comes from the wall that is written.
TEST_F(WallConditions, NoSlipWallNeverSlipsWhateverTheScanMetFirst)
{
    makeGrid(20, 20);
    for (int j = 3; j <= 8; ++j)
        grid.setCell(6, j, CELL_NOSLIP_WALL);
    SimGrid& g = applyOnce();
    EXPECT_EQ(g.v[6][5], 0.0);  // tangential faces inside the wall column
    EXPECT_EQ(g.v[6][4], 0.0);
    EXPECT_EQ(g.u[5][5], 0.0);  // shared faces
    EXPECT_EQ(g.u[6][5], 0.0);
}

TEST_F(WallConditions, SlipWallMirrorsTheTangentialVelocity)
{
    makeGrid(20, 20);
    for (int j = 3; j <= 8; ++j)
        grid.setCell(6, j, CELL_SLIP_WALL);
    SimGrid& g = applyOnce();
    // (7, 5) is visited after (5, 5) and its west case writes last.
    EXPECT_EQ(g.v[6][5], grid.v[7][5]);
    EXPECT_EQ(g.v[6][4], grid.v[7][4]);
    EXPECT_EQ(g.u[6][5], 0.0);
}

TEST_F(WallConditions, AllFourSidesOfABlockTakeTheirWallsFactor)
{
    for (int word : {CELL_NOSLIP_WALL, CELL_SLIP_WALL}) {
        makeGrid(30, 20);
        for (int i = 10; i <= 12; ++i)
            for (int j = 8; j <= 10; ++j)
                grid.setCell(i, j, word);
        SimGrid& g = applyOnce();
        const bool slip = word == CELL_SLIP_WALL;
        // west side (east case of (9, 9)) and east side (west case of (13, 9))
        EXPECT_EQ(g.v[10][9], slip ? grid.v[9][9] : 0.0);
        EXPECT_EQ(g.v[12][9], slip ? grid.v[13][9] : 0.0);
        // south side (north case of (11, 7)) and north side (south case of (11, 11))
        EXPECT_EQ(g.u[11][8], slip ? grid.u[11][7] : 0.0);
        EXPECT_EQ(g.u[11][10], slip ? grid.u[11][11] : 0.0);
        // pressure copied outward from each side
        EXPECT_EQ(g.p[10][9], g.p[9][9]);
        EXPECT_EQ(g.p[12][9], g.p[13][9]);
        EXPECT_EQ(g.p[11][8], g.p[11][7]);
        EXPECT_EQ(g.p[11][10], g.p[11][11]);
    }
}

TEST_F(WallConditions, MovingLidKeepsItsSpeedOnEveryBorder)
{
    makeGrid(24, 20);
    for (int i = 0; i < 24; ++i) {
        grid.setCell(i, 19, CELL_MOVING_WALL);
        grid.u[i][19] = 1.0;
        grid.setCell(i, 0, CELL_MOVING_WALL);
        grid.u[i][0] = -1.0;
    }
    for (int j = 1; j < 19; ++j) {
        grid.setCell(23, j, CELL_MOVING_WALL);
        grid.v[23][j] = 0.5;
        grid.setCell(0, j, CELL_MOVING_WALL);
        grid.v[0][j] = -0.5;
    }
    SimGrid& g = applyOnce();
    for (int i = 0; i < 23; ++i) {
        EXPECT_EQ(g.u[i][19], 1.0) << i;
        EXPECT_EQ(g.u[i][0], -1.0) << i;
    }
    for (int j = 1; j < 18; ++j) {
        EXPECT_EQ(g.v[23][j], 0.5) << j;
        EXPECT_EQ(g.v[0][j], -0.5) << j;
    }
    for (int i = 2; i <= 21; ++i) {
        EXPECT_EQ(g.v[i][18], 0.0);  // no flow through the lid
        EXPECT_EQ(g.v[i][0], 0.0);
        EXPECT_EQ(g.p[i][19], g.p[i][18]);
    }
    EXPECT_EQ(g.u[22][10], 0.0);
    EXPECT_EQ(g.p[23][10], g.p[22][10]);  // the east border is treated too
}

TEST_F(WallConditions, CornerCellIsClosedOnBothWallFaces)
{
    makeGrid(20, 20);
    grid.setCell(11, 10, CELL_NOSLIP_WALL);
    grid.setCell(10, 11, CELL_NOSLIP_WALL);
    SimGrid& g = applyOnce();
    EXPECT_EQ(g.u[10][10], 0.0);
    EXPECT_EQ(g.v[10][10], 0.0);
}

TEST_F(WallConditions, WallBesideInflowOrOutflowIsClosed)
{
    makeGrid(20, 20);
    grid.setCell(0, 5, CELL_INFLOW);
    grid.setCell(0, 6, CELL_NOSLIP_WALL);
    grid.setCell(19, 5, CELL_OUTFLOW);
    grid.setCell(18, 5, CELL_SLIP_WALL);
    SimGrid& g = applyOnce();
    EXPECT_EQ(g.v[0][5], 0.0);
    EXPECT_EQ(g.u[18][5], 0.0);
}

// With a default velocity written into every fluid cell, including the ones
// beside walls, nothing may flow through any wall face, now or later.
TEST(NoFlowThroughWalls, HoldsFromTheBuildThroughManySteps)
{
    Grid g;
    makeCavityScenario(g, 30, 20);
    for (int i = 12; i <= 14; ++i)
        for (int j = 6; j <= 9; ++j)
            g.setCell(i, j, CELL_NOSLIP_WALL);
    g.setCell(20, 12, CELL_SLIP_WALL);
    g.setCell(5, 15, CELL_MOVING_WALL);
    writeDefaultVelocities(g, 3.0, 2.0);
    auto s = buildSolver(g, 200, 0.001);
    auto check = [&](const char* when) {
        const SimGrid& sg = s->state();
        for (int i = 0; i < 30; ++i)
            for (int j = 0; j < 20; ++j) {
                const bool wall = isWall(sg.flags[i][j]);
                if (i + 1 < 30 && wall != isWall(sg.flags[i + 1][j])) {
                    ASSERT_EQ(sg.u[i][j], 0.0) << when << " u " << i << "," << j;
                    ASSERT_EQ(sg.F[i][j], 0.0) << when << " F " << i << "," << j;
                }
                if (j + 1 < 20 && wall != isWall(sg.flags[i][j + 1])) {
                    ASSERT_EQ(sg.v[i][j], 0.0) << when << " v " << i << "," << j;
                    ASSERT_EQ(sg.G[i][j], 0.0) << when << " G " << i << "," << j;
                }
            }
    };
    check("build");
    for (int n = 0; n < 100; ++n)
        s->step();
    check("after 100 steps");
}

// A channel with no-slip walls used to show full speed along its south wall
// upstream of the first obstacle: the flow must slow toward both walls.
TEST(NoFlowThroughWalls, ChannelSlowsDownAtBothWalls)
{
    Grid g;
    makeChannelScenario(g, 40, 20);
    writeDefaultVelocities(g, 1.0, 0.0);
    auto s = buildSolver(g, 100, 0.003);
    for (int n = 0; n < 300; ++n)
        s->step();
    const SimGrid& sg = s->state();
    for (int i : {3, 30}) {
        EXPECT_LT(sg.u[i][1], sg.u[i][10]) << i;
        EXPECT_LT(sg.u[i][18], sg.u[i][10]) << i;
        EXPECT_NEAR(sg.u[i][1], sg.u[i][18], 0.1) << i;
    }
}
