// Undo and redo in the window: the keys, the greyed-out buttons, one step
// per stroke and per accepted setting, the "*" of the title and the
// question before unsaved changes are thrown away.
#include "test_editor.h"

#include "gui/decimal_text.h"
#include "gui/ui_text.h"
#include "io/grid_file.h"

#include <fxkeys.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace {

struct EditorUndo : testing::Test {
    std::unique_ptr<TestEditor> editor{openEditor()};

    int flag(int i, int j) const { return editor->editedGrid().flags[i][j]; }
    void pixelOf(int i, int j, int& x, int& y) const { editor->cellPixel(i, j, x, y); }
    void clickCell(int i, int j)
    {
        int x, y;
        pixelOf(i, j, x, y);
        editor->leftClick(x, y);
        settle();
    }
    // "*Program" without a file, "name.grid* - Program" with one.
    bool starred() const { return editor->getTitle().find('*') >= 0; }
    bool undoOn() const { return editor->undoButton()->isEnabled() && editor->undoMenuCommand()->isEnabled(); }
    bool redoOn() const { return editor->redoButton()->isEnabled() && editor->redoMenuCommand()->isEnabled(); }
    std::string tempGrid() const { return "/tmp/kelvo-undo-" + std::to_string(getpid()) + ".grid"; }
    static double number(const FXTextField* field) { return readDecimal(field->getText().text()); }
    bool carriesDye() const { return editor->editedGrid().scalars.dye; }
    // The grid carries the heat and dye numbers of its settings.
    bool gridCarriesItsSettings() const
    {
        const GridScalars& s = editor->editedGrid().scalars;
        const GridSettings& kept = editor->gridSettings();
        return sameSettings(GridSettings{kept.file, s.heatSettings, s.dyeSettings}, kept);
    }
};

// Every setting of the Simulation page, accepted as the user accepts it
// (Enter, an arrow, a choice), is one step that marks the grid unsaved;
// Undo and Redo bring back the settings, the page showing them, the
// choices remembered for the next start and the dye that a band width
// switches on.
TEST_F(EditorUndo, EachAcceptedSettingIsOneStep)
{
    using Kept = double (*)(const GridSettings&);
    const struct {
        const char* name;
        std::function<void(TestEditor&)> change;
        Kept kept;
    } rows[] = {
        {"Reynolds", [](TestEditor& e) { e.reynolds()->setValue(712.5, TRUE); },
         [](const GridSettings& s) { return s.file.reynolds; }},
        {"Delta Time", [](TestEditor& e) { e.accept(e.deltaTime(), "0.0125"); },
         [](const GridSettings& s) { return s.file.dt.value_or(-1.0); }},
        {"Default U", [](TestEditor& e) { e.defaultU()->setValue(3, TRUE); },
         [](const GridSettings& s) { return s.file.defaultU; }},
        {"Default V", [](TestEditor& e) { e.defaultV()->setValue(5, TRUE); },
         [](const GridSettings& s) { return s.file.defaultV; }},
        {"Convection", [](TestEditor& e) { e.convection()->setCurrentItem(1, TRUE); },
         [](const GridSettings& s) { return double(s.file.convection.value_or(Convection::Designed)); }},
        {"Pressure", [](TestEditor& e) { e.pressure()->setCurrentItem(1, TRUE); },
         [](const GridSettings& s) { return double(s.file.pressure.value_or(PressureSolver(-1))); }},
        {"Initial field", [](TestEditor& e) { e.storedField()->setCheck(TRUE, TRUE); },
         [](const GridSettings& s) { return double(s.file.startsFromStoredField); }},
        {"Prandtl", [](TestEditor& e) { e.accept(e.prandtl(), "7"); },
         [](const GridSettings& s) { return s.heat.prandtl; }},
        {"Rayleigh", [](TestEditor& e) { e.accept(e.rayleigh(), "-1e4"); },
         [](const GridSettings& s) { return s.heat.rayleigh; }},
        {"Gravity", [](TestEditor& e) { e.gravity()->setCurrentItem(2, TRUE); },
         [](const GridSettings& s) { return double(s.heat.gravity); }},
        {"Schmidt", [](TestEditor& e) { e.accept(e.schmidt(), "250"); },
         [](const GridSettings& s) { return s.dye.schmidt; }},
        {"Dye bands", [](TestEditor& e) { e.dyeBands()->setValue(3, TRUE); },
         [](const GridSettings& s) { return double(s.dye.bandWidth); }},
    };
    // The choices shown are the ones remembered for the next start.
    const auto pageShowsThem = [this] {
        FXRegistry& reg = editor->getApp()->reg();
        return sameSettings(editor->shownSettings(), editor->gridSettings()) &&
               reg.readIntEntry("Simulation", "Method", -1) == editor->convection()->getCurrentItem() &&
               reg.readIntEntry("Simulation", "Pressure", -1) == editor->pressure()->getCurrentItem();
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const double before = row.kept(editor->gridSettings());
        ASSERT_FALSE(carriesDye());
        row.change(*editor);
        settle();
        const double after = row.kept(editor->gridSettings());
        EXPECT_NE(after, before);
        EXPECT_TRUE(starred());
        EXPECT_TRUE(gridCarriesItsSettings());
        const bool dyeAfter = carriesDye();
        EXPECT_EQ(dyeAfter, editor->gridSettings().dye.bandWidth > 0) << "dye bands need dye in the grid";
        editor->command(GridEditorWindow::ID_UNDO);
        EXPECT_EQ(row.kept(editor->gridSettings()), before);
        EXPECT_TRUE(pageShowsThem());
        EXPECT_TRUE(gridCarriesItsSettings());
        EXPECT_FALSE(carriesDye());
        EXPECT_FALSE(undoOn());
        EXPECT_FALSE(starred());
        editor->command(GridEditorWindow::ID_REDO);
        EXPECT_EQ(row.kept(editor->gridSettings()), after);
        EXPECT_TRUE(pageShowsThem());
        EXPECT_EQ(carriesDye(), dyeAfter);
        editor->command(GridEditorWindow::ID_UNDO);  // the next row starts from the file's settings
    }
    // A number accepted as it stands is no step.
    editor->accept(editor->prandtl(), "0.710");
    editor->accept(editor->deltaTime(), "0.003");
    EXPECT_FALSE(undoOn());
}

