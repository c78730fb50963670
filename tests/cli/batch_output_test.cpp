// What kelvo-batch writes: the CSV dump, the progress meter and the summary.
#include "cli/batch_summary.h"
#include "io/csv_dump.h"
#include "cli/progress_meter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {

// Everything written to a temporary stream by fill.
template <typename Fill>
std::string captured(Fill fill)
{
    std::FILE* f = std::tmpfile();
    fill(f);
    std::fflush(f);
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(f);
    return text;
}

}  // namespace

TEST(CsvDump, HeaderThenCellsIOuterJInnerWithFullPrecision)
{
    Grid g;
    makeFluidGrid(g, 3, 3);
    g.flags[0][1] = CELL_INFLOW | DIR_EAST;
    g.u[0][1] = 0.1;
    g.v[0][2] = -0.0;
    g.p[1][0] = 1.0 / 3.0;
    g.p[2][2] = -1e-300;
    g.u[2][1] = 123456789.0;
    const std::string text = captured([&g](std::FILE* f) { EXPECT_TRUE(writeCsv(f, g)); });
    EXPECT_EQ(text,
              "i,j,flags,u,v,p\n"
              "0,0,1,0,0,0\n"
              "0,1,80,0.10000000000000001,0,0\n"
              "0,2,1,0,-0,0\n"
              "1,0,1,0,0,0.33333333333333331\n"
              "1,1,1,0,0,0\n"
              "1,2,1,0,0,0\n"
              "2,0,1,0,0,0\n"
              "2,1,1,123456789,0,0\n"
              "2,2,1,0,0,-1e-300\n");
}

TEST(CsvDump, UnwritableFileIsReported)
{
    Grid g;
    makeFluidGrid(g, 3, 3);
    EXPECT_FALSE(writeCsvFile("no_such_directory/dump.csv", g));
    EXPECT_FALSE(writeCsvFile("/dev/full", g));
}

TEST(ProgressText, BarShowsShareRateAndTimeLeft)
{
    EXPECT_EQ(progressBar(450, 1000, 2.0, 10), "[####......]  45%  450/1000 steps  225.0 steps/s  0:03 left");
    EXPECT_EQ(progressBar(0, 1000, 0.0, 4), "[....]   0%  0/1000 steps  0.0 steps/s  ? left");
    EXPECT_EQ(progressBar(7, 7, 1.0, 4), "[####] 100%  7/7 steps  7.0 steps/s  0:00 left");
    EXPECT_EQ(progressBar(0, 0, 1.0, 4), "[####] 100%  0/0 steps  0.0 steps/s  ? left");
    EXPECT_EQ(progressLine(10, 100, 5.0), "kelvo-batch: 10/100 steps, 2.0 steps/s, 0:45 left");
}

TEST(ProgressText, DurationsRoundUpToWholeSeconds)
{
    EXPECT_EQ(formatDuration(0.0), "0:00");
    EXPECT_EQ(formatDuration(0.2), "0:01");
    EXPECT_EQ(formatDuration(59.5), "1:00");
    EXPECT_EQ(formatDuration(3600.0), "1:00:00");
    EXPECT_EQ(formatDuration(std::numeric_limits<double>::infinity()), "277777:46:40");
    EXPECT_EQ(formatDuration(-4.0), "0:00");
}

TEST(ProgressMeterOutput, PlainLinesOnlyEveryFewSeconds)
{
    const std::string text = captured([](std::FILE* f) {
        ProgressMeter meter(f, 100, false);
        meter.update(1, 0.5);
        meter.update(2, 4.9);
        meter.update(50, 5.0);
        meter.update(60, 9.0);
        meter.update(100, 10.0);
        meter.finish();
    });
    EXPECT_EQ(text,
              "kelvo-batch: 50/100 steps, 10.0 steps/s, 0:05 left\n"
              "kelvo-batch: 100/100 steps, 10.0 steps/s, 0:00 left\n");
}

TEST(ProgressMeterOutput, TerminalBarRedrawsInPlaceAndEndsItsLine)
{
    const std::string text = captured([](std::FILE* f) {
        ProgressMeter meter(f, 10, true);
        meter.update(1, 0.05);
        meter.update(5, 0.5);
        meter.update(6, 0.55);
        meter.update(10, 1.0);
        meter.finish();
    });
    EXPECT_EQ(text,
              "\r[###############...............]  50%  5/10 steps  10.0 steps/s  0:01 left"
              "\r[##############################] 100%  10/10 steps  10.0 steps/s  0:00 left\n");
    // Nothing drawn, nothing to end.
    EXPECT_EQ(captured([](std::FILE* f) {
                  ProgressMeter meter(f, 10, true);
                  meter.finish();
              }),
              "");
}

