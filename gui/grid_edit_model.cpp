#include "gui/grid_edit_model.h"

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

GridChange GridChange::addedEmitters(const Grid& current, const Emitters& added)
{
    auto copy = std::make_unique<Grid>();
    copy->NX = current.NX;
    copy->NY = current.NY;
    copy->allocateFluid();
    copy->aux1 = current.aux1;
    copy->aux2 = current.aux2;
    copy->dx = current.dx;
    copy->dy = current.dy;
    copy->flags.copyFrom(current.flags);
    copy->u.copyFrom(current.u);
    copy->v.copyFrom(current.v);
    copy->p.copyFrom(current.p);
    copy->emitters = current.emitters;
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

CellState GridEditModel::stateOf(int32_t i, int32_t j) const
{
    return {i, j, edited.flags[i][j], edited.u[i][j], edited.v[i][j]};
}

void GridEditModel::applyCell(const CellEdit& edit)
{
    if (edit.paintsWord)
        edited.setCell(edit.i, edit.j, edit.word);
    if (edit.setsVelocity) {
        edited.u[edit.i][edit.j] = edit.u;
        edited.v[edit.i][edit.j] = edit.v;
    }
}

// A recorded word may carry bits that setCell would change or refuse.
void GridEditModel::restoreCell(const CellState& state)
{
    edited.flags[state.i][state.j] = state.word;
    edited.u[state.i][state.j] = state.u;
    edited.v[state.i][state.j] = state.v;
}

// Each cell is recorded just before and just after its own edit, so a change
// that lists a cell twice still undoes step by step.
AppliedChange GridEditModel::apply(GridChange change)
{
    AppliedChange applied;
    if (change.replacement) {
        applied.replaced = std::make_unique<Grid>(std::move(edited));
        edited = std::move(*change.replacement);
        return applied;
    }
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
    return applied;
}
