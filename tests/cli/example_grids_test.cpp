// The shipped example grids: regenerated files match the committed ones, and
// each example runs stably with the editor's default time step.
#include "cli/batch_options.h"
#include "sim/batch_run.h"
#include "io/example_grids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace {

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs an example as kelvo-batch would, for steps steps after the build step.
std::unique_ptr<BatchRun> runExample(ExampleGrid e, long long steps)
{
    BatchOptions options;
    options.dt = 0.003;
    auto run = std::make_unique<BatchRun>(e.grid, resolveParameters(options, e.settings));
    for (long long n = 0; n < steps; ++n)
        run->advance();
    return run;
}

}  // namespace

TEST(ExampleGrids, CommittedFilesMatchTheGenerator)
{
    const std::string dir = "regenerated_grids";
    mkdir(dir.c_str(), 0777);
    const std::string command = std::string("'") + KELVO_MAKE_GRIDS_EXE + "' " + dir + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* name : {"channel.grid", "cavity.grid", "step.grid", "square_cylinder.grid", "airfoil.grid",
                             "square_cylinder_streaks.grid"}) {
        const std::string fresh = readText(dir + "/" + name);
        EXPECT_FALSE(fresh.empty()) << name;
        EXPECT_EQ(fresh, readText(std::string(KELVO_GRIDS_DIR) + "/" + name)) << name;
    }
}

TEST(ExampleGrids, EachRunsFiniteWithoutHittingTheSweepCap)
{
    for (ExampleGrid& e : exampleGrids()) {
        const std::string name = e.fileName;
        const RunTally t = runExample(std::move(e), 400)->tally();
        EXPECT_EQ(t.firstNonFiniteStep, -1) << name;
        EXPECT_EQ(t.cappedSteps, 0) << name;
        EXPECT_GT(t.sweeps + t.cycles, 0) << name;
    }
}

TEST(ExampleGrids, ChannelCarriesFlowFromInflowToOutflow)
{
    const auto run = runExample(channelExample(), 400);
    const SimGrid& s = run->state();
    // Every interior row leaves through the east border eastward, and the
    // mass that leaves matches, within a few percent, what enters.
    double in = 0.0, out = 0.0;
    for (int j = 1; j < s.NY - 1; ++j) {
        EXPECT_GT(s.u[s.NX - 2][j], 0.0) << j;
        in += s.u[0][j];
        out += s.u[s.NX - 2][j];
    }
    EXPECT_NEAR(out / in, 1.0, 0.05);
    // Straight behind the obstacle the flow is slower than beside it.
    EXPECT_LT(s.u[14][9], s.u[14][3]);
}

TEST(ExampleGrids, CavityTurnsClockwise)
{
    const auto run = runExample(cavityExample(), 400);
    const SimGrid& s = run->state();
    const int mid = s.NX / 2;
    EXPECT_GT(s.u[mid][s.NY - 2], 0.1);  // dragged east under the lid
    EXPECT_LT(s.u[mid][3], 0.0);         // returning west near the floor
    EXPECT_LT(s.v[s.NX - 3][mid], 0.0);  // down the east wall
    EXPECT_GT(s.v[2][mid], 0.0);         // up the west wall
}

TEST(ExampleGrids, StepFlowLeavesEastward)
{
    const auto run = runExample(stepExample(), 400);
    const SimGrid& s = run->state();
    double in = 0.0, out = 0.0;
    for (int j = 1; j < s.NY - 1; ++j) {
        in += s.u[0][j];
        out += s.u[s.NX - 2][j];
    }
    EXPECT_GT(in, 8.0);
    EXPECT_NEAR(out / in, 1.0, 0.05);
}

// The published square-cylinder channel set-ups (blockage D/H = 1/8, a
// parabolic inflow, Re = Umax D / nu = 100): the profile is 0 at the wall
// cells' centres and 1 on the centre line, the walls' centres are 8 D apart,
// and the file's domain Reynolds number gives Re_D = 100.
TEST(ExampleGrids, SquareCylinderIsTheBlockageOneEighthChannel)
{
    const ExampleGrid e = squareCylinderExample();
    const Grid& g = e.grid;
    int side = 0, lowest = g.NY, highest = -1;
    for (int j = 1; j < g.NY - 1; ++j)
        if (g.flags[50][j] == CELL_NOSLIP_WALL) {
            ++side;
            lowest = std::min(lowest, j);
            highest = std::max(highest, j);
        }
    ASSERT_EQ(side, 6);
    EXPECT_EQ(g.NY - 1, 8 * side);
    EXPECT_EQ(g.dx, g.dy);
    // Half a cell above the centre line at j = (NY - 1) / 2.
    EXPECT_EQ(lowest + highest, g.NY - 1 + 1);
    EXPECT_NEAR(e.settings.reynolds * side * g.dy, 100.0, 1e-12);
    const double mid = g.u[0][(g.NY - 1) / 2];
    EXPECT_EQ(mid, 1.0);
    for (int j = 1; j < g.NY - 1; ++j) {
        EXPECT_EQ(g.flags[0][j] & CELL_INFLOW, CELL_INFLOW) << j;
        EXPECT_NEAR(g.u[0][j], g.u[0][g.NY - 1 - j], 1e-15) << j;  // symmetric
        EXPECT_GT(g.u[0][j], 0.0) << j;
    }
    // The parabola through the wall cells' centres, at the first open row.
    const double y = 1.0 / (g.NY - 1);
    EXPECT_NEAR(g.u[0][1], 4.0 * y * (1.0 - y), 1e-15);
}