TEST(RunSummary, ReportsSweepsCapAndFiniteness)
{
    RunTally t;
    t.steps = 99;
    t.sweeps = 1000;
    t.simulatedTime = 0.3;
    t.smallestDt = 0.0025;
    t.largestDt = 0.003;
    EXPECT_EQ(formatSummary(t, 2.0),
              "kelvo-batch: 99 steps after the build step in 2.000 s (49.5 steps/s)\n"
              "kelvo-batch: 1000 pressure sweeps in all, 10.0 per step\n"
              "kelvo-batch: largest divergence left after a step 0\n"
              "kelvo-batch: the pressure iteration never hit its cap\n"
              "kelvo-batch: all fields stayed finite\n"
              "kelvo-batch: simulated time 0.3, dt from 0.0025 to 0.003\n");
    t.cycles = 800;
    t.largestDivergence = 3.5e-4;
    EXPECT_NE(formatSummary(t, 2.0).find("kelvo-batch: 800 multigrid cycles in all, 8.0 per step\n"
                                         "kelvo-batch: largest divergence left after a step 0.00035\n"),
              std::string::npos);
    t.lastChange = 2.5e-7;
    t.steady = true;
    EXPECT_NE(formatSummary(t, 2.0).find("stopped at a steady state; largest change of u or v in the last step 2.5e-07\n"),
              std::string::npos);
    t.steady = false;
    EXPECT_NE(formatSummary(t, 2.0).find("stopped after --steps steps; largest change"), std::string::npos);
    t.cappedSteps = 3;
    t.firstNonFiniteStep = 42;
    const std::string bad = formatSummary(t, 0.0);
    EXPECT_NE(bad.find("hit its sweep cap in 3 steps"), std::string::npos) << bad;
    EXPECT_NE(bad.find("non-finite at step 42"), std::string::npos) << bad;
    t.firstNonFiniteStep = 0;
    EXPECT_NE(formatSummary(t, 1.0).find("non-finite in the build step"), std::string::npos);
}

// The last line says which limit ended a run that had one besides --steps.
TEST(RunSummary, SaysWhichLimitStoppedTheRun)
{
    struct Case {
        double lastChange;  // -1: --until-steady not given
        bool steady;
        double timeLimit;   // -1: --until-time not given
        bool timeReached;
        const char* lastLine;  // "" for none
    };
    const Case cases[] = {
        {-1, false, -1, false, ""},
        {-1, false, 0.03, true, "kelvo-batch: stopped at --until-time 0.03: simulated time 0.0300003\n"},
        {-1, false, 0.5, false, "kelvo-batch: stopped after --steps steps\n"},
        {1e-3, false, 0.03, true,
         "kelvo-batch: stopped at --until-time 0.03: simulated time 0.0300003; largest change of u or v in the last "
         "step 0.001\n"},
        {1e-7, true, 0.03, true,
         "kelvo-batch: stopped at a steady state; largest change of u or v in the last step 1e-07\n"},
    };
    for (const Case& c : cases) {
        RunTally t;
        t.steps = 9;
        t.simulatedTime = 0.03000031;
        t.lastChange = c.lastChange;
        t.steady = c.steady;
        t.timeLimit = c.timeLimit;
        t.timeReached = c.timeReached;
        const std::string summary = formatSummary(t, 1.0);
        const std::string timeLine = "kelvo-batch: simulated time 0.0300003, dt from 0 to 0\n";
        const std::size_t end = summary.find(timeLine);
        ASSERT_NE(end, std::string::npos) << summary;
        EXPECT_EQ(summary.substr(end + timeLine.size()), c.lastLine) << c.timeLimit << " " << c.lastChange;
    }
}

TEST(RunSummary, FieldsFiniteLooksAtUVAndP)
{
    Grid g;
    makeFluidGrid(g, 4, 4);
    EXPECT_TRUE(fieldsFinite(g));
    g.p[3][3] = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(fieldsFinite(g));
    g.p[3][3] = 0.0;
    g.v[0][3] = std::nan("");
    EXPECT_FALSE(fieldsFinite(g));
    g.v[0][3] = 0.0;
    g.u[2][0] = -std::numeric_limits<double>::infinity();
    EXPECT_FALSE(fieldsFinite(g));
}
