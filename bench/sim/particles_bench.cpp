// What 100,000 tracer particles add to a step of the 255 x 255 cavity with
// the default method: the same developed flow stepped by two runs in step
// with each other, one with no emitter, the other with the particle store
// full and a segment releasing a line every step, so that the oldest are
// removed every step as well.
#include "sim/simulation_run.h"
#include "support/scenario_grids.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

namespace {

// Fills the run's store with lines across the whole cavity.
void fillStore(SimulationRun& run)
{
    for (int line = 0; run.particles().particles().size() < particle_defaults::cap; ++line) {
        const double y = 0.01 + 0.98 * ((line * 0.618034) - static_cast<long>(line * 0.618034));
        run.particles().releaseLine(0.01, y, 0.99, y, line);
    }
}

// The cavity after 20 steps, with or without the full store.
struct CavityRun {
    Grid g;
    SimulationRun run;
    CavityRun(bool particles, int threads)
        : g(setUp(particles)), run(g, settings(threads))
    {
        if (particles)
            fillStore(run);
        for (int n = 0; n < 20; ++n)
            run.step();
    }
    static Grid setUp(bool particles)
    {
        Grid g;
        makeCavityScenario(g, 255, 255);
        if (particles)
            g.emitters = {Emitter{0.1, 0.5, 0.9, 0.5, 1, 0}};
        return g;
    }
    static SolverSettings settings(int threads)
    {
        SolverSettings s;
        s.dt = 0.002;
        s.threads = threads;
        return s;
    }
};

// Wall and process CPU time (all threads) of one call, in milliseconds.
struct Cost {
    double wall, cpu;
};
double cpuNow()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec * 1e-6;
}
template <typename F>
Cost timed(F&& work)
{
    const auto wall0 = std::chrono::steady_clock::now();
    const double cpu0 = cpuNow();
    work();
    const double cpu1 = cpuNow();
    const auto wall1 = std::chrono::steady_clock::now();
    return {std::chrono::duration<double, std::milli>(wall1 - wall0).count(), cpu1 - cpu0};
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    const std::size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + mid, values.end());
    return values[mid];
}

// Argument: threads (0: the machine's cores, as a run chooses by default).
// Every iteration steps both runs once, on the same number of threads, the
// order turning about from one iteration to the next so that a machine
// growing busier or quieter weighs on both alike. The counters are the
// medians over the iterations (ms): plain and particles are whole steps,
// added their difference and added% its share of the plain step, by wall
// clock and by CPU time of all threads.
void BM_ParticlesAddedToCavity255(benchmark::State& state)
{
    const int threads = static_cast<int>(state.range(0));
    CavityRun plain(false, threads), carried(true, threads);
    std::vector<double> plainWall, plainCpu, withWall, withCpu;
    bool plainFirst = true;
    for (auto _ : state) {
        Cost a{}, b{};
        if (plainFirst) {
            a = timed([&] { plain.run.step(); });
            b = timed([&] { carried.run.step(); });
        } else {
            b = timed([&] { carried.run.step(); });
            a = timed([&] { plain.run.step(); });
        }
        plainFirst = !plainFirst;
        plainWall.push_back(a.wall);
        plainCpu.push_back(a.cpu);
        withWall.push_back(b.wall);
        withCpu.push_back(b.cpu);
        state.SetIterationTime((a.wall + b.wall) * 1e-3);
    }
    std::vector<double> addedWall(plainWall.size()), addedCpu(plainCpu.size());
    for (std::size_t k = 0; k < plainWall.size(); ++k) {
        addedWall[k] = withWall[k] - plainWall[k];
        addedCpu[k] = withCpu[k] - plainCpu[k];
    }
    const double plainWallMs = median(plainWall), plainCpuMs = median(plainCpu);
    state.counters["particles"] = static_cast<double>(carried.run.particles().particles().size());
    state.counters["threads"] = threads > 0 ? threads : processorCount();
    state.counters["plain"] = plainWallMs;
    state.counters["with"] = median(withWall);
    state.counters["added"] = median(addedWall);
    state.counters["added%"] = 100.0 * median(addedWall) / plainWallMs;
    state.counters["plainCpu"] = plainCpuMs;
    state.counters["addedCpu"] = median(addedCpu);
    state.counters["addedCpu%"] = 100.0 * median(addedCpu) / plainCpuMs;
}

// The particles' part of a step alone: the copy of the field before the
// step, the Heun moves, the release of a line and the removal of the oldest
// beyond the cap, on the frozen field of the developed cavity. Arguments:
// dt (0: the same store held still, to tell the moves from the rest; 1:
// 0.002), threads.
void BM_ParticlesAlone255(benchmark::State& state)
{
    CavityRun cavity(true, static_cast<int>(state.range(1)));
    SimulationRun& run = cavity.run;
    ParticleTracer& tracer = run.particles();
    const double dt = state.range(0) == 1 ? 0.002 : 0.0;
    for (auto _ : state) {
        tracer.beforeStep(run.state());
        tracer.afterStep(run.state(), dt);
    }
    state.counters["particles"] = static_cast<double>(tracer.particles().size());
}

}  // namespace

BENCHMARK(BM_ParticlesAlone255)->ArgsProduct({{0, 1}, {1, 2}})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParticlesAddedToCavity255)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(60)
    ->UseManualTime();
BENCHMARK_MAIN();
