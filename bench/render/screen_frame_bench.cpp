// Cost of the picture the simulation window shows on a 1600 x 1000 canvas,
// all elements on: a 1024 x 512 lid-driven cavity (one pixel per cell, the
// picture that replaces the 4096 x 2048 one of Output Size 4) and a 100 x 50
// channel (16 pixels per cell), each with the designed colours and with a
// vorticity colour map; beside it one solver step of the cavity, the work a
// frame cycle cannot avoid.
#include "core/flow_solver.h"
#include "render/screen_frame.h"
#include "support/scenario_grids.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

constexpr int canvasWidth = 1600;
constexpr int canvasHeight = 1000;

struct Flow {
    Grid grid;
    std::unique_ptr<FlowSolver> solver;
};

// 0: the cavity, 1: the channel; a few steps taken so the flow has moved.
Flow& flowFor(int which)
{
    static std::map<int, std::unique_ptr<Flow>> flows;
    std::unique_ptr<Flow>& flow = flows[which];
    if (!flow) {
        flow = std::make_unique<Flow>();
        if (which == 0)
            makeCavityScenario(flow->grid, 1024, 512);
        else
            makeChannelScenario(flow->grid, 100, 50);
        writeDefaultVelocities(flow->grid, which == 0 ? 0.0 : 1.0, 0.0);
        SolverSettings settings;
        settings.automaticDt = true;
        flow->solver = std::make_unique<FlowSolver>(flow->grid, settings);
        for (int n = 0; n < 5; ++n)
            flow->solver->step();
    }
    return *flow;
}

void BM_ScreenFrame(benchmark::State& state)
{
    Flow& flow = flowFor(static_cast<int>(state.range(0)));
    RenderElements all;
    all.boundaryCells = all.streamlines = all.uField = all.vField = all.pressure = all.vectors = true;
    if (state.range(1))
        all.colourMap.quantity = ColourQuantity::Vorticity;
    const int k = screenPixelsPerCell(canvasWidth, canvasHeight, flow.grid.NX, flow.grid.NY);
    ScreenComposer composer;
    ScreenFrame frame;
    for (auto _ : state)
        composer.compose(flow.solver->state(), flow.grid.NX, flow.grid.NY, k, all, frame);
    state.counters["width"] = frame.width;
    state.counters["height"] = frame.height;
}
BENCHMARK(BM_ScreenFrame)->ArgsProduct({{0, 1}, {0, 1}})->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void BM_CavityStep(benchmark::State& state)
{
    Flow& flow = flowFor(0);
    for (auto _ : state)
        flow.solver->step();
}
BENCHMARK(BM_CavityStep)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
