// Cost of the picture the simulation window shows on a 1600 x 1000 canvas,
// all elements on: a 1024 x 512 lid-driven cavity (one pixel per cell, the
// picture that replaces the 4096 x 2048 one of Output Size 4) and a 100 x 50
// channel (16 pixels per cell), each with the designed colours and with a
// vorticity colour map; beside it one solver step of the cavity, the work a
// frame cycle cannot avoid.
//
// BM_LargeScreenFrame: 2048 x 1024 and 4096 x 2048 cavities, larger than
// the canvas, composed the old way (the whole grid at a pixel per cell,
// then shrunk on the way to the screen) and as the window composes them
// now, only what the canvas shows: the whole grid at Fit, and the middle
// of it at one screen pixel per cell (1:1).
#include "core/flow_solver.h"
#include "render/screen_frame.h"
#include "support/scenario_grids.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>

namespace {

constexpr int canvasWidth = 1600;
constexpr int canvasHeight = 1000;

struct Flow {
    Grid grid;
    std::unique_ptr<FlowSolver> solver;
};

// 0: the cavity, 1: the channel, 2 and 3: the 2048 x 1024 and 4096 x 2048
// cavities; a few steps taken so the flow has moved.
Flow& flowFor(int which)
{
    static std::map<int, std::unique_ptr<Flow>> flows;
    std::unique_ptr<Flow>& flow = flows[which];
    if (!flow) {
        flow = std::make_unique<Flow>();
        if (which == 1)
            makeChannelScenario(flow->grid, 100, 50);
        else
            makeCavityScenario(flow->grid, 1024 << std::max(0, which - 1), 512 << std::max(0, which - 1));
        writeDefaultVelocities(flow->grid, which == 1 ? 1.0 : 0.0, 0.0);
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

// The window's place for the whole picture (NX x contentHeight) at Fit, or
// at one screen pixel per picture pixel about the canvas's centre.
CanvasPlace placeFor(int32_t NX, int contentHeight, bool oneToOne)
{
    const double scale = oneToOne ? 1.0
                                  : std::min(static_cast<double>(canvasWidth) / NX,
                                             static_cast<double>(canvasHeight) / contentHeight);
    return CanvasPlace{canvasWidth, canvasHeight, 0.5 * (canvasWidth - scale * NX),
                       0.5 * (canvasHeight - scale * contentHeight), scale};
}

// range(0): 2 or 3, the grid; range(1): the colour map; range(2): 0 the
// old whole picture, 1 Fit, 2 1:1.
void BM_LargeScreenFrame(benchmark::State& state)
{
    Flow& flow = flowFor(static_cast<int>(state.range(0)));
    RenderElements all;
    all.boundaryCells = all.streamlines = all.uField = all.vField = all.pressure = all.vectors = true;
    if (state.range(1))
        all.colourMap.quantity = ColourQuantity::Vorticity;
    const int32_t NX = flow.grid.NX;
    const int32_t NY = flow.grid.NY;
    const int k = screenPixelsPerCell(canvasWidth, canvasHeight, NX, NY);
    const double shrink = screenShrink(canvasWidth, canvasHeight, NX, NY);
    const int contentHeight = screenContentHeight(NY, k, state.range(1) != 0);
    ScreenWindow window;
    if (state.range(2))
        window = screenWindowFor(placeFor(NX, contentHeight, state.range(2) == 2), NX, NY, contentHeight);
    ScreenComposer composer;
    ScreenFrame frame;
    for (auto _ : state)
        composer.compose(flow.solver->state(), NX, NY, k, all, frame, shrink, nullptr, window);
    state.counters["width"] = frame.width;
    state.counters["height"] = frame.height;
}
BENCHMARK(BM_LargeScreenFrame)
    ->ArgsProduct({{2, 3}, {0, 1}, {0, 1, 2}})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_CavityStep(benchmark::State& state)
{
    Flow& flow = flowFor(0);
    for (auto _ : state)
        flow.solver->step();
}
BENCHMARK(BM_CavityStep)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
