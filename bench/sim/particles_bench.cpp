// What 100,000 tracer particles add to a step of the 255 x 255 cavity with
// the default method: the same developed flow stepped through the run with
// no emitter, and with the particle store full, a segment releasing a line
// every step so that the oldest are removed every step as well.
#include "sim/simulation_run.h"
#include "support/scenario_grids.h"

#include <benchmark/benchmark.h>

namespace {

// Arguments: (0 no particles, 1 a full store), threads.
void BM_StepCavity255WithParticles(benchmark::State& state)
{
    const bool particles = state.range(0) == 1;
    Grid g;
    makeCavityScenario(g, 255, 255);
    if (particles)
        g.emitters = {Emitter{0.1, 0.5, 0.9, 0.5, 1, 0}};
    SolverSettings settings;
    settings.dt = 0.002;
    settings.threads = static_cast<int>(state.range(1));
    SimulationRun run(g, settings);
    if (particles) {
        // Lines across the whole cavity until the store is full.
        for (int line = 0; run.particles().particles().size() < particle_defaults::cap; ++line) {
            const double y = 0.01 + 0.98 * ((line * 0.618034) - static_cast<long>(line * 0.618034));
            run.particles().releaseLine(0.01, y, 0.99, y, line);
        }
    }
    for (int n = 0; n < 20; ++n)
        run.step();
    for (auto _ : state)
        run.step();
    state.counters["particles"] = static_cast<double>(run.particles().particles().size());
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The particles' part of a step alone, on one thread: the copy of the field
// before the step, the Heun moves, the release of a line and the removal of
// the oldest beyond the cap; argument 0 with streaks of nothing else, the
// same store held still (dt 0) to tell the moves from the rest.
void BM_ParticlesAlone255(benchmark::State& state)
{
    Grid g;
    makeCavityScenario(g, 255, 255);
    g.emitters = {Emitter{0.1, 0.5, 0.9, 0.5, 1, 0}};
    SolverSettings settings;
    settings.dt = 0.002;
    settings.threads = 1;
    SimulationRun run(g, settings);
    for (int line = 0; run.particles().particles().size() < particle_defaults::cap; ++line) {
        const double y = 0.01 + 0.98 * ((line * 0.618034) - static_cast<long>(line * 0.618034));
        run.particles().releaseLine(0.01, y, 0.99, y, line);
    }
    for (int n = 0; n < 20; ++n)
        run.step();
    ParticleTracer& tracer = run.particles();
    const double dt = state.range(0) == 1 ? 0.002 : 0.0;
    for (auto _ : state) {
        tracer.beforeStep(run.state());
        tracer.afterStep(run.state(), dt);
    }
    state.counters["particles"] = static_cast<double>(tracer.particles().size());
}

}  // namespace

BENCHMARK(BM_ParticlesAlone255)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepCavity255WithParticles)
    ->ArgsProduct({{0, 1}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(60)
    ->UseRealTime();
BENCHMARK_MAIN();