// Settings and cells share one history, undone in the order they were
// done. A setting typed but not accepted is a step before Undo takes it
// back; undoing a load brings back the settings from before it.
TEST_F(EditorUndo, SettingsAndCellsShareOneHistory)
{
    editor->choose(editor->noSlip());
    clickCell(2, 2);
    editor->accept(editor->prandtl(), "7");
    clickCell(3, 2);
    editor->rayleigh()->setText("1e5");  // typed, Enter not pressed
    settle();
    EXPECT_TRUE(starred());
    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_EQ(number(editor->rayleigh()), 0.0);
    EXPECT_EQ(flag(3, 2), CELL_NOSLIP_WALL);
    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_EQ(flag(3, 2), CELL_FLUID);
    EXPECT_EQ(number(editor->prandtl()), 7.0);
    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_EQ(number(editor->prandtl()), 0.71);
    EXPECT_EQ(flag(2, 2), CELL_NOSLIP_WALL);

    editor->reynolds()->setValue(700, TRUE);
    editor->nextFile = tempGrid().c_str();
    editor->command(GridEditorWindow::ID_SAVE_GRID);
    editor->reynolds()->setValue(300, TRUE);
    editor->accept(editor->prandtl(), "3");
    clickCell(5, 5);
    editor->command(GridEditorWindow::ID_LOAD_GRID);
    EXPECT_EQ(editor->reynolds()->getValue(), 700);
    EXPECT_EQ(flag(5, 5), CELL_FLUID);
    EXPECT_FALSE(starred());
    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_EQ(editor->reynolds()->getValue(), 300);
    EXPECT_EQ(number(editor->prandtl()), 3.0);
    EXPECT_EQ(flag(5, 5), CELL_NOSLIP_WALL);
    EXPECT_TRUE(starred());
    std::remove(tempGrid().c_str());
}

