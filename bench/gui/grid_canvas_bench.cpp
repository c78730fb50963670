// Cost of drawing the editor's canvas (600 x 400 screen pixels): a whole
// repaint of the grid, and one pointer move while a shape is dragged out
// over a quarter of the grid. The grids are the start-up 40 x 20 and the
// largest 1024 x 512, each a channel with an inflow and an outflow column,
// walls top and bottom, a moving lid over part of the top and a wall post.
// Needs an X display with GLX: run it under xvfb-run.
#include "core/cell_types.h"
#include "core/grid.h"
#include "gui/grid_drawing.h"
#include "gui/grid_view.h"
#include "gui/shape_cells.h"

#include "canvas_bench_main.h"

#include <benchmark/benchmark.h>
#include <fx.h>
#include <fx3d.h>
#include <GL/gl.h>

namespace {

constexpr int canvasWidth = 600;
constexpr int canvasHeight = 400;

BenchCanvas shown;
FXGLCanvas*& canvas = shown.canvas;
FXGLVisual*& visual = shown.visual;

void makeChannel(Grid& grid, int NX, int NY)
{
    makeFluidGrid(grid, NX, NY);
    for (int j = 1; j < NY - 1; ++j) {
        grid.setCell(0, j, CELL_INFLOW | DIR_EAST);
        grid.setCell(NX - 1, j, CELL_OUTFLOW | DIR_EAST);
    }
    for (int i = 0; i < NX; ++i) {
        grid.setCell(i, 0, CELL_NOSLIP_WALL);
        grid.setCell(i, NY - 1, i < NX / 2 ? CELL_MOVING_WALL : CELL_SLIP_WALL);
        if (i < NX / 2)
            grid.u[i][NY - 1] = 1.0;
    }
    for (int j = NY / 3; j < NY / 2; ++j)
        grid.setCell(NX / 4, j, CELL_NOSLIP_WALL);
}

// A whole repaint as the canvas's paint handler makes it; glFinish so the
// drawing itself is counted.
void repaint(benchmark::State& state, int NX, int NY)
{
    Grid grid;
    makeChannel(grid, NX, NY);
    const GridView view;
    CellTexture cells;
    for (auto _ : state) {
        paintGridCanvas(canvas, visual, &grid, view, cells);
        canvas->makeCurrent();
        glFinish();
        canvas->makeNonCurrent();
    }
    state.counters["cells"] = static_cast<double>(NX) * NY;
}

// One pointer move of a filled rectangle dragged over a quarter of the grid.
void dragShape(benchmark::State& state, int NX, int NY)
{
    Grid grid;
    makeChannel(grid, NX, NY);
    const GridView view;
    const std::vector<CellIndex> shape = shapeCells(ShapeKind::FilledRectangle, {NX / 4, NY / 4}, {NX / 2, NY / 2});
    CellTexture cells;
    for (auto _ : state) {
        beginGridFrame(canvas);
        drawGrid(grid, view, cells);
        setColour(GridColours::pointerCell);
        drawMarkedCells(view, NX, NY, shape);
        endGridFrame(canvas, visual);
        canvas->makeCurrent();
        glFinish();
        canvas->makeNonCurrent();
    }
    state.counters["outlined"] = static_cast<double>(shape.size());
}

void BM_Repaint_40x20(benchmark::State& state) { repaint(state, 40, 20); }
void BM_Repaint_1024x512(benchmark::State& state) { repaint(state, 1024, 512); }
void BM_DragShape_40x20(benchmark::State& state) { dragShape(state, 40, 20); }
void BM_DragShape_1024x512(benchmark::State& state) { dragShape(state, 1024, 512); }

}  // namespace

BENCHMARK(BM_Repaint_40x20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Repaint_1024x512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragShape_40x20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragShape_1024x512)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return runCanvasBenchmarks(argc, argv, "bench_grid_canvas", canvasWidth, canvasHeight, shown);
}
