// Cost of one time step and of one Gauss-Seidel sweep on the three grid
// sizes a user meets: the start-up channel, the largest new grid, and the
// largest grid a file can hold.
#include "core/flow_check.h"
#include "core/flow_solver.h"
#include "support/scenario_grids.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

void makeChannel(Grid& g, int NX, int NY)
{
    makeChannelScenario(g, NX, NY);
    writeDefaultVelocities(g, 1.0, 0.0);
}

void makeCavity(Grid& g, int NX, int NY) { makeCavityScenario(g, NX, NY); }

// The convection scheme of a benchmark argument: 0 central, 1 upwind-blended,
// 2 designed.
Convection schemeOf(int64_t index)
{
    const Convection schemes[] = {Convection::Central, Convection::UpwindBlended, Convection::Designed};
    return schemes[index];
}

// Steps a developed flow with the scheme of range(0); reports steps/s and
// ns per cell per sweep.
void runSteps(benchmark::State& state, const Grid& g, double dt, int warmup)
{
    FlowSolver solver(g, SolverSettings{200, dt, schemeOf(state.range(0)), false});
    for (int n = 0; n < warmup; ++n)
        solver.step();
    long sweeps = 0;
    for (auto _ : state)
        sweeps += solver.step().sweeps;
    const double cells = static_cast<double>(g.NX - 2) * (g.NY - 2);
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["sweeps/step"] = static_cast<double>(sweeps) / state.iterations();
    state.counters["cellSweeps"] = benchmark::Counter(sweeps * cells, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The start-up channel: about one sweep a step, so the predictors weigh most.
void BM_StepChannel40x20(benchmark::State& state)
{
    Grid g;
    makeChannel(g, 40, 20);
    runSteps(state, g, 0.003, 201);
}

void BM_StepCavity120x80(benchmark::State& state)
{
    Grid g;
    makeCavity(g, 120, 80);
    runSteps(state, g, 0.003, 51);
}

// The explicit scheme needs a smaller time step on the finest grid.
void BM_StepCavity255x255(benchmark::State& state)
{
    Grid g;
    makeCavity(g, 255, 255);
    runSteps(state, g, 0.0005, 1);
}

// One sweep alone, with the iteration forced to stop after it: the cost of
// the serial Gauss-Seidel chain per cell.
void BM_SingleSweep255x255(benchmark::State& state)
{
    Grid g;
    makeChannel(g, 255, 255);
    auto solver = buildSolver(g, 200, 0.003);
    solver->capSweeps(1);
    for (auto _ : state) {
        solver->solvePressure();
    }
    const double cells = 253.0 * 253.0;
    state.counters["cellSweeps"] = benchmark::Counter(state.iterations() * cells, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BM_StepChannel40x20)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepCavity120x80)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepCavity255x255)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SingleSweep255x255)->Unit(benchmark::kMicrosecond);