TEST_F(EditorUndo, KeysUndoAndRedoAPaintedCellAndTheButtonsFollow)
{
    EXPECT_FALSE(undoOn());
    EXPECT_FALSE(redoOn());
    editor->choose(editor->noSlip());
    clickCell(5, 6);
    ASSERT_EQ(flag(5, 6), CELL_NOSLIP_WALL);
    EXPECT_TRUE(undoOn());
    EXPECT_FALSE(redoOn());

    editor->key(KEY_z, CONTROLMASK);
    EXPECT_EQ(flag(5, 6), CELL_FLUID);
    EXPECT_FALSE(undoOn());
    EXPECT_TRUE(redoOn());
    editor->key(KEY_y, CONTROLMASK);
    EXPECT_EQ(flag(5, 6), CELL_NOSLIP_WALL);
    editor->key(KEY_z, CONTROLMASK);
    editor->key(KEY_Z, CONTROLMASK | SHIFTMASK);
    EXPECT_EQ(flag(5, 6), CELL_NOSLIP_WALL);
    EXPECT_FALSE(redoOn());
    editor->key(KEY_z, 0);  // without Ctrl nothing happens
    EXPECT_EQ(flag(5, 6), CELL_NOSLIP_WALL);
}

TEST_F(EditorUndo, AStrokeIsOneStepAndCalculateItsSettingAndVelocitiesTwoMore)
{
    editor->choose(editor->slip());
    int x0, y0, x1, y1;
    pixelOf(3, 3, x0, y0);
    pixelOf(8, 3, x1, y1);
    editor->leftPress(x0, y0);
    for (int k = 1; k <= 5; ++k)
        editor->motion(x0 + (x1 - x0) * k / 5, y0);
    editor->leftRelease(x1, y1);
    for (int i = 3; i <= 8; ++i)
        ASSERT_EQ(flag(i, 3), CELL_SLIP_WALL) << i;
    editor->defaultU()->setValue(2);
    editor->command(GridEditorWindow::ID_CALCULATE);
    EXPECT_EQ(editor->editedGrid().u[1][1], 2.0);

    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_EQ(editor->editedGrid().u[1][1], 0.0);
    EXPECT_EQ(flag(8, 3), CELL_SLIP_WALL);
    EXPECT_EQ(editor->defaultU()->getValue(), 2);
    editor->command(GridEditorWindow::ID_UNDO);  // the setting, taken in as the run began
    EXPECT_EQ(editor->defaultU()->getValue(), 0);
    EXPECT_EQ(flag(8, 3), CELL_SLIP_WALL);
    editor->command(GridEditorWindow::ID_UNDO);
    for (int i = 3; i <= 8; ++i)
        EXPECT_EQ(flag(i, 3), CELL_FLUID) << i;
    EXPECT_FALSE(undoOn());
}

// The cells painted into a running flow come back into the grid, when the
// user says so, as one step that one undo takes back.
TEST_F(EditorUndo, CellsPaintedIntoTheFlowComeBackAsOneStep)
{
    const std::vector<CellPaint> painted = {{5, 6, CELL_NOSLIP_WALL}, {5, 7, CELL_NOSLIP_WALL},
                                            {6, 7, CELL_SLIP_WALL}, {3, 3, CELL_INFLOW | DIR_EAST, 1.5, 0.0},
                                            {5, 6, CELL_FLUID}};
    editor->copyAnswer = false;
    editor->copyPaintedCells(painted);
    EXPECT_EQ(editor->copyQuestions, 1);
    EXPECT_EQ(flag(5, 7), CELL_FLUID);
    EXPECT_FALSE(undoOn());

    editor->copyAnswer = true;
    editor->copyPaintedCells(painted);
    EXPECT_EQ(flag(5, 6), CELL_FLUID);  // the later paint of the cell wins
    EXPECT_EQ(flag(5, 7), CELL_NOSLIP_WALL);
    EXPECT_EQ(flag(6, 7), CELL_SLIP_WALL);
    EXPECT_EQ(flag(3, 3) & CELL_INFLOW, CELL_INFLOW);
    EXPECT_EQ(editor->editedGrid().u[3][3], 1.5);
    settle();
    EXPECT_TRUE(starred());
    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_EQ(flag(5, 7), CELL_FLUID);
    EXPECT_EQ(flag(6, 7), CELL_FLUID);
    EXPECT_EQ(flag(3, 3), CELL_FLUID);
    EXPECT_FALSE(undoOn());

    editor->copyPaintedCells({});  // nothing painted: no question
    EXPECT_EQ(editor->copyQuestions, 2);
}

