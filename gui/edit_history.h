// EditHistory: the editor's undo and redo. It keeps what GridEditModel::apply
// reported, as the cells that changed (each cell's first state before and
// last state after a step), or, for a whole new grid, the grid that is not
// in the model at the moment; undo and redo swap that grid in and out, so
// no grid is ever copied. Every step keeps the page's settings before and
// after it too, and a change of them alone is a step.
#pragma once

#include "gui/grid_edit_model.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <vector>

class EditHistory {
public:
    static constexpr std::size_t defaultDepth = 256;

    explicit EditHistory(std::size_t depth = defaultDepth) : maxSteps(depth) {}

    // A stroke: everything recorded between begin and end is one step.
    void beginGroup();
    void endGroup();

    // Adds what apply did to the open group, or as a step of its own. A step
    // in which no cell, outline or setting changed is dropped; a new step
    // ends every redo.
    void record(AppliedChange applied);

    bool canUndo() const { return position > 0; }
    bool canRedo() const { return position < steps.size(); }
    // Takes the model one step back or forward; false when there is none.
    bool undo(GridEditModel& model);
    bool redo(GridEditModel& model);

    // The grid as it stands now is the one in its file.
    void markSaved();
    // The grid differs from its file: a step was done or undone since the
    // mark, or the mark's state can no longer be reached.
    bool modified() const { return !savedReachable || savedPosition != position; }

    // Forgets every step; the grid as it stands is taken as saved or not.
    void clear(bool saved);

    std::size_t undoCount() const { return position; }
    std::size_t redoCount() const { return steps.size() - position; }

private:
    struct Step {
        std::vector<CellState> before;  // one per cell, its state before the step
        std::vector<CellState> after;   // the same cells after it
        std::unique_ptr<Grid> otherGrid;  // a replacement step: the grid not in the model
        bool outlinesChanged = false;     // the outlines before and after the step
        std::vector<BodyOutline> outlinesBefore;
        std::vector<BodyOutline> outlinesAfter;
        bool settingsKept = false;        // the settings below are the step's
        GridSettings settingsBefore;
        GridSettings settingsAfter;
        bool switchesDyeOn = false;       // with the settings' dye band width
    };
    // Whether the step changes anything.
    static bool changes(const Step& step);
    // The cells (and outlines) back as they were before or after the step.
    static GridChange restoringStep(const Step& step, bool after);

    void push(Step step);
    void closePending();
    static void addCells(Step& step, const AppliedChange& applied);
    static void addSettings(Step& step, const AppliedChange& applied);
    static void swapGrid(Step& step, GridEditModel& model, bool after);

    std::size_t maxSteps;
    std::deque<Step> steps;
    std::size_t position = 0;      // steps[0, position) are done
    bool grouping = false;
    Step pending;                  // the open group's cells
    std::size_t savedPosition = 0;
    bool savedReachable = true;
};
