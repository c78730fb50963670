// GridEditModel: the editor's grid and the one way it changes. Painting,
// erasing, New Grid, loading a file and the default velocities of
// "Calculate It" are all GridChanges handed to apply, which reports every
// cell before and after (or the grid it replaced), so that an undo list
// needs no other hook.
#pragma once

#include "core/grid.h"

#include <cstdint>
#include <memory>
#include <vector>

// One cell as it stands: flag word and face velocities.
struct CellState {
    int32_t i, j;
    int32_t word;
    double u, v;
};

// One cell's edit. A painted word goes through Grid::setCell, so the painting
// rules (inflow directions, outflow only on the border) hold.
struct CellEdit {
    int32_t i, j;
    bool paintsWord;    // the word is painted; otherwise the flag word stays
    int32_t word;
    bool setsVelocity;  // u and v are written; otherwise they stay
    double u, v;
};

// A list of cell edits, cells put back exactly as they stood, or, when
// replacement is set, a whole new grid.
struct GridChange {
    std::vector<CellEdit> cells;
    std::vector<CellState> restored;  // written as they are, past the painting rules
    std::unique_ptr<Grid> replacement;

    // The left button: word painted, velocity written.
    static GridChange paint(int32_t i, int32_t j, int32_t word, double u, double v);
    // A right click: fluid painted, velocity kept.
    static GridChange erase(int32_t i, int32_t j);
    // A right drag: fluid painted, velocity zeroed.
    static GridChange eraseToRest(int32_t i, int32_t j);
    // "Calculate It": the default velocities into every cell that takes them.
    static GridChange defaultVelocities(const Grid& grid, double u, double v);
    // New Grid: an all-fluid NX x NY grid with the cell size of cellSizeFor,
    // keeping aux1 and aux2 of the grid it replaces.
    static GridChange newFluidGrid(const Grid& current, int32_t NX, int32_t NY);
    // A loaded grid, its cell size recomputed from NX and NY.
    static GridChange loadedGrid(std::unique_ptr<Grid> loaded);
    // Emitters placed in the simulation window added to the grid's own: the
    // grid copied whole with them, so that undo takes them away again.
    static GridChange addedEmitters(const Grid& current, const Emitters& added);
    // Undo and redo: cells back to recorded states, or a recorded grid back.
    static GridChange restoring(std::vector<CellState> states);
    static GridChange restoringGrid(std::unique_ptr<Grid> grid);
};

// What apply did: each edited cell before and after, in the change's order,
// or the whole grid that a replacement took the place of.
struct AppliedChange {
    std::vector<CellState> before;
    std::vector<CellState> after;
    std::unique_ptr<Grid> replaced;
};

class GridEditModel {
public:
    const Grid& grid() const { return edited; }

    // Applies a change; cell edits must lie on the grid.
    AppliedChange apply(GridChange change);

private:
    CellState stateOf(int32_t i, int32_t j) const;
    void applyCell(const CellEdit& edit);
    void restoreCell(const CellState& state);

    Grid edited;
};