namespace {

// The passes of a step one by one, on a developed channel flow.
template <typename Pass>
void runPass(benchmark::State& state, int NX, int NY, Pass pass)
{
    Grid g;
    makeChannel(g, NX, NY);
    auto solver = buildSolver(g, 200, 0.003);
    for (int n = 0; n < 200; ++n)
        solver->step();
    for (auto _ : state)
        pass(*solver);
    state.counters["ns/cell"] = benchmark::Counter(state.iterations() * static_cast<double>(NX) * NY,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PassComputeF(benchmark::State& s) { runPass(s, s.range(0), s.range(1), [](FlowSolver& f) { f.computeF(); }); }
void BM_PassComputeG(benchmark::State& s) { runPass(s, s.range(0), s.range(1), [](FlowSolver& f) { f.computeG(); }); }
void BM_PassWallConditions(benchmark::State& s)
{
    runPass(s, s.range(0), s.range(1), [](FlowSolver& f) { f.applyStateWallConditions(); });
}
void BM_PassCorrectVelocity(benchmark::State& s) { runPass(s, s.range(0), s.range(1), [](FlowSolver& f) { f.correctVelocity(); }); }
void BM_PassAccumulatePressure(benchmark::State& s) { runPass(s, s.range(0), s.range(1), [](FlowSolver& f) { f.accumulatePressure(); }); }
void BM_PassOneSweep(benchmark::State& s)
{
    runPass(s, s.range(0), s.range(1), [](FlowSolver& f) { f.capSweeps(1); f.solvePressure(); });
}

}  // namespace

BENCHMARK(BM_PassComputeF)->Args({40, 20})->Args({120, 80});
BENCHMARK(BM_PassComputeG)->Args({40, 20})->Args({120, 80});
BENCHMARK(BM_PassWallConditions)->Args({40, 20})->Args({120, 80});
BENCHMARK(BM_PassCorrectVelocity)->Args({40, 20})->Args({120, 80});
BENCHMARK(BM_PassAccumulatePressure)->Args({40, 20})->Args({120, 80});
BENCHMARK(BM_PassOneSweep)->Args({40, 20})->Args({120, 80});

namespace {

// Steps of a square cavity of side range(0) with the pressure swept in place
// (range(1) = 1) or on the row-by-row copies: where the copies start to pay.
// A cavity needs hundreds of sweeps a step, so the sweeps decide the time.
void BM_SweepLayout(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    Grid g;
    makeCavity(g, side, side);
    FlowSolver solver(g, SolverSettings{200, 0.001, Convection::Central, false});
    solver.setSweepLayout(state.range(1) == 1 ? FlowSolver::SweepLayout::InPlace : FlowSolver::SweepLayout::Copies);
    for (int n = 0; n < 5; ++n)
        solver.step();
    long sweeps = 0;
    for (auto _ : state)
        sweeps += solver.step().sweeps;
    state.counters["sweeps/step"] = static_cast<double>(sweeps) / state.iterations();
    state.counters["cellSweeps"] = benchmark::Counter(static_cast<double>(sweeps) * (side - 2) * (side - 2),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BM_SweepLayout)->ArgsProduct({{32, 64, 100, 128, 181, 255}, {0, 1}})->Unit(benchmark::kMillisecond);
namespace {

// The two predictor passes of the developed 120 x 80 channel with each
// scheme's own flow; argument as schemeOf.
void BM_SchemePredictors120x80(benchmark::State& state)
{
    Grid g;
    makeChannel(g, 120, 80);
    FlowSolver solver(g, SolverSettings{200, 0.003, schemeOf(state.range(0)), false});
    for (int n = 0; n < 200; ++n)
        solver.step();
    for (auto _ : state) {
        solver.computeF();
        solver.computeG();
    }
    state.counters["ns/cell"] = benchmark::Counter(state.iterations() * 120.0 * 80.0,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The pressure solvers side by side from the start of a run, where the
// pressure iteration costs most: range(0) 0 = Gauss-Seidel, 1 = multigrid;
// range(1) the threads. Reports the largest divergence any step left.
void runPressureSolver(benchmark::State& state, const Grid& g, double dt, bool automaticDt)
{
    SolverSettings settings;
    settings.dt = dt;
    settings.automaticDt = automaticDt;
    settings.pressure = state.range(0) == 0 ? PressureSolver::GaussSeidel : PressureSolver::Multigrid;
    FlowSolver solver(g, settings);
    solver.setThreads(static_cast<int>(state.range(1)));
    long iterations = 0;
    double divergence = 0.0;
    for (auto _ : state) {
        const StepReport report = solver.step();
        iterations += report.sweeps + report.cycles;
        state.PauseTiming();
        divergence = std::max(divergence, largestDivergence(solver.state()));
        state.ResumeTiming();
    }
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["iterations/step"] = static_cast<double>(iterations) / state.iterations();
    state.counters["divergence"] = divergence;
}

void BM_PressureChannel255x100(benchmark::State& state)
{
    Grid g;
    makeChannel(g, 255, 100);
    runPressureSolver(state, g, 0.003, true);
}

void BM_PressureCavity255x255(benchmark::State& state)
{
    Grid g;
    makeCavity(g, 255, 255);
    runPressureSolver(state, g, 0.0005, false);
}

// The largest grid of the large-grid format: a cavity at Re 1000 with
// automatic time steps, multigrid and central terms; the whole step with the
// blow-up check after it, as a run takes it. range(0): the threads.
void BM_LargeCavity1024x512(benchmark::State& state)
{
    Grid g;
    makeCavity(g, 1024, 512);
    SolverSettings settings;
    settings.reynolds = 1000;
    settings.automaticDt = true;
    settings.pressure = PressureSolver::Multigrid;
    FlowSolver solver(g, settings);
    solver.setThreads(static_cast<int>(state.range(0)));
    solver.trackExtremes();
    const double speedLimit = setUpSpeed(g);
    for (int n = 0; n < 5; ++n)
        solver.step();
    long cycles = 0;
    for (auto _ : state) {
        cycles += solver.step().cycles;
        benchmark::DoNotOptimize(flowUnstable(solver.stateExtremes(), speedLimit));
    }
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["cycles/step"] = static_cast<double>(cycles) / state.iterations();
}

// The default method on the accuracy cavity (128 cells between the walls,
// Re 1000, automatic steps), developed for 2,000 steps: the cost of a step
// and the pressure iterations of its three stages on the way to the steady
// state.
void BM_ProjectionCavity130Re1000(benchmark::State& state)
{
    Grid g;
    makeLidCavity(g, 130);
    SolverSettings settings;
    settings.reynolds = 1000.0 * 130 / 128;
    settings.automaticDt = true;
    FlowSolver solver(g, settings);
    solver.setThreads(1);
    for (int n = 0; n < 2000; ++n)
        solver.step();
    long cycles = 0;
    for (auto _ : state)
        cycles += solver.step().cycles;
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["cycles/step"] = static_cast<double>(cycles) / state.iterations();
}

}  // namespace

BENCHMARK(BM_ProjectionCavity130Re1000)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_PressureChannel255x100)->ArgsProduct({{0, 1}, {1, 2}})->Unit(benchmark::kMillisecond)->Iterations(60);
BENCHMARK(BM_PressureCavity255x255)->ArgsProduct({{0, 1}, {1, 2}})->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_LargeCavity1024x512)->DenseRange(1, 2)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
BENCHMARK(BM_SchemePredictors120x80)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
