// Cost of showing the picture on the simulation window's canvas (392 x 192
// screen pixels): every pixel as a 5-pixel point, submitted one glBegin /
// glEnd per point or from vertex arrays, then the swap. The picture is the
// start-up grid's 160 x 80 (40 x 20 at 4 pixels per cell), 1800 x 1200
// (120 x 80 at 15) and the largest picture, 4096 x 2048 (1024 x 512 at 4). Needs an X display with GLX: run it
// under xvfb-run.
#include "render/compose_frame.h"
#include "core/flow_solver.h"
#include "render/frame_image.h"
#include "gui/frame_presenter.h"

#include "canvas_bench_main.h"

#include <benchmark/benchmark.h>
#include <fx.h>
#include <fx3d.h>
#include <GL/gl.h>

namespace {

constexpr int canvasWidth = 392;
constexpr int canvasHeight = 192;

BenchCanvas shown;
FXGLCanvas*& canvas = shown.canvas;

// A channel past a wall post, developed for a few steps, composed with
// every element at k pixels per cell.
void composeChannel(FrameImage& picture, int NX, int NY, int k)
{
    Grid grid;
    makeFluidGrid(grid, NX, NY);
    for (int j = 0; j < NY; ++j) {
        grid.setCell(0, j, CELL_INFLOW);
        grid.u[0][j] = 1.0;
        grid.setCell(NX - 1, j, CELL_OUTFLOW);
    }
    for (int i = 0; i < NX; ++i) {
        grid.setCell(i, 0, CELL_NOSLIP_WALL);
        grid.setCell(i, NY - 1, CELL_NOSLIP_WALL);
    }
    for (int j = NY / 3; j < NY / 2; ++j)
        grid.setCell(NX / 4, j, CELL_NOSLIP_WALL);
    writeDefaultVelocities(grid, 1.0, 0.0);
    auto solver = buildSolver(grid, 100, 0.003);
    for (int n = 0; n < 10; ++n)
        solver->step();
    picture.allocate(NX * k, NY * k);
    RenderElements all;
    all.boundaryCells = all.streamlines = all.uField = all.vField = all.pressure = all.vectors = true;
    FrameComposer().compose(picture, solver->state(), NX, NY, k, all);
}

// presentFrame's work: context, clear, points, swap, release; glFinish so
// the drawing itself is counted.
void present(benchmark::State& state, PointSubmission submission, int NX, int NY, int k)
{
    FrameImage picture;
    FramePresenter presenter;
    composeChannel(picture, NX, NY, k);
    for (auto _ : state) {
        canvas->makeCurrent();
        presenter.paint(picture, canvasWidth, canvasHeight, submission);
        glFinish();
        canvas->swapBuffers();
        canvas->makeNonCurrent();
    }
    state.counters["points"] = static_cast<double>(picture.width()) * picture.height();
}

void BM_PresentLiteral_40x20_k4(benchmark::State& state) { present(state, PointSubmission::Literal, 40, 20, 4); }
void BM_PresentBatched_40x20_k4(benchmark::State& state) { present(state, PointSubmission::Batched, 40, 20, 4); }
void BM_PresentLiteral_120x80_k15(benchmark::State& state) { present(state, PointSubmission::Literal, 120, 80, 15); }
void BM_PresentBatched_120x80_k15(benchmark::State& state) { present(state, PointSubmission::Batched, 120, 80, 15); }
// The largest picture: its content does not change the cost, and ten steps
// of the largest grid would take minutes, so coloured stripes stand in.
void BM_PresentBatched_4096x2048(benchmark::State& state)
{
    FrameImage picture(4096, 2048);
    for (int x = 0; x < 4096; x += 16)
        picture.fillRect(x, 0, x + 7, 2047, x % 256, 255 - x % 256, 128);
    FramePresenter presenter;
    for (auto _ : state) {
        canvas->makeCurrent();
        presenter.paint(picture, canvasWidth, canvasHeight, PointSubmission::Batched);
        glFinish();
        canvas->swapBuffers();
        canvas->makeNonCurrent();
    }
}

}  // namespace

BENCHMARK(BM_PresentLiteral_40x20_k4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PresentBatched_40x20_k4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PresentLiteral_120x80_k15)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PresentBatched_120x80_k15)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PresentBatched_4096x2048)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return runCanvasBenchmarks(argc, argv, "bench_present", canvasWidth, canvasHeight, shown);
}
