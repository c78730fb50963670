// What an exact outline costs a step: the channel of Schäfer & Turek at
// Re 100 and 20 cells per diameter, its circle drawn as an outline
// (argument 1) beside the same wall cells painted with no outline (0).
// Both start from the same developed flow, so the steps do the same work
// apart from the outline's.
#include "core/flow_solver.h"
#include "core/immersed_boundary.h"
#include "io/benchmark_grids.h"

#include <benchmark/benchmark.h>

namespace {

void BM_StepDfgChannel(benchmark::State& state)
{
    ChannelBenchmark b = schaeferTurekChannel(20, 100.0);
    writeDefaultVelocities(b.grid, b.settings.defaultU, b.settings.defaultV);
    b.grid.outlines.push_back(b.circle);
    markCoveredCells(b.grid);
    if (state.range(0) == 0)
        b.grid.outlines.clear();
    SolverSettings settings;
    settings.reynolds = b.settings.reynolds;
    settings.convection = Convection::RungeKutta;
    settings.dt = 0.004;
    settings.threads = 1;
    FlowSolver solver(b.grid, settings);
    for (int n = 0; n < 50; ++n)
        solver.step();
    for (auto _ : state)
        benchmark::DoNotOptimize(solver.step());
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_StepDfgChannel)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK_MAIN();
