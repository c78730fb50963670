// Cost of composing and saving a picture: each element, the whole pass and
// the PPM writer, on the start-up grid at 4 pixels per cell and on the
// largest new grid at 15, over a developed channel flow; and the frame
// cycle of a run with the default elements and PPM saving.
#include "render/boundary_cells.h"
#include "render/colour_bar.h"
#include "render/compose_frame.h"
#include "core/flow_solver.h"
#include "render/frame_image.h"
#include "io/ppm_writer.h"
#include "support/scenario_grids.h"
#include "render/scalar_field.h"
#include "render/streamlines.h"
#include "render/velocity_vectors.h"

#include "reference_render.h"

#include <benchmark/benchmark.h>

#include <cstdio>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// The channel set-up with the fluid started at the inflow speed.
void makeChannel(Grid& g, int NX, int NY)
{
    makeChannelScenario(g, NX, NY);
    writeDefaultVelocities(g, 1.0, 0.0);
}

// The flow of a grid size after some steps, built once per size.
struct Flow {
    Grid grid;
    std::unique_ptr<FlowSolver> solver;
    int k;
    FrameImage image;
};

Flow& developedFlow(int NX, int NY, int k, int steps)
{
    static std::map<int, std::unique_ptr<Flow>> flows;
    std::unique_ptr<Flow>& flow = flows[NX * 1000 + NY];
    if (!flow) {
        flow = std::make_unique<Flow>();
        makeChannel(flow->grid, NX, NY);
        flow->solver = buildSolver(flow->grid, 200, 0.003);
        for (int n = 0; n <= steps; ++n)
            flow->solver->step();
        flow->k = k;
    }
    flow->image.allocate(k * NX, k * NY);
    return *flow;
}

// The two sizes: 0 = 40 x 20 at k = 4, 1 = 120 x 80 at k = 15.
Flow& flowFor(const benchmark::State& state)
{
    return state.range(0) == 0 ? developedFlow(40, 20, 4, 300) : developedFlow(120, 80, 15, 40);
}

const std::string& frameDirectory()
{
    static const std::string directory =
        (std::filesystem::temp_directory_path() / ("kelvo-bench-frames-" + std::to_string(getpid()))).string();
    return directory;
}

