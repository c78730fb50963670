// The main of a GL canvas benchmark: a shown window holding nothing but a
// double-buffered canvas of the given size, then the registered benchmarks.
// Needs an X display with GLX: run it under xvfb-run.
#pragma once

#include <benchmark/benchmark.h>
#include <fx.h>
#include <fx3d.h>

// The canvas the benchmarks draw on, set before they run.
struct BenchCanvas {
    FXGLCanvas* canvas = nullptr;
    FXGLVisual* visual = nullptr;
};

inline int runCanvasBenchmarks(int argc, char** argv, const char* name, int width, int height, BenchCanvas& out)
{
    FXApp app(name, name);
    app.init(argc, argv);
    FXMainWindow* window = new FXMainWindow(&app, name, nullptr, nullptr, DECOR_NONE, 0, 0, width, height, 0, 0, 0,
                                            0, 0, 0);
    out.visual = new FXGLVisual(&app, VISUAL_DOUBLEBUFFER);
    out.canvas = new FXGLCanvas(window, out.visual, nullptr, 0, LAYOUT_FIX_WIDTH | LAYOUT_FIX_HEIGHT, 0, 0, width,
                                height);
    app.create();
    window->show(PLACEMENT_SCREEN);
    for (int n = 0; n < 100; ++n)
        app.runOneEvent(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete window;
    delete out.visual;
    return 0;
}