// Dye painted into a running flow comes back as the grid's starting dye,
// the cells' types kept, as one step; an undo leaves no dye in them.
TEST_F(EditorUndo, DyePaintedIntoTheFlowComesBackAsOneStep)
{
    const std::vector<DyePaint> dye = {{4, 4}, {5, 4}, {6, 5}};
    editor->copyDyeAnswer = false;
    editor->copyPaintedDye(dye);
    EXPECT_EQ(editor->copyDyeQuestions, 1);
    EXPECT_FALSE(editor->editedGrid().scalars.dye);
    EXPECT_FALSE(undoOn());

    editor->copyDyeAnswer = true;
    editor->copyPaintedDye(dye);
    const GridScalars& scalars = editor->editedGrid().scalars;
    ASSERT_TRUE(scalars.dye);
    for (const DyePaint& cell : dye) {
        EXPECT_EQ(scalars.c[cell.i][cell.j], 1.0) << cell.i << "," << cell.j;
        EXPECT_EQ(flag(cell.i, cell.j), CELL_FLUID);
    }
    EXPECT_EQ(scalars.c[5][5], 0.0);
    editor->command(GridEditorWindow::ID_UNDO);
    for (const DyePaint& cell : dye)
        EXPECT_EQ(editor->editedGrid().scalars.c[cell.i][cell.j], 0.0);
    EXPECT_FALSE(undoOn());

    editor->copyPaintedDye({});  // none painted: no question
    EXPECT_EQ(editor->copyDyeQuestions, 2);
}

TEST_F(EditorUndo, TheTitleIsStarredWhileTheGridDiffersFromItsFile)
{
    EXPECT_FALSE(starred());
    editor->choose(editor->noSlip());
    clickCell(2, 2);
    EXPECT_TRUE(starred());
    editor->nextFile = tempGrid().c_str();
    editor->command(GridEditorWindow::ID_SAVE_GRID);
    EXPECT_FALSE(starred());
    clickCell(3, 2);
    EXPECT_TRUE(starred());
    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_FALSE(starred());  // back to what the file holds
    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_TRUE(starred());
    editor->command(GridEditorWindow::ID_REDO);
    // The settings are saved with the grid, so they count too.
    editor->reynolds()->setValue(700);
    settle();
    EXPECT_TRUE(starred());
    editor->reynolds()->setValue(200);
    settle();
    EXPECT_FALSE(starred());
    std::remove(tempGrid().c_str());
}

TEST_F(EditorUndo, UnsavedChangesAreAskedAboutBeforeTheyAreThrownAway)
{
    // Nothing unsaved: no question.
    runNewGrid(*editor, 30, 25, true);
    EXPECT_EQ(editor->saveQuestions, 0);

    editor->choose(editor->noSlip());
    clickCell(4, 4);
    editor->saveAnswer = SaveAnswer::Cancel;
    const DialogOutcome cancelled = runNewGrid(*editor, 50, 40, true);
    EXPECT_EQ(editor->saveQuestions, 1);
    EXPECT_FALSE(cancelled.seen);
    EXPECT_EQ(editor->editedGrid().NX, 30);
    editor->nextFile = "/nonexistent-folder/x.grid";
    editor->command(GridEditorWindow::ID_LOAD_GRID);
    editor->command(GridEditorWindow::ID_QUIT);  // still running afterwards
    EXPECT_EQ(editor->saveQuestions, 3);
    EXPECT_TRUE(editor->fileDialogs.empty());
    EXPECT_EQ(flag(4, 4), CELL_NOSLIP_WALL);

    // Save: the grid goes to the chosen file first, then New goes ahead.
    editor->saveAnswer = SaveAnswer::Save;
    editor->nextFile = tempGrid().c_str();
    runNewGrid(*editor, 50, 40, true);
    EXPECT_EQ(editor->editedGrid().NX, 50);
    Grid saved;
    GridFileSettings settings;
    ASSERT_EQ(readGridFile(tempGrid(), saved, settings), GridFileStatus::Ok);
    EXPECT_EQ(saved.NX, 30);
    EXPECT_EQ(saved.flags[4][4], CELL_NOSLIP_WALL);

    // Discard, and New is undone as one step.
    clickCell(6, 6);
    editor->saveAnswer = SaveAnswer::Discard;
    runNewGrid(*editor, 20, 20, true);
    EXPECT_EQ(editor->editedGrid().NX, 20);
    editor->command(GridEditorWindow::ID_UNDO);
    EXPECT_EQ(editor->editedGrid().NX, 50);
    EXPECT_EQ(flag(6, 6), CELL_NOSLIP_WALL);
    std::remove(tempGrid().c_str());
}

}  // namespace
