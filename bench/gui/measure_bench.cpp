// Cost of the measurements in the simulation window: cycles of a 120 x 80
// channel past a wall post (Re 200, dt 0.003, the picture at 4 pixels per
// cell) without measuring, and with the Measurements window open and one
// probe, so every step is measured and every frame cycle redraws the
// window's values and chart. Every run starts from a fresh window and takes
// the same number of cycles, so both do the same solver work. Frames every
// cycle (interval 1) and every 10th. Needs an X display: run it under
// xvfb-run. The second pair times the steps alone, headless: the share the
// measuring adds to the solver's work, free of the drawing.
#include "gui/calculate_window.h"
#include "support/channel_grid.h"

#include <benchmark/benchmark.h>
#include <fx.h>

#include <memory>

namespace {

constexpr int gridWidth = 120;
constexpr int gridHeight = 80;
constexpr int cyclesPerRun = 40;
constexpr int stepsPerRun = 100;

FXApp* application = nullptr;
FXMainWindow* ownerWindow = nullptr;

class BenchWindow : public CalculateWindow {
public:
    BenchWindow(const Grid* grid)
        : CalculateWindow(ownerWindow, grid, SolverSettings{200, 0.003, Convection::Central, false})
    {
    }
    using CalculateWindow::intervalSpinner;
    using CalculateWindow::report;
    using CalculateWindow::worker;
    // A probe placed in the middle of the picture, as a middle click places
    // it, and the window opened unless windowToo is false.
    void measure(bool windowToo)
    {
        if (windowToo)
            handle(this, FXSEL(SEL_COMMAND, ID_MEASURE), nullptr);
        FXEvent event;
        event.win_x = glCanvas->getWidth() / 2;
        event.win_y = glCanvas->getHeight() / 4;
        handle(glCanvas, FXSEL(SEL_MIDDLEBUTTONPRESS, ID_CANVAS), &event);
    }
};

void drain()
{
    for (int k = 0; k < 50; ++k) application->runOneEvent(false);
}

// state.range(0): 0 measures nothing, 1 measures with the window open, 2
// with a probe and the window closed; state.range(1): the frame interval.
void windowCycles(benchmark::State& state)
{
    Grid grid;
    makeChannel(grid, gridWidth, gridHeight);
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<BenchWindow>(&grid);
        window->create();
        window->show(PLACEMENT_SCREEN);
        window->intervalSpinner->setValue(static_cast<FXint>(state.range(1)));
        if (state.range(0)) window->measure(state.range(0) == 1);
        drain();
        state.ResumeTiming();
        // The worker takes the cycles; the window shows what it reports.
        window->handle(window.get(), FXSEL(SEL_COMMAND, CalculateWindow::ID_START), nullptr);
        while (window->report.cycles < cyclesPerRun)
            application->runOneEvent(true);
        state.PauseTiming();
        window->handle(window.get(), FXSEL(SEL_COMMAND, CalculateWindow::ID_PAUSE), nullptr);
        while (!window->worker->parked())
            application->runOneEvent(false);
        window.reset();
        drain();
        state.ResumeTiming();
    }
    state.counters["cycles"] = static_cast<double>(cyclesPerRun) * state.iterations();
}

// The solver's steps alone, and each followed by what the window does per
// step when measuring (the log's record with its history line) and per
// frame cycle (a chart point), without drawing: state.range(0) measures.
void steps(benchmark::State& state)
{
    Grid grid;
    makeChannel(grid, gridWidth, gridHeight);
    for (auto _ : state) {
        state.PauseTiming();
        SimulationRun run(grid, 200, 0.003);
        run.step();
        MeasureLog log(run.state(), 200);
        log.addProbe({1.0, 0.5}, run.state());
        ChartHistory chart(CalculateWindow::chartPoints);
        state.ResumeTiming();
        for (int step = 0; step < stepsPerRun; ++step) {
            run.cycle(1, [](int32_t) { return true; });
            if (!state.range(0)) continue;
            log.record(run.state(), run.cycles(), run.simulatedTime(), run.lastStepReport().dt,
                       run.lastStepReport().sweeps);
            chart.append(run.simulatedTime(), MeasureWindow::chartRow(log));
        }
    }
    state.counters["steps"] = static_cast<double>(stepsPerRun) * state.iterations();
}

}  // namespace

BENCHMARK(windowCycles)
    ->ArgNames({"measure", "interval"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({0, 10})
    ->Args({1, 10})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(steps)->ArgName("measure")->Arg(0)->Arg(1)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    FXApp app("Kelvo -Fluxeria v1.0", "Kelvo -Fluxeria v1.0");
    app.init(argc, argv);
    ownerWindow = new FXMainWindow(&app, "owner", nullptr, nullptr, DECOR_ALL, 0, 0, 800, 600);
    app.create();
    ownerWindow->show(PLACEMENT_SCREEN);
    application = &app;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
