// A stranger's grid file, once loaded, is run: whatever flag words and
// velocities it holds, building the solver and taking steps must stay
// within the arrays and free of undefined behaviour (non-finite fields are
// allowed; they are the flow's business, not a fault).
#include "core/flow_solver.h"
#include "io/grid_file.h"

#include <cstddef>
#include <cstdint>

namespace {

// Larger grids only make each run slower; their cells behave the same.
constexpr int32_t maxCellsRun = 400;
// The editor's default "Delta Time".
constexpr double editorDt = 0.003;
// Steps after the one buildSolver's caller takes.
constexpr int extraSteps = 1;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Grid grid;
    GridFileSettings raw;
    if (decodeGridFile(data, size, grid, raw) != GridFileStatus::Ok ||
        grid.NX * grid.NY > maxCellsRun)
        return 0;
    // As "&Calculate It" does with the spinners' values.
    const GridFileSettings s = editorSettings(raw);
    writeDefaultVelocities(grid, s.defaultU, s.defaultV);
    const auto solver = buildSolver(grid, s.reynolds, editorDt);
    solver->step();
    for (int k = 0; k < extraSteps; ++k)
        solver->step();
    return 0;
}
