#include "gui/grid_edit_model.h"

#include "core/immersed_boundary.h"

#include <algorithm>
#include <utility>

GridChange GridChange::paint(int32_t i, int32_t j, int32_t word, double u, double v)
{
    GridChange change;
    change.cells.push_back({i, j, true, word, true, u, v});
    return change;
}

GridChange GridChange::erase(int32_t i, int32_t j)
{
    GridChange change;
    change.cells.push_back({i, j, true, CELL_FLUID, false, 0.0, 0.0});
    return change;
}

GridChange GridChange::eraseToRest(int32_t i, int32_t j)
{
    return paint(i, j, CELL_FLUID, 0.0, 0.0);
}

// The flag words stay: a word carrying more than the fluid bit (only ever
// read from a file) must not pass through setCell.
GridChange GridChange::defaultVelocities(const Grid& grid, double u, double v)
{
    GridChange change;
    forEachDefaultVelocityCell(grid, [&change, u, v](int32_t i, int32_t j) {
        change.cells.push_back({i, j, false, 0, true, u, v});
    });
    return change;
}

GridChange GridChange::newFluidGrid(const Grid& current, int32_t NX, int32_t NY)
{
    GridChange change;
    change.replacement = std::make_unique<Grid>();
    makeFluidGrid(*change.replacement, NX, NY);
    change.replacement->aux1 = current.aux1;
    change.replacement->aux2 = current.aux2;
    return change;
}

// The file's own dx and dy never count.
GridChange GridChange::loadedGrid(std::unique_ptr<Grid> loaded)
{
    const CellSize size = cellSizeFor(loaded->NX, loaded->NY);
    loaded->dx = size.dx;
    loaded->dy = size.dy;
    GridChange change;
    change.replacement = std::move(loaded);
    return change;
}

GridChange GridChange::restoring(std::vector<CellState> states)
{
    GridChange change;
    change.restored = std::move(states);
    return change;
}

GridChange GridChange::addedBody(const Grid& current, const BodyOutline& outline)
{
    GridChange change;
    change.setsOutlines = true;
    change.outlines = current.outlines;
    change.outlines.push_back(outline);
    for (const auto& cell : cellsCoveredBy(current, outline))
        change.cells.push_back({cell.first, cell.second, true, CELL_NOSLIP_WALL, true, 0.0, 0.0});
    return change;
}

GridChange GridChange::removedBody(const Grid& current, size_t k)
{
    GridChange change;
    change.setsOutlines = true;
    change.outlines = current.outlines;
    change.outlines.erase(change.outlines.begin() + static_cast<std::ptrdiff_t>(k));
    for (const auto& cell : cellsCoveredBy(current, current.outlines[k]))
        if (current.flags[cell.first][cell.second] == CELL_NOSLIP_WALL)
            change.cells.push_back({cell.first, cell.second, true, CELL_FLUID, true, 0.0, 0.0});
    return change;
}

// The whole grid copied, outlines, heat and dye with it.
GridChange GridChange::addedEmitters(const Grid& current, const Emitters& added)
{
    auto copy = std::make_unique<Grid>();
    copyGridArrays(current, *copy);
    copy->emitters.insert(copy->emitters.end(), added.begin(), added.end());
    GridChange change;
    change.replacement = std::move(copy);
    return change;
}

GridChange GridChange::restoringGrid(std::unique_ptr<Grid> grid)
{
    GridChange change;
    change.replacement = std::move(grid);
    return change;
}

GridChange GridChange::scalarSettings(const HeatSettings& heat, const DyeSettings& dye)
{
    GridChange change;
    change.setsScalarSettings = true;
    change.heatSettings = heat;
    change.dyeSettings = dye;
    return change;
}

GridChange GridChange::settingsChange(const GridSettings& settings)
{
    GridChange change;
    change.settings = settings;
    return change;
}

// Inflow dye bands need the grid to carry dye: the band width switches it
// on in the same step, so that undoing the width switches it off again.
void GridEditModel::carryDye(const GridChange& change, AppliedChange& applied)
{
    GridScalars& s = edited.scalars;
    if (change.carriesDye && !*change.carriesDye) {
        s.dye = false;
        s.c = Array2D<double>();
    } else if (!s.dye && (change.carriesDye || (change.settings && pageSettings.dye.bandWidth > 0))) {
        enableDye(s, edited.NX, edited.NY);
        applied.switchedDyeOn = true;
    }
}

void GridEditModel::carrySettings()
{
    edited.scalars.heatSettings = pageSettings.heat;
    edited.scalars.dyeSettings = pageSettings.dye;
}

