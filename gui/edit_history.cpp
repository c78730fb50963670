#include "gui/edit_history.h"

#include <map>
#include <utility>

namespace {

// Heat and dye count too: a stroke of the dye brush changes nothing else.
bool sameState(const CellState& a, const CellState& b)
{
    return a.word == b.word && a.u == b.u && a.v == b.v && a.holdsTemperature == b.holdsTemperature &&
           a.T == b.T && a.c == b.c;
}

}  // namespace

void EditHistory::beginGroup()
{
    closePending();
    grouping = true;
}

void EditHistory::endGroup()
{
    grouping = false;
    closePending();
}

// A cell met again keeps its first "before" and takes the new "after", so a
// stroke passing a cell many times stores it once.
void EditHistory::addCells(Step& step, const AppliedChange& applied)
{
    if (applied.outlinesChanged) {
        if (!step.outlinesChanged)
            step.outlinesBefore = applied.outlinesBefore;
        step.outlinesChanged = true;
        step.outlinesAfter = applied.outlinesAfter;
    }
    std::map<std::pair<int32_t, int32_t>, std::size_t> index;
    for (std::size_t k = 0; k < step.before.size(); ++k)
        index[{step.before[k].i, step.before[k].j}] = k;
    for (std::size_t k = 0; k < applied.before.size(); ++k) {
        const CellState& before = applied.before[k];
        auto found = index.find({before.i, before.j});
        if (found == index.end()) {
            index[{before.i, before.j}] = step.before.size();
            step.before.push_back(before);
            step.after.push_back(applied.after[k]);
        } else {
            step.after[found->second] = applied.after[k];
        }
    }
}

// The first "before" and the last "after", as for a cell.
void EditHistory::addSettings(Step& step, const AppliedChange& applied)
{
    if (!step.settingsKept)
        step.settingsBefore = applied.settingsBefore;
    step.settingsKept = true;
    step.settingsAfter = applied.settingsAfter;
    step.switchesDyeOn = step.switchesDyeOn || applied.switchedDyeOn;
}

bool EditHistory::changes(const Step& step)
{
    return step.otherGrid || !step.before.empty() || step.outlinesChanged || step.switchesDyeOn ||
           !sameSettings(step.settingsBefore, step.settingsAfter);
}

void EditHistory::record(AppliedChange applied)
{
    if (applied.replaced) {
        closePending();
        Step step;
        step.otherGrid = std::move(applied.replaced);
        addSettings(step, applied);
        push(std::move(step));
        return;
    }
    if (grouping) {
        addCells(pending, applied);
        addSettings(pending, applied);
        return;
    }
    Step step;
    addCells(step, applied);
    addSettings(step, applied);
    push(std::move(step));
}

void EditHistory::closePending()
{
    if (changes(pending))
        push(std::move(pending));
    pending = Step();
}

// Unchanged cells are left out; a step with none is no step.
void EditHistory::push(Step step)
{
    if (!step.otherGrid) {
        Step changed;
        changed.outlinesChanged = step.outlinesChanged;
        changed.outlinesBefore = std::move(step.outlinesBefore);
        changed.outlinesAfter = std::move(step.outlinesAfter);
        changed.settingsKept = step.settingsKept;
        changed.settingsBefore = step.settingsBefore;
        changed.settingsAfter = step.settingsAfter;
        changed.switchesDyeOn = step.switchesDyeOn;
        for (std::size_t k = 0; k < step.before.size(); ++k)
            if (!sameState(step.before[k], step.after[k])) {
                changed.before.push_back(step.before[k]);
                changed.after.push_back(step.after[k]);
            }
        if (!changes(changed))
            return;
        step = std::move(changed);
    }
    if (savedPosition > position)
        savedReachable = false;
    steps.erase(steps.begin() + static_cast<std::ptrdiff_t>(position), steps.end());
    steps.push_back(std::move(step));
    ++position;
    if (steps.size() > maxSteps) {
        steps.pop_front();
        --position;
        if (savedPosition == 0)
            savedReachable = false;
        else
            --savedPosition;
    }
}

GridChange EditHistory::restoringStep(const Step& step, bool after)
{
    GridChange change = GridChange::restoring(after ? step.after : step.before);
    change.setsOutlines = step.outlinesChanged;
    if (step.outlinesChanged)
        change.outlines = after ? step.outlinesAfter : step.outlinesBefore;
    if (step.settingsKept)
        change.settings = after ? step.settingsAfter : step.settingsBefore;
    if (step.switchesDyeOn)
        change.carriesDye = after;
    return change;
}

void EditHistory::swapGrid(Step& step, GridEditModel& model, bool after)
{
    GridChange change = GridChange::restoringGrid(std::move(step.otherGrid));
    if (step.settingsKept)
        change.settings = after ? step.settingsAfter : step.settingsBefore;
    AppliedChange applied = model.apply(std::move(change));
    step.otherGrid = std::move(applied.replaced);
}

bool EditHistory::undo(GridEditModel& model)
{
    endGroup();
    if (!canUndo())
        return false;
    Step& step = steps[--position];
    if (step.otherGrid)
        swapGrid(step, model, false);
    else
        model.apply(restoringStep(step, false));
    return true;
}

bool EditHistory::redo(GridEditModel& model)
{
    endGroup();
    if (!canRedo())
        return false;
    Step& step = steps[position++];
    if (step.otherGrid)
        swapGrid(step, model, true);
    else
        model.apply(restoringStep(step, true));
    return true;
}

void EditHistory::markSaved()
{
    savedPosition = position;
    savedReachable = true;
}

void EditHistory::clear(bool saved)
{
    steps.clear();
    pending = Step();
    grouping = false;
    position = 0;
    savedPosition = 0;
    savedReachable = saved;
}
