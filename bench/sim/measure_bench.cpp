// What forces, probes and a history line every step add to a step of the
// 120 x 80 channel with its plate: the same developed flow stepped bare and
// measured.
#include "core/flow_solver.h"
#include "sim/measurements.h"
#include "support/scenario_grids.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

// Argument 0: steps alone; 1: each step followed by the forces on every
// body, two probes, the flow figures and a history line written to a file.
void BM_MeasuredStep120x80(benchmark::State& state)
{
    const bool measured = state.range(0) == 1;
    Grid g;
    makeChannelScenario(g, 120, 80);
    writeDefaultVelocities(g, 1.0, 0.0);
    auto solver = buildSolver(g, 200, 0.003);
    for (int n = 0; n < 51; ++n)
        solver->step();
    Measurements measurements(solver->state(), 200, ReferenceScales{}, {{0.5, 0.25}, {1.0, 0.5}});
    std::FILE* history = std::tmpfile();
    long long step = 0;
    double t = 0.0;
    for (auto _ : state) {
        const StepReport report = solver->step();
        ++step;
        t += report.dt;
        if (!measured)
            continue;
        measurements.record(solver->state(), t);
        const std::string line = historyLine(measurements, step, t, report.dt, report.sweeps,
                                             flowFigures(solver->state()));
        std::fputs(line.c_str(), history);
    }
    std::fclose(history);
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_MeasuredStep120x80)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
