// Cost of showing the screen picture on a 1600 x 1000 canvas, as the
// simulation window shows it: one texture upload and one quad, then the
// swap. The frames are a 1600 x 800 picture (a 100 x 50 grid at 16 pixels a
// cell) and a 1024 x 552 one (the 1024 x 512 grid at one pixel a cell with
// its colour bar); against it, the old way of a 5-pixel point per picture
// pixel from vertex arrays for the same 1600 x 800 picture. Needs an X
// display with GLX at least 1600 x 1000: run it under
// xvfb-run -s "-screen 0 1920x1200x24".
#include "gui/frame_presenter.h"
#include "render/screen_frame.h"

#include "canvas_bench_main.h"

#include <benchmark/benchmark.h>
#include <fx.h>
#include <fx3d.h>
#include <GL/gl.h>

namespace {

constexpr int canvasWidth = 1600;
constexpr int canvasHeight = 1000;

BenchCanvas shown;

// Coloured stripes: the content does not change the cost.
void stripes(FrameImage& picture)
{
    for (int x = 0; x < picture.width(); x += 16)
        picture.fillRect(x, 0, x + 7, picture.height() - 1, x % 256, 255 - x % 256, 128);
}

void BM_PresentTexture(benchmark::State& state)
{
    FrameImage picture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    stripes(picture);
    ScreenFrame frame;
    copyToScreenFrame(picture, picture.height(), 1, ColourRange{}, frame);
    FramePresenter presenter;
    for (auto _ : state) {
        shown.canvas->makeCurrent();
        presenter.paintTexture(frame, canvasWidth, canvasHeight);
        glFinish();
        shown.canvas->swapBuffers();
        shown.canvas->makeNonCurrent();
    }
}
BENCHMARK(BM_PresentTexture)->Args({1600, 800})->Args({1024, 552})->Unit(benchmark::kMillisecond);

void BM_PresentPoints(benchmark::State& state)
{
    FrameImage picture(1600, 800);
    stripes(picture);
    FramePresenter presenter;
    for (auto _ : state) {
        shown.canvas->makeCurrent();
        presenter.paint(picture, canvasWidth, canvasHeight, PointSubmission::Batched);
        glFinish();
        shown.canvas->swapBuffers();
        shown.canvas->makeNonCurrent();
    }
}
BENCHMARK(BM_PresentPoints)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return runCanvasBenchmarks(argc, argv, "bench_screen_present", canvasWidth, canvasHeight, shown);
}
