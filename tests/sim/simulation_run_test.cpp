// The cycle shared by the simulation window and kelvo-batch: which cycles
// are frame cycles, what the counters hold, and which solver state a frame
// shows.
#include "support/channel_grid.h"
#include "sim/simulation_run.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int reynolds = 100;
constexpr double dt = 0.003;

// Runs cycles at a fixed interval and returns the cycle counts at which a
// frame was taken, with the frame index handed to each.
struct FrameLog {
    std::vector<int32_t> atCycle;
    std::vector<int32_t> index;
};

void runCycles(SimulationRun& run, int count, int interval, FrameLog& log)
{
    for (int k = 0; k < count; ++k)
        run.cycle(interval, [&](int32_t index) {
            log.atCycle.push_back(run.cycles());
            log.index.push_back(index);
            return true;
        });
}

bool sameFields(const Grid& a, const Grid& b)
{
    for (int32_t i = 0; i < a.NX; ++i)
        for (int32_t j = 0; j < a.NY; ++j)
            if (a.u[i][j] != b.u[i][j] || a.v[i][j] != b.v[i][j] || a.p[i][j] != b.p[i][j])
                return false;
    return true;
}

class SimulationRunTest : public testing::Test {
protected:
    void SetUp() override { makeChannel(grid, 12, 8); }
    Grid grid;
};

}  // namespace

TEST_F(SimulationRunTest, FrameCyclesAreMultiplesOfTheIntervalFromTheFirstCycle)
{
    SimulationRun run(grid, reynolds, dt);
    run.step();
    FrameLog log;
    runCycles(run, 1, 1, log);
    EXPECT_EQ(log.atCycle, std::vector<int32_t>({0}));
    EXPECT_EQ(run.cycles(), 1);

    SimulationRun every5(grid, reynolds, dt);
    every5.step();
    FrameLog log5;
    runCycles(every5, 12, 5, log5);
    EXPECT_EQ(log5.atCycle, std::vector<int32_t>({0, 5, 10}));
    EXPECT_EQ(log5.index, std::vector<int32_t>({0, 1, 2}));
    EXPECT_EQ(every5.cycles(), 12);
    EXPECT_EQ(every5.frames(), 3);
}

TEST_F(SimulationRunTest, ChangedIntervalCountsAgainstTheRunningCycleCount)
{
    SimulationRun run(grid, reynolds, dt);
    run.step();
    FrameLog log;
    runCycles(run, 23, 1, log);
    ASSERT_EQ(run.cycles(), 23);
    FrameLog later;
    runCycles(run, 10, 10, later);
    // From 1 to 10 at cycleCount 23: the next frame cycle is 30, not 33.
    EXPECT_EQ(later.atCycle, std::vector<int32_t>({30}));
    EXPECT_EQ(later.index, std::vector<int32_t>({23}));
}

TEST_F(SimulationRunTest, IntervalBelowOneCountsAsOne)
{
    SimulationRun run(grid, reynolds, dt);
    FrameLog log;
    runCycles(run, 3, 0, log);
    EXPECT_EQ(log.atCycle, std::vector<int32_t>({0, 1, 2}));
}

TEST_F(SimulationRunTest, FailedFrameIsReportedAndStillCounted)
{
    SimulationRun run(grid, reynolds, dt);
    EXPECT_FALSE(run.cycle(1, [](int32_t) { return false; }));
    EXPECT_EQ(run.frames(), 1);
    EXPECT_EQ(run.cycles(), 1);
    // No frame cycle: nothing can fail.
    EXPECT_TRUE(run.cycle(2, [](int32_t) { return false; }));
}

TEST_F(SimulationRunTest, FrameShowsTheStateTwoStepsAfterTheGrid)
{
    SimulationRun run(grid, reynolds, dt);
    run.step();
    bool compared = false;
    run.cycle(1, [&](int32_t) {
        auto reference = buildSolver(grid, reynolds, dt);
        reference->step();
        reference->step();
        compared = sameFields(run.state(), reference->state());
        return true;
    });
    EXPECT_TRUE(compared);
}

TEST_F(SimulationRunTest, RestartRunsFromTheGridAgain)
{
    SimulationRun run(grid, reynolds, dt);
    run.step();
    FrameLog log;
    runCycles(run, 7, 3, log);
    run.rebuild();
    run.step();
    run.resetCounters();
    EXPECT_EQ(run.cycles(), 0);
    EXPECT_EQ(run.frames(), 0);

    auto reference = buildSolver(grid, reynolds, dt);
    reference->step();
    EXPECT_TRUE(sameFields(run.state(), reference->state()));
    // The grid it was built from is untouched by the run.
    EXPECT_EQ(grid.u[5][4], 1.0);
    EXPECT_EQ(&run.editedGrid(), &grid);
}
