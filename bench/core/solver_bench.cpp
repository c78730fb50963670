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

// Steps a developed flow; reports steps/s and ns per cell per sweep.
void runSteps(benchmark::State& state, Grid& g, int warmup)
{
    auto solver = buildSolver(g, 200, 0.003);
    solver->step();
    for (int n = 0; n < warmup; ++n)
        solver->step();
    long sweeps = 0;
    for (auto _ : state)
        sweeps += solver->step().sweeps;
    const double cells = static_cast<double>(g.NX - 2) * (g.NY - 2);
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["sweeps/step"] = static_cast<double>(sweeps) / state.iterations();
    state.counters["cellSweeps"] = benchmark::Counter(sweeps * cells, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_StepChannel40x20(benchmark::State& state)
{
    Grid g;
    makeChannel(g, 40, 20);
    runSteps(state, g, 200);
}

void BM_StepCavity120x80(benchmark::State& state)
{
    Grid g;
    makeCavity(g, 120, 80);
    runSteps(state, g, 50);
}

// The explicit scheme needs a smaller time step on the finest grid.
void BM_StepCavity255x255(benchmark::State& state)
{
    Grid g;
    makeCavity(g, 255, 255);
    auto solver = buildSolver(g, 200, 0.0005);
    solver->step();
    long sweeps = 0;
    for (auto _ : state)
        sweeps += solver->step().sweeps;
    const double cells = 253.0 * 253.0;
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["sweeps/step"] = static_cast<double>(sweeps) / state.iterations();
    state.counters["cellSweeps"] = benchmark::Counter(sweeps * cells, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
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

BENCHMARK(BM_StepChannel40x20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepCavity120x80)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepCavity255x255)->Unit(benchmark::kMillisecond)->Iterations(20);
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

// The convection schemes side by side: a step of the 120 x 80 cavity and of
// the 40 x 20 channel, and the two predictor passes of the developed 120 x 80 channel, each with the
// scheme's own flow. Argument: 0 central, 1 upwind-blended, 2 designed.
Convection schemeOf(int64_t index)
{
    const Convection schemes[] = {Convection::Central, Convection::UpwindBlended, Convection::Designed};
    return schemes[index];
}

// Steps grid's flow with the scheme of the benchmark's argument.
void runSchemeSteps(benchmark::State& state, const Grid& g, int warmup)
{
    FlowSolver solver(g, SolverSettings{200, 0.003, schemeOf(state.range(0)), false});
    for (int n = 0; n < warmup; ++n)
        solver.step();
    long sweeps = 0;
    for (auto _ : state)
        sweeps += solver.step().sweeps;
    state.counters["sweeps/step"] = static_cast<double>(sweeps) / state.iterations();
}

void BM_SchemeStepCavity120x80(benchmark::State& state)
{
    Grid g;
    makeCavity(g, 120, 80);
    runSchemeSteps(state, g, 51);
}

// The start-up channel: about one sweep a step, so the predictors weigh most.
void BM_SchemeStepChannel40x20(benchmark::State& state)
{
    Grid g;
    makeChannel(g, 40, 20);
    runSchemeSteps(state, g, 201);
}

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
// pressure iteration costs most: range(0) 0 = Gauss-Seidel, 1 = multigrid.
// Reports the largest divergence any step left.
void runPressureSolver(benchmark::State& state, const Grid& g, double dt, bool automaticDt)
{
    SolverSettings settings;
    settings.dt = dt;
    settings.automaticDt = automaticDt;
    settings.pressure = state.range(0) == 0 ? PressureSolver::GaussSeidel : PressureSolver::Multigrid;
    FlowSolver solver(g, settings);
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

}  // namespace

BENCHMARK(BM_PressureChannel255x100)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->Iterations(60);
BENCHMARK(BM_PressureCavity255x255)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SchemeStepCavity120x80)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SchemeStepChannel40x20)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SchemePredictors120x80)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
