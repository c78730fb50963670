// Cost of showing the picture where the simulation window's canvas view
// puts it, on a canvas of 1600 x 1000 screen pixels (a maximised window):
// the largest picture (1024 x 512 cells at 4 pixels a cell, 4096 x 2048)
// fitted and zoomed in, and the start-up grid's 160 x 80 fitted, each with
// the swap, beside the swap of a cleared canvas alone. Needs an X display with GLX: run it under xvfb-run.
#include "gui/canvas_picture.h"
#include "render/frame_image.h"

#include "canvas_bench_main.h"

#include <benchmark/benchmark.h>
#include <fx.h>
#include <fx3d.h>
#include <GL/gl.h>

#include <algorithm>

namespace {

constexpr int canvasWidth = 1600;
constexpr int canvasHeight = 1000;

BenchCanvas shown;

// Coloured stripes: the content does not change the cost.
void paintStripes(FrameImage& picture, int width, int height)
{
    picture.allocate(width, height);
    for (int x = 0; x < width; x += 16)
        picture.fillRect(x, 0, std::min(x + 7, width - 1), height - 1, x % 256, 255 - x % 256, 128);
}

void show(benchmark::State& state, int width, int height, double zoom)
{
    FrameImage picture;
    paintStripes(picture, width, height);
    CanvasView view({1.0, 16.0});
    view.setCanvas(canvasWidth, canvasHeight);
    view.setContent(width, height);
    if (zoom > 0.0)
        view.zoomAbout(canvasWidth / 2.0, canvasHeight / 2.0, zoom / view.scale());
    CanvasPicture drawing;
    for (auto _ : state) {
        shown.canvas->makeCurrent();
        drawing.draw(picture, view);
        glFinish();
        shown.canvas->swapBuffers();
        shown.canvas->makeNonCurrent();
    }
    state.counters["scale"] = view.scale();
}

// The floor: the canvas cleared and swapped, no picture.
void BM_ClearAndSwap(benchmark::State& state)
{
    for (auto _ : state) {
        shown.canvas->makeCurrent();
        glClear(GL_COLOR_BUFFER_BIT);
        glFinish();
        shown.canvas->swapBuffers();
        shown.canvas->makeNonCurrent();
    }
}

void BM_Fitted_4096x2048(benchmark::State& state) { show(state, 4096, 2048, 0.0); }
void BM_Zoomed4_4096x2048(benchmark::State& state) { show(state, 4096, 2048, 4.0); }
void BM_Fitted_160x80(benchmark::State& state) { show(state, 160, 80, 0.0); }

}  // namespace

BENCHMARK(BM_ClearAndSwap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fitted_4096x2048)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zoomed4_4096x2048)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fitted_160x80)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return runCanvasBenchmarks(argc, argv, "bench_canvas_picture", canvasWidth, canvasHeight, shown);
}