CellState GridEditModel::stateOf(int32_t i, int32_t j) const
{
    CellState state{i, j, edited.flags[i][j], edited.u[i][j], edited.v[i][j]};
    const GridScalars& s = edited.scalars;
    if (s.heat) {
        state.holdsTemperature = s.fixedTemperature[i][j];
        state.T = s.T[i][j];
    }
    if (s.dye)
        state.c = s.c[i][j];
    return state;
}

void GridEditModel::applyCell(const CellEdit& edit)
{
    if (edit.paintsWord)
        edited.setCell(edit.i, edit.j, edit.word);
    if (edit.setsVelocity) {
        edited.u[edit.i][edit.j] = edit.u;
        edited.v[edit.i][edit.j] = edit.v;
    }
    GridScalars& s = edited.scalars;
    if (edit.scalars.setsTemperature) {
        enableHeat(s, edited.NX, edited.NY);
        s.fixedTemperature[edit.i][edit.j] = edit.scalars.holdsTemperature ? 1 : 0;
        s.T[edit.i][edit.j] = edit.scalars.T;
    }
    if (edit.scalars.setsDye) {
        enableDye(s, edited.NX, edited.NY);
        s.c[edit.i][edit.j] = edit.scalars.c;
    }
}

// A recorded word may carry bits that setCell would change or refuse.
void GridEditModel::restoreCell(const CellState& state)
{
    edited.flags[state.i][state.j] = state.word;
    edited.u[state.i][state.j] = state.u;
    edited.v[state.i][state.j] = state.v;
    GridScalars& s = edited.scalars;
    if (s.heat) {
        s.fixedTemperature[state.i][state.j] = state.holdsTemperature;
        s.T[state.i][state.j] = state.T;
    }
    if (s.dye)
        s.c[state.i][state.j] = state.c;
}

// Each cell is recorded just before and just after its own edit, so a change
// that lists a cell twice still undoes step by step.
AppliedChange GridEditModel::apply(GridChange change)
{
    AppliedChange applied;
    applied.settingsBefore = pageSettings;
    if (change.settings)
        pageSettings = *change.settings;
    if (change.replacement) {
        applied.replaced = std::make_unique<Grid>(std::move(edited));
        edited = std::move(*change.replacement);
        carrySettings();
        applied.settingsAfter = pageSettings;
        return applied;
    }
    if (change.setsScalarSettings) {
        pageSettings.heat = change.heatSettings;
        pageSettings.dye = change.dyeSettings;
        if (change.dyeSettings.bandWidth > 0)
            enableDye(edited.scalars, edited.NX, edited.NY);
    }
    carryDye(change, applied);
    carrySettings();
    applied.settingsAfter = pageSettings;
    const std::vector<BodyOutline> outlinesBefore = edited.outlines;
    if (change.setsOutlines)
        edited.outlines = std::move(change.outlines);
    applied.before.reserve(change.cells.size() + change.restored.size());
    applied.after.reserve(change.cells.size() + change.restored.size());
    for (const CellEdit& edit : change.cells) {
        applied.before.push_back(stateOf(edit.i, edit.j));
        applyCell(edit);
        applied.after.push_back(stateOf(edit.i, edit.j));
    }
    for (const CellState& state : change.restored) {
        applied.before.push_back(stateOf(state.i, state.j));
        restoreCell(state);
        applied.after.push_back(stateOf(state.i, state.j));
    }
    if (!edited.outlines.empty() && !change.cells.empty())
        edited.outlines = outlinesKeptAfter(change.cells);
    if (change.setsOutlines || edited.outlines.size() != outlinesBefore.size()) {
        applied.outlinesChanged = true;
        applied.outlinesBefore = outlinesBefore;
        applied.outlinesAfter = edited.outlines;
    }
    return applied;
}

std::vector<BodyOutline> GridEditModel::outlinesKeptAfter(const std::vector<CellEdit>& edits) const
{
    std::vector<BodyOutline> kept;
    for (const BodyOutline& o : edited.outlines) {
        const OutlineBox box = outlineBox(o);
        const bool paintedOver = std::any_of(edits.begin(), edits.end(), [&](const CellEdit& e) {
            const double x = (e.i + 0.5) * edited.dx, y = (e.j + 0.5) * edited.dy;
            return e.paintsWord && edited.flags[e.i][e.j] != CELL_NOSLIP_WALL && x >= box.xLow && x <= box.xHigh
                   && y >= box.yLow && y <= box.yHigh && signedDistance(o, x, y) < 0.0;
        });
        if (!paintedOver)
            kept.push_back(o);
    }
    return kept;
}
