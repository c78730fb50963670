// GridEditModel: the editor's grid, its settings and the one way they
// change. Painting, erasing, New Grid, loading a file, the default
// velocities of "Calculate It" and the Simulation page's settings are all
// GridChanges handed to apply, which reports every cell before and after
// (or the grid it replaced) and the settings before and after, so that an
// undo list needs no other hook.
#pragma once

#include "core/grid.h"
#include "gui/grid_settings.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// One cell as it stands: flag word, face velocities, and its heat and dye
// (zero while the grid carries none).
struct CellState {
    int32_t i, j;
    int32_t word;
    double u, v;
    unsigned char holdsTemperature = 0;
    double T = 0.0;
    double c = 0.0;
};

// What painting does to a cell's heat and dye besides its word and
// velocity; setting either switches it on for the grid.
struct ScalarPaint {
    bool setsTemperature = false;
    bool holdsTemperature = false;  // a wall holds T; otherwise it is insulated
    double T = 0.0;
    bool setsDye = false;
    double c = 0.0;
};

// One cell's edit. A painted word goes through Grid::setCell, so the painting
// rules (inflow directions, outflow only on the border) hold.
struct CellEdit {
    int32_t i, j;
    bool paintsWord;    // the word is painted; otherwise the flag word stays
    int32_t word;
    bool setsVelocity;  // u and v are written; otherwise they stay
    double u, v;
    ScalarPaint scalars = {};
};

// A list of cell edits, cells put back exactly as they stood, or, when
// replacement is set, a whole new grid.
struct GridChange {
    std::vector<CellEdit> cells;
    std::vector<CellState> restored;  // written as they are, past the painting rules
    std::unique_ptr<Grid> replacement;
    // The numbers of heat and dye, when set: heat's only kept while the grid
    // carries heat; a dye band width above 0 switches dye on.
    bool setsScalarSettings = false;
    HeatSettings heatSettings;
    DyeSettings dyeSettings;
    // The grid's exact outlines, when set: written before the cells.
    bool setsOutlines = false;
    std::vector<BodyOutline> outlines;
    // The page's settings, when set. Without them a replacement takes the
    // heat and dye numbers the page shows, as the cells painted later do.
    std::optional<GridSettings> settings;
    // Whether the grid carries dye, when set (undo and redo of a dye band
    // width that switched dye on); otherwise a band width above 0 in the
    // settings switches dye on.
    std::optional<bool> carriesDye;

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
    // A body with an exact outline added: the outline, and its cells (those
    // it covers wholly, core/immersed_boundary.h) painted no-slip walls at
    // rest.
    static GridChange addedBody(const Grid& current, const BodyOutline& outline);
    // Outline k taken away, its wall cells made fluid at rest.
    static GridChange removedBody(const Grid& current, size_t k);
    static GridChange restoringGrid(std::unique_ptr<Grid> grid);
    // The Simulation page's heat and dye numbers.
    static GridChange scalarSettings(const HeatSettings& heat, const DyeSettings& dye);
    // The page's settings, the cells left as they are.
    static GridChange settingsChange(const GridSettings& settings);
};

// What apply did: each edited cell before and after, in the change's order,
// or the whole grid that a replacement took the place of.
// An outline stays only while no cell whose centre it holds is painted
// with another type than a no-slip wall: erasing into a body, or painting
// another type over it, takes its outline away in the same change.
struct AppliedChange {
    std::vector<CellState> before;
    std::vector<CellState> after;
    std::unique_ptr<Grid> replaced;
    bool outlinesChanged = false;           // the outlines below differ
    std::vector<BodyOutline> outlinesBefore;
    std::vector<BodyOutline> outlinesAfter;
    GridSettings settingsBefore;            // the page's settings before and after
    GridSettings settingsAfter;
    bool switchedDyeOn = false;             // the settings' dye band width did
};

class GridEditModel {
public:
    const Grid& grid() const { return edited; }
    // The page's settings as last applied; the grid carries their heat and
    // dye numbers.
    const GridSettings& settings() const { return pageSettings; }

    // Applies a change; cell edits must lie on the grid.
    AppliedChange apply(GridChange change);

private:
    CellState stateOf(int32_t i, int32_t j) const;
    void applyCell(const CellEdit& edit);
    void restoreCell(const CellState& state);
    // The outlines that keep no painted cell of another type inside.
    std::vector<BodyOutline> outlinesKeptAfter(const std::vector<CellEdit>& edits) const;

    // The grid takes the settings' heat and dye numbers.
    void carrySettings();
    void carryDye(const GridChange& change, AppliedChange& applied);

    Grid edited;
    GridSettings pageSettings;
};
