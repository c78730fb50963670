// The simulation window's measurement log: a history line per step in the
// columns kelvo-batch writes, restarted when the probes change or the run
// is rebuilt, exported whole; and the bounded coefficient samples.
#include "sim/measure_log.h"
#include "sim/simulation_run.h"
#include "support/channel_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> fileLines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<double> fields(const std::string& line)
{
    std::vector<double> values;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, ',');) values.push_back(std::stod(field));
    return values;
}

class MeasureLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        makeChannel(grid, 24, 12);
        run = std::make_unique<SimulationRun>(grid, 100, 0.01);
        run->step();
    }
    // n steps, each recorded as the window records it.
    void steps(MeasureLog& log, int n)
    {
        for (int k = 0; k < n; ++k) {
            run->cycle(1000, [](int32_t) { return true; });
            log.record(run->state(), run->cycles(), run->simulatedTime(), run->lastStepReport().dt,
                       run->lastStepReport().sweeps);
        }
    }
    std::string path(const char* name) const
    {
        return (std::filesystem::temp_directory_path() / ("kelvo_measure_log_" + std::string(name))).string();
    }

    Grid grid;
    std::unique_ptr<SimulationRun> run;
};

}  // namespace

TEST_F(MeasureLogTest, ExportHoldsTheHeaderAndALinePerStepSinceTheProbesLastChanged)
{
    MeasureLog log(run->state(), 100);
    steps(log, 5);
    EXPECT_EQ(log.historyLines(), 5);
    log.addProbe({1.0, 0.5}, run->state());
    const ProbeValues now = sampleProbe(run->state(), 1.0, 0.5);
    EXPECT_DOUBLE_EQ(log.measurements().probeValues()[0].u, now.u);  // read at once, not after a step
    EXPECT_NE(now.u, 0.0);
    EXPECT_EQ(log.historyLines(), 0);
    steps(log, 4);

    const std::string file = path("export.csv");
    ASSERT_TRUE(log.exportHistory(file));
    const std::vector<std::string> lines = fileLines(file);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0] + "\n", historyHeader(log.measurements()));
    const size_t columns = std::count(lines[0].begin(), lines[0].end(), ',') + 1;
    EXPECT_EQ(columns, 7 + 4 * log.measurements().bodies().size() + 3u);
    for (size_t k = 1; k < lines.size(); ++k) {
        const std::vector<double> row = fields(lines[k]);
        ASSERT_EQ(row.size(), columns) << lines[k];
        EXPECT_EQ(row[0], 5.0 + k) << "steps in order after the five before the probe";
    }
    // The last line's probe columns are the probe's values after the last step.
    const ProbeValues last = sampleProbe(run->state(), 1.0, 0.5);
    const std::vector<double> row = fields(lines.back());
    EXPECT_NEAR(row[columns - 3], last.u, 1e-8 * std::max(1.0, std::fabs(last.u)));
    EXPECT_NEAR(row[columns - 1], last.p, 1e-8 * std::max(1.0, std::fabs(last.p)));

    // Exporting again gives the same lines, and recording goes on after it.
    ASSERT_TRUE(log.exportHistory(file));
    EXPECT_EQ(fileLines(file), lines);
    steps(log, 1);
    ASSERT_TRUE(log.exportHistory(file));
    EXPECT_EQ(fileLines(file).size(), 6u);
    std::remove(file.c_str());

    EXPECT_FALSE(log.exportHistory("/nonexistent-folder/history.csv"));
}

TEST_F(MeasureLogTest, RemovingAProbeAndRestartingKeepTheRestAndEmptyTheHistory)
{
    MeasureLog log(run->state(), 100);
    log.addProbe({1.0, 0.5}, run->state());
    log.addProbe({2.0, 0.25}, run->state());
    steps(log, 3);
    log.removeProbe(0);
    ASSERT_EQ(log.measurements().probes().size(), 1u);
    EXPECT_EQ(log.measurements().probes()[0].x, 2.0);
    log.removeProbe(5);  // no such probe
    EXPECT_EQ(log.measurements().probes().size(), 1u);
    steps(log, 2);
    ASSERT_FALSE(log.measurements().bodies().empty());
    EXPECT_EQ(log.measurements().bodies()[0].history.size(), 5u);

    log.restart(run->state());
    EXPECT_EQ(log.historyLines(), 0);
    EXPECT_EQ(log.measurements().probes().size(), 1u);
    EXPECT_TRUE(log.measurements().bodies()[0].history.empty());
}

TEST(MeasurementsSampleLimit, OlderHalfGoesPastTheLimit)
{
    Grid g;
    makeChannel(g, 12, 8);
    Measurements m(g, 100.0, ReferenceScales{}, {});
    m.setSampleLimit(10);
    for (int step = 1; step <= 25; ++step) m.record(g, 0.1 * step);
    ASSERT_FALSE(m.bodies().empty());
    const std::vector<CoefficientSample>& kept = m.bodies()[0].history;
    // An 11th sample drops the oldest 5, at records 11, 16 and 21: after 25
    // records the 10 of t = 1.6 .. 2.5 remain.
    ASSERT_EQ(kept.size(), 10u);
    EXPECT_DOUBLE_EQ(kept.front().t, 1.6);
    EXPECT_DOUBLE_EQ(kept.back().t, 2.5);
}