void reportFrames(benchmark::State& state)
{
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ScalarField(benchmark::State& state)
{
    Flow& flow = flowFor(state);
    const SimGrid& g = flow.solver->state();
    ScalarFieldPass fields;
    for (auto _ : state)
        fields.draw(flow.image, g.NX, g.NY, g.u, flow.k, 1, 0, 0);
    reportFrames(state);
}

void BM_BoundaryCells(benchmark::State& state)
{
    Flow& flow = flowFor(state);
    const SimGrid& g = flow.solver->state();
    for (auto _ : state)
        drawBoundaryCells(flow.image, g.NX, g.NY, g.flags, flow.k);
    reportFrames(state);
}

void BM_VelocityVectors(benchmark::State& state)
{
    Flow& flow = flowFor(state);
    const SimGrid& g = flow.solver->state();
    for (auto _ : state) {
        flow.image.clearRect(1, 1, flow.image.width() - 1, flow.image.height() - 1, 0);
        drawVelocityVectors(flow.image, g.NX, g.NY, g.u, g.v, flow.k);
    }
    reportFrames(state);
}

void BM_Streamlines(benchmark::State& state)
{
    Flow& flow = flowFor(state);
    const SimGrid& g = flow.solver->state();
    StreamlinePass streamlines;
    for (auto _ : state) {
        flow.image.clearRect(1, 1, flow.image.width() - 1, flow.image.height() - 1, 0);
        streamlines.draw(flow.image, g.NX, g.NY, g, flow.k);
    }
    reportFrames(state);
}

void BM_PpmWriter(benchmark::State& state)
{
    Flow& flow = flowFor(state);
    FrameComposer().compose(flow.image, flow.solver->state(), flow.grid.NX, flow.grid.NY, flow.k,
                            RenderElements{true, true, true, true, true, true, {}});
    PpmFrameOutput frames(frameDirectory());
    for (auto _ : state) {
        frames.restartNumbering();  // one file, overwritten
        if (!frames.writeFrame(flow.image.rgbPlanes()).ok)
            state.SkipWithError("cannot write the frame");
    }
    reportFrames(state);
}

// The designed u, v and p fields together against a colour map of one
// quantity in their place (vorticity, the one that needs the most
// arithmetic per cell), the rest of the pass off.
void BM_DesignedThreeFields(benchmark::State& state)
{
    Flow& flow = flowFor(state);
    const RenderElements fields{false, false, true, true, true, false, {}};
    FrameComposer composer;
    for (auto _ : state)
        composer.compose(flow.image, flow.solver->state(), flow.grid.NX, flow.grid.NY, flow.k, fields);
    reportFrames(state);
}

void BM_ColourMapFrame(benchmark::State& state)
{
    Flow& flow = flowFor(state);
    RenderElements map;
    map.colourMap.quantity = ColourQuantity::Vorticity;
    FrameComposer composer;
    for (auto _ : state)
        composer.compose(flow.image, flow.solver->state(), flow.grid.NX, flow.grid.NY, flow.k, map);
    reportFrames(state);
}

// The colour bar's strip under a 120 x 80 picture at 15 pixels per cell.
void BM_ColourBarStrip(benchmark::State& state)
{
    FrameImage strip(1800, colour_bar::stripHeight);
    for (auto _ : state)
        drawColourBar(strip, 0, ColourQuantity::Vorticity, ColourRange{-12.5, 12.5});
    reportFrames(state);
}

// All six elements and the PPM file: a frame of a run with everything on.
void BM_ComposeAndSaveAll(benchmark::State& state)
{
    Flow& flow = flowFor(state);
    const RenderElements all{true, true, true, true, true, true, {}};
    FrameComposer composer;
    PpmFrameOutput frames(frameDirectory());
    for (auto _ : state) {
        composer.compose(flow.image, flow.solver->state(), flow.grid.NX, flow.grid.NY, flow.k, all);
        frames.restartNumbering();
        frames.writeFrame(flow.image.rgbPlanes());
    }
    reportFrames(state);
}

// One cycle of a run on the start-up grid with the default elements
// (boundary cells, streamlines) saved as PPM at every step.
void BM_FrameCycleDefault40x20(benchmark::State& state)
{
    Grid grid;
    makeChannel(grid, 40, 20);
    auto solver = buildSolver(grid, 200, 0.003);
    for (int n = 0; n <= 300; ++n)
        solver->step();
    FrameImage image(160, 80);
    FrameComposer composer;
    PpmFrameOutput frames(frameDirectory());
    const RenderElements defaults{true, true, false, false, false, false, {}};
    for (auto _ : state) {
        solver->step();
        composer.compose(image, solver->state(), 40, 20, 4, defaults);
        frames.restartNumbering();
        frames.writeFrame(image.rgbPlanes());
    }
    reportFrames(state);
}

// One cycle of a run on the largest new grid, 15 pixels per cell, with all
// six elements saved as PPM at every step: the solver step included.
void BM_FrameCycleAll120x80(benchmark::State& state)
{
    Flow& flow = developedFlow(120, 80, 15, 40);
    const RenderElements all{true, true, true, true, true, true, {}};
    FrameComposer composer;
    PpmFrameOutput frames(frameDirectory());
    for (auto _ : state) {
        flow.solver->step();
        composer.compose(flow.image, flow.solver->state(), 120, 80, 15, all);
        frames.restartNumbering();
        frames.writeFrame(flow.image.rgbPlanes());
    }
    reportFrames(state);
}

// The solver step alone on the largest new grid.
void BM_SolverStep120x80(benchmark::State& state)
{
    Flow& flow = developedFlow(120, 80, 15, 40);
    for (auto _ : state)
        flow.solver->step();
    reportFrames(state);
}

// --- the straightforward rendering, for comparison -----------------------

// A PPM file written with one formatted print per pixel.
void writeLiteralPpm(const ReferencePicture& picture, const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        return;
    std::fprintf(file, "P3\n%d %d\n255\n", picture.W - 1, picture.H - 1);
    for (int y = 1; y < picture.H; ++y)
        for (int x = 1; x < picture.W; ++x)
            std::fprintf(file, "%d %d %d\n", static_cast<int>(picture.plane[0][y][x]),
                         static_cast<int>(picture.plane[1][y][x]), static_cast<int>(picture.plane[2][y][x]));
    std::fclose(file);
}

void BM_LiteralStreamlines(benchmark::State& state)
{
    Flow& flow = flowFor(state);
    const SimGrid& g = flow.solver->state();
    for (auto _ : state) {
        ReferencePicture picture(flow.k * g.NX, flow.k * g.NY);
        referenceStreamlines(picture, g.NX, g.NY, g, flow.k);
        benchmark::DoNotOptimize(picture.plane[0][1][1]);
    }
    reportFrames(state);
}

void BM_LiteralComposeAndSaveAll(benchmark::State& state)
{
    Flow& flow = flowFor(state);
    const SimGrid& g = flow.solver->state();
    std::filesystem::create_directories(frameDirectory());
    for (auto _ : state) {
        const ReferencePicture picture =
            referenceCompose(g, g.NX, g.NY, flow.k, ReferenceElements{true, true, true, true, true, true});
        writeLiteralPpm(picture, frameDirectory() + "/literal.ppm");
    }
    reportFrames(state);
}

void BM_LiteralFrameCycleDefault40x20(benchmark::State& state)
{
    Grid grid;
    makeChannel(grid, 40, 20);
    auto solver = buildSolver(grid, 200, 0.003);
    for (int n = 0; n <= 300; ++n)
        solver->step();
    std::filesystem::create_directories(frameDirectory());
    for (auto _ : state) {
        solver->step();
        const ReferencePicture picture = referenceCompose(
            solver->state(), 40, 20, 4, ReferenceElements{true, true, false, false, false, false});
        writeLiteralPpm(picture, frameDirectory() + "/literal.ppm");
    }
    reportFrames(state);
}

// The solver step alone, to tell it apart from the picture in a cycle.
void BM_SolverStep40x20(benchmark::State& state)
{
    Grid grid;
    makeChannel(grid, 40, 20);
    auto solver = buildSolver(grid, 200, 0.003);
    for (int n = 0; n <= 300; ++n)
        solver->step();
    for (auto _ : state)
        solver->step();
    reportFrames(state);
}

}  // namespace

BENCHMARK(BM_ScalarField)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BoundaryCells)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VelocityVectors)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Streamlines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PpmWriter)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeAndSaveAll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DesignedThreeFields)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColourMapFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColourBarStrip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameCycleDefault40x20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolverStep40x20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameCycleAll120x80)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolverStep120x80)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiteralStreamlines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiteralComposeAndSaveAll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiteralFrameCycleDefault40x20)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(frameDirectory());
    return 0;
}
