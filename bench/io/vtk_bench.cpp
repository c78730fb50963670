// Cost of one VTK field file of a 255 x 255 grid (the largest the editor
// makes), the channel set-up with smooth made-up fields (the cost does not
// depend on the values, and solving that grid takes minutes): encoding
// alone, and the
// whole frame as a run writes it (the file through its temporary, and the
// collection rewritten). The files go to the temporary directory, so the
// figures include the page cache but not the disk.
#include "io/vtk_fields.h"
#include "io/vtk_series.h"
#include "support/scenario_grids.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int gridCells = 255;
// Frames written before the numbering starts again, so that a long
// benchmark keeps a few dozen megabytes on disk, not gigabytes.
constexpr int framesPerRun = 10;

const Grid& channelGrid()
{
    static const std::unique_ptr<Grid> grid = [] {
        auto made = std::make_unique<Grid>();
        makeChannelScenario(*made, gridCells, gridCells);
        for (int32_t i = 0; i < made->NX; ++i)
            for (int32_t j = 0; j < made->NY; ++j) {
                made->u[i][j] = 1.0 + 0.1 * std::sin(0.05 * i) * std::cos(0.07 * j);
                made->v[i][j] = 0.1 * std::cos(0.05 * i) * std::sin(0.07 * j);
                made->p[i][j] = 0.01 * (made->NX - i);
            }
        return made;
    }();
    return *grid;
}

void BM_VtkEncode(benchmark::State& state)
{
    const Grid& grid = channelGrid();
    std::vector<char> bytes;
    for (auto _ : state) {
        encodeVtkFields(grid, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

void BM_VtkFrame(benchmark::State& state)
{
    const Grid& grid = channelGrid();
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("kelvo-bench-vtk-" + std::to_string(getpid()));
    VtkFieldsOutput output(directory.string());
    double time = 0.0;
    for (auto _ : state) {
        if (output.nextNumber() == framesPerRun)
            output.restartNumbering();
        time += 0.003;
        if (!output.writeFrame(grid, time).ok) {
            state.SkipWithError("the field file could not be written");
            break;
        }
    }
    std::filesystem::remove_all(directory);
}

}  // namespace

BENCHMARK(BM_VtkEncode)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_VtkFrame)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
